// ExportJob: runs one export at a time on a worker thread for QML and
// offers the folder helpers of the export panel and the settings dialog.
#pragma once

#include "base/clock.h"
#include "base/worker_thread.h"
#include "export/export_writer.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <functional>
#include <vector>

namespace nivra {

class Bookmarks;
class CardSession;

class ExportJob : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool running READ running NOTIFY runningChanged)
    Q_PROPERTY(double progress READ progress NOTIFY progressChanged)
    Q_PROPERTY(qint64 doneBytes READ doneBytes NOTIFY progressChanged)
    Q_PROPERTY(qint64 totalBytes READ totalBytes NOTIFY progressChanged)
    Q_PROPERTY(int etaSec READ etaSec NOTIFY progressChanged)
    Q_PROPERTY(QStringList files READ files NOTIFY filesChanged)
    Q_PROPERTY(QString folder READ folder NOTIFY runningChanged)
    // Set before start: an evidence package (report.html, SHA256SUMS) is
    // written beside the files of an export that succeeds.
    Q_PROPERTY(bool evidence READ evidence WRITE setEvidence NOTIFY evidenceChanged)
    // Whether this build can write one.
    Q_PROPERTY(bool evidenceAvailable READ evidenceAvailable CONSTANT)
    // Set before start: the camera's clock burned into the picture, and the
    // smaller copy for sharing (one MP4, H.264 at 720p at most, AAC, under
    // shareMb MB); both re-code the video. Whether this build can.
    Q_PROPERTY(bool burnTime READ burnTime WRITE setBurnTime NOTIFY recodingChanged)
    Q_PROPERTY(bool shareCopy READ shareCopy WRITE setShareCopy NOTIFY recodingChanged)
    Q_PROPERTY(int shareMb READ shareMb WRITE setShareMb NOTIFY recodingChanged)
    Q_PROPERTY(bool recodeAvailable READ recodeAvailable CONSTANT)
    // Whose bookmarks an evidence package lists (a Bookmarks).
    Q_PROPERTY(QObject *bookmarks READ bookmarks WRITE setBookmarks NOTIFY evidenceChanged)

public:
    enum Status
    {
        Done = 0,
        Cancelled = 1,
        Failed = 2,
        Nothing = 3
    };
    Q_ENUM(Status)

    explicit ExportJob(QObject *parent = nullptr);
    ~ExportJob() override;

    // The clock of the elapsed time and the time left (null: the steady
    // one); it outlives the job. Set between exports.
    void setClock(const Clock *clock) { m_clock = clock ? clock : &Clock::steady(); }

    bool running() const { return m_running; }
    double progress() const;
    qint64 doneBytes() const { return m_doneBytes; }
    qint64 totalBytes() const { return m_totalBytes; }
    int etaSec() const { return m_etaSec; }
    QStringList files() const { return m_files; }
    QString folder() const { return m_folder; }
    bool evidence() const { return m_evidence; }
    void setEvidence(bool on);
    static bool evidenceAvailable();
    QObject *bookmarks() const;
    void setBookmarks(QObject *bookmarks);
    bool burnTime() const { return m_burnTime; }
    void setBurnTime(bool on);
    bool shareCopy() const { return m_shareCopy; }
    void setShareCopy(bool on);
    int shareMb() const { return m_shareMb; }
    void setShareMb(int mb);
    static bool recodeAvailable();
    // The sizes a share copy may be kept under, in MB.
    Q_INVOKABLE static QList<int> shareSizes();
    // Empty when a share copy of durationMs fits into mb MB; else why not.
    Q_INVOKABLE static QString shareRefusal(qint64 durationMs, int mb);

    // timeTrack adds the camera's clock as a subtitle track.
    Q_INVOKABLE bool start(nivra::CardSession *card, qint64 fromMs, qint64 toMs, bool merge, bool audio,
                           const QString &dir, qint64 estimatedBytes, int format = 0, bool timeTrack = false);
    // Exports each event of kinds that starts in [fromMs, toMs] as a file
    // of its own, padded by padSeconds on both sides, overlapping ones as
    // one file. False (and finished with Nothing) when there is none.
    Q_INVOKABLE bool startEvents(nivra::CardSession *card, qint64 fromMs, qint64 toMs, int kinds,
                                 int padSeconds, bool audio, const QString &dir, int format = 0,
                                 bool timeTrack = false);
    Q_INVOKABLE void cancel();
    // What the last export that ended said beyond its status (the sound left
    // out, damaged frames, runs of recording not written whole, why it
    // failed), in the interface language of the moment; empty when there is
    // nothing to say.
    Q_INVOKABLE QString outcomeText() const;
    // Why an export folder on the card is refused.
    Q_INVOKABLE static QString folderOnCardText();

    Q_INVOKABLE qint64 freeBytes(const QString &dir) const;
    Q_INVOKABLE void reveal(const QString &path) const;
    Q_INVOKABLE QString defaultFolder() const;
    Q_INVOKABLE QString nativePath(const QString &path) const;
    Q_INVOKABLE QString localPath(const QUrl &url) const;
    Q_INVOKABLE QUrl folderUrl(const QString &path) const;

