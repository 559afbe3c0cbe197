// CardSession: one opened recording directory as QML sees it — opening,
// the chunk list, time-mode aware dates and clocks, calendar, event and
// keyframe queries, the export plan and the descriptive texts.
#pragma once

#include "export/export_writer.h"
#include "storage/card.h"

#include <QObject>
#include <QString>
#include <QUrl>
#include <QVariantList>
#include <QVariantMap>

#include <vector>

namespace nivra {

class CardSession : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool isOpen READ isOpen NOTIFY changed)
    Q_PROPERTY(QString path READ path NOTIFY changed)
    Q_PROPERTY(QString errorString READ errorString NOTIFY changed)
    Q_PROPERTY(QVariantList chunks READ chunks NOTIFY changed)
    Q_PROPERTY(QString streamInfo READ streamInfo NOTIFY changed)
    Q_PROPERTY(QString videoCodecName READ videoCodecName NOTIFY changed)
    Q_PROPERTY(QString audioInfo READ audioInfo NOTIFY changed)
    Q_PROPERTY(bool hasAudio READ hasAudio NOTIFY changed)
    Q_PROPERTY(bool g711Audio READ g711Audio NOTIFY changed)
    Q_PROPERTY(qlonglong firstPlayableMs READ firstPlayableMs NOTIFY changed)
    Q_PROPERTY(qlonglong lastPlayableMs READ lastPlayableMs NOTIFY changed)
    Q_PROPERTY(int timeMode READ timeMode WRITE setTimeMode NOTIFY timeModeChanged)
    Q_PROPERTY(QVariantMap info READ info NOTIFY changed)