signals:
    void runningChanged();
    void progressChanged();
    void filesChanged();
    void evidenceChanged();
    void recodingChanged();
    void finished(int status, const QString &message, int files);

private:
    struct Task;
    // What the worker has reported and the GUI thread has not taken yet.
    struct HandOver
    {
        bool progress = false;
        qint64 done = 0;
        qint64 total = 0;
        QStringList files;
        bool finished = false;
        int code = 0;
        QString message;
        bool audioLeftOut = false;
        int fileCount = 0;
        quint64 skippedFrames = 0;
        std::vector<ExportLostRun> lost; // runs not written whole, in time order
        int evidenceCode = 0;            // the package's, when one was asked for
        QString evidenceMessage;         // the path its failure concerns
    };
    bool launch(CardSession *card, Task task, const QString &dir);
    static void runTask(ExportJob *job, const Task &task);
    static qint64 longestPiece(const Task &task);
    // The time of a lost run's end in the card's time mode.
    QString clockText(qint64 utcMs) const;
    void handOver(const std::function<void(HandOver &)> &update);
    void takeHandOver();
    void onProgress(qint64 done, qint64 total);
    void onFileDone(const QString &path);
    void onFinished(const HandOver &hand);
    void onCardClosing();

    QPointer<CardSession> m_card;
    // Its stop flag is the cancel: the writer sees it and cleans up.
    WorkerThread m_shell;
    // Guarded by the shell's lock: what the worker has reported and the GUI
    // thread has not taken yet, and the finished files on both sides. The
    // worker waits after each file until the GUI thread has delivered it or
    // a cancel comes.
    HandOver m_hand;
    int m_filesReported = 0;
    int m_filesDelivered = 0;
    // Worker thread only: when progress was last handed back, by the steady
    // clock (a test's clock may stand still; the pace must not).
    qint64 m_progressHandedNs = 0;
    bool m_running = false;
    qint64 m_doneBytes = 0;
    qint64 m_totalBytes = 0;
    int m_etaSec = -1;
    // The elapsed time and the time left are read on this clock.
    const Clock *m_clock = &Clock::steady();
    qint64 m_startedNs = 0;
    QStringList m_files;
    QString m_folder;
    // The last export's outcome, for outcomeText().
    HandOver m_outcome;
    bool m_evidence = false;
    bool m_burnTime = false;
    bool m_shareCopy = false;
    int m_shareMb;     // the default size until set
    QString m_refusal; // why the last start was refused before it began
    QPointer<Bookmarks> m_bookmarks;
    bool m_outcomeCancelled = false;
    QString m_unmadeFolder;      // the folder the last start could not make
    bool m_folderOnCard = false; // the last start was refused: its folder is on the card
};

// Returns the seconds left of an export after a progress report: known once
// 1.5 s have passed (linear in the bytes read), 0 once the expected total is
// reached, otherwise the previous value.
int exportEtaSeconds(qint64 doneBytes, qint64 totalBytes, qint64 elapsedMs, int previous);

// Shows path (native separators) selected in the system's file manager.
void revealInFileManager(const QString &path);

} // namespace nivra