public:
    enum TimeMode
    {
        RecordingTime = 0,
        ComputerTime = 1
    };
    Q_ENUM(TimeMode)

    explicit CardSession(QObject *parent = nullptr);
    ~CardSession() override;

    bool isOpen() const { return m_card != nullptr; }
    QString path() const { return m_path; }
    QString errorString() const { return m_errorString; }
    QVariantList chunks() const { return m_chunks; }
    QString streamInfo() const;
    QString videoCodecName() const;
    QString audioInfo() const;
    bool hasAudio() const;
    bool g711Audio() const;
    qlonglong firstPlayableMs() const;
    qlonglong lastPlayableMs() const;
    int timeMode() const { return m_timeMode; }
    void setTimeMode(int mode);
    QVariantMap info() const;

    // Opening and closing.
    Q_INVOKABLE bool open(const QUrl &folder);
    Q_INVOKABLE bool openPath(const QString &localPath);
    Q_INVOKABLE void close();
    Q_INVOKABLE bool reload();
    // The recording directories a folder holds (itself, or up to two levels
    // below it), in the order openPath searches them; at most 50.
    Q_INVOKABLE QStringList findCards(const QString &localPath) const;
    static constexpr int kMaxCardsListed = 50;
    // Whether a folder lies on the open card: inside its recording
    // directory, or inside the folder that was opened to find it (links
    // followed). Nothing is ever written there.
    Q_INVOKABLE bool holdsFolder(const QString &folder) const;
    // Why a card this user may not read cannot be opened.
    static QString permissionText(const QString &path);

    // Times, dates and clocks in the current time mode.
    Q_INVOKABLE QString formatTime(qlonglong utcMs, bool withDate = true) const;
    Q_INVOKABLE QString formatClock(qlonglong utcMs, bool withSeconds) const;
    Q_INVOKABLE QString formatClockMs(qlonglong utcMs) const;
    Q_INVOKABLE QString formatDate(qlonglong utcMs) const;
    Q_INVOKABLE QString formatInputTime(qlonglong utcMs) const;
    // formatTime with the date wholly in the system locale, whatever the
    // interface language: script mode's log, which tools read.
    Q_INVOKABLE QString formatLogTime(qlonglong utcMs) const;
    Q_INVOKABLE qlonglong parseInputTime(const QString &text) const;
    // As parseInputTime, but a wall time that the clock shows twice (the
    // hour a clock change repeats) means the occurrence nearer nearMs.
    Q_INVOKABLE qlonglong parseInputTimeNear(const QString &text, qlonglong nearMs) const;
    // Whether the clock shows the wall time of utcMs twice that day.
    Q_INVOKABLE bool isRepeatedTime(qlonglong utcMs) const;
    Q_INVOKABLE QString offsetLabel(qlonglong utcMs) const;
    Q_INVOKABLE int offsetMinutesAt(qlonglong utcMs) const;
    Q_INVOKABLE QVariantMap dateOf(qlonglong utcMs) const;
    Q_INVOKABLE qlonglong dayStartMs(int year, int month, int day) const;
    // The next day's start after the day starting at dayStartMs: a day runs
    // from its midnight to the next, 23, 24 or 25 hours.
    Q_INVOKABLE qlonglong dayEndMs(qlonglong dayStartMs) const;

    // Calendar, day, event and keyframe queries.
    Q_INVOKABLE QVariantList daysInMonth(int year, int month) const;
    // The days of a month whose recordings all lie on missing files.
    Q_INVOKABLE QVariantList missingDaysInMonth(int year, int month) const;
    Q_INVOKABLE QVariantList eventDaysInMonth(int year, int month);
    Q_INVOKABLE QVariantList dayChunks(qlonglong dayStartMs);
    Q_INVOKABLE int kindAt(qlonglong utcMs) const;
    Q_INVOKABLE qlonglong nextPlayableStart(qlonglong utcMs) const;
    // The latest usable key frame at or before utcMs within its recording
    // (-1: none in the minute before it).
    Q_INVOKABLE qlonglong keyframeAtOrBefore(qlonglong utcMs);
    // The one key-frame search: the latest usable key frame at or before
    // utcMs, or strictly before it; within the minute before the time (every
    // group of pictures is shorter), and with acrossGaps on behind a gap, at
    // the end of the recording before it. -1 when there is none.
    qlonglong keyframeSearch(qlonglong utcMs, bool strictlyBefore, bool acrossGaps);
    Q_INVOKABLE QVariantList eventsBetween(qlonglong fromMs, qlonglong toMs);
    // The first playable event with one of the kinds (0: any) that is still
    // going on at fromMs or starts after it, starting before untilMs (< 0:
    // no limit), as eventsBetween gives it; an empty map when there is none.
    Q_INVOKABLE QVariantMap nextEvent(qlonglong fromMs, int kinds = 0, qlonglong untilMs = -1);

    // What a selected range would export.
    Q_INVOKABLE QVariantMap exportPlan(qlonglong fromMs, qlonglong toMs, int format = 0);
    // What exporting each event of kinds that starts in [fromMs, toMs] as a
    // file of its own would write, padded by padSeconds on both sides:
    // { ok, pieces: [{startMs, endMs, events, missing}], events, skipped,
    //   bytes, durationMs, names }; ok is missing when nothing would be.
    Q_INVOKABLE QVariantMap eventExportPlan(qlonglong fromMs, qlonglong toMs, int kinds, int padSeconds,
                                            int format = 0);

    // For the other back-end objects (playback, export job, timeline item).
    card_reader *reader() const { return m_card; }
    const std::vector<card_range> &chunkRecords() const { return m_ranges; }
    const card_stream &stream() const { return m_stream; }
    // Offset from UTC in seconds at utcMs, in the current time mode.
    int offsetSecondsAt(qlonglong utcMs) const;
    // Where the UTC offset changes between fromMs and toMs, in the clock of
    // the time mode: each instant with the new offset's label.
    struct OffsetChange
    {
        qint64 t = 0;
        QString label;
    };
    std::vector<OffsetChange> offsetChanges(qint64 fromMs, qint64 toMs) const;
    std::vector<card_event> eventRecords(qlonglong fromMs, qlonglong toMs);
    std::vector<card_keyframe> keyframeRecords(qlonglong fromMs, qlonglong toMs);
    // The files of an event batch export (see eventExportPlan); *skipped
    // gets the events with nothing recorded. Empty on failure.
    std::vector<ExportEventPiece> eventPieces(qlonglong fromMs, qlonglong toMs, int kinds, int padSeconds,
                                              int *skipped = nullptr);

signals:
    void aboutToClose();
    void changed();
    void timeModeChanged();

private:
    // The instants whose wall clock, in the time mode, reads wallMs (the
    // local time as if UTC), in time order.
    QList<qint64> wallTimeInstants(qint64 wallMs) const;
    qint64 displayWallMs(qint64 utcMs) const;

    void releaseCard();
    qint64 localMidnight(int year, int month, int day) const;
    qint64 recordingLocalToUtc(qint64 asUtcMs) const;

    card_reader *m_card = nullptr;
    QString m_path;
    QString m_openedPath; // the folder the user opened (m_path or above it)
    QString m_errorString;
    std::vector<card_range> m_ranges;
    QVariantList m_chunks;
    card_stream m_stream{};
    int m_timeMode = RecordingTime;
};

} // namespace nivra
