// ActivityModel: the card's activity index as the window uses it. A
// low-priority worker with a card reader of its own builds the index, the
// selected day first and then the other days, newest first; the selected
// day's analysis is handed to the window as it grows, for the timeline's
// strips, the search in an area and skipping the still parts.
#pragma once

#include "activity/analysis.h"
#include "base/worker_thread.h"
#include "session/card_session.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariantList>

#include <atomic>
#include <memory>
#include <vector>

namespace nivra {

// What the window keeps of one analysed day: no grids, only what they said.
struct DayActivity
{
    activity::Analysis analysis;
    std::vector<qint64> stepTimes; // each step's to_ms, in time order
    std::vector<float> stepLevels; // its unmasked change, 0 for lighting
    std::vector<activity::SoundSecond> seconds;
    // Stretches of at least 10 s without picture or sound activity.
    std::vector<std::pair<qint64, qint64>> still;
    int keyframes = 0;
    int holes = 0;
};

// The day's analysis from its pictures and seconds (also for tests).
std::shared_ptr<DayActivity> analyseDay(const activity::Index &index);

class ActivityModel : public QObject
{
    Q_OBJECT
    Q_PROPERTY(nivra::CardSession *card READ card WRITE setCard NOTIFY cardChanged)
    // The selected day, as DayModel gives it.
    Q_PROPERTY(qlonglong dayStart READ dayStart WRITE setDayStart NOTIFY dayChanged)
    Q_PROPERTY(qlonglong dayEnd READ dayEnd WRITE setDayEnd NOTIFY dayChanged)
    // "Analyse recordings in the background": off pauses the worker.
    Q_PROPERTY(bool enabled READ enabled WRITE setEnabled NOTIFY enabledChanged)
    // Where the index is kept; empty for the user's cache folder.
    Q_PROPERTY(QString cacheDir READ cacheDir WRITE setCacheDir NOTIFY cacheDirChanged)
    // The share of the selected day analysed, 0-100, while it is analysed.
    Q_PROPERTY(int progress READ progress NOTIFY progressChanged)
    Q_PROPERTY(bool analysing READ analysing NOTIFY progressChanged)
    // The selected day's index is whole.
    Q_PROPERTY(bool dayAnalysed READ dayAnalysed NOTIFY indexChanged)
    Q_PROPERTY(int keyframes READ keyframes NOTIFY indexChanged)
    Q_PROPERTY(int holes READ holes NOTIFY indexChanged)
    // Goes up whenever what the day's index says changes.
    Q_PROPERTY(int revision READ revision NOTIFY indexChanged)

public:
    explicit ActivityModel(QObject *parent = nullptr);
    ~ActivityModel() override;

    CardSession *card() const { return m_card.data(); }
    void setCard(CardSession *card);
    qlonglong dayStart() const { return m_dayStart; }
    void setDayStart(qlonglong ms);
    qlonglong dayEnd() const { return m_dayEnd; }
    void setDayEnd(qlonglong ms);
    bool enabled() const { return m_enabled; }
    void setEnabled(bool on);
    QString cacheDir() const { return m_cacheDir; }
    void setCacheDir(const QString &dir);
    int progress() const { return m_progress; }
    bool analysing() const { return m_analysing; }
    bool dayAnalysed() const { return m_complete && m_data; }
    int keyframes() const { return m_data ? m_data->keyframes : 0; }
    int holes() const { return m_data ? m_data->holes : 0; }
    int revision() const { return m_revision; }

    // The changes in an area (fractions of the picture) where at least
    // threshold of it changed, newest first, as rows {startMs, endMs,
    // lighting, area}; lighting changes only when asked for.
    Q_INVOKABLE QVariantList findChanges(double x, double y, double w, double h, double threshold,
                                         bool lighting) const;
    // Where the still stretch around ms ends when ms lies in one with more
    // than 2 s of it left; -1 otherwise.
    Q_INVOKABLE qlonglong stillEnd(qlonglong ms) const;

    // For the timeline: the most that changed, 0-1, in the steps between
    // pictures that cover [fromMs, toMs), and the loudest second there (dBFS); -1 where
    // nothing of the span is analysed (-1000 dBFS for the sound).
    float pictureLevel(qint64 fromMs, qint64 toMs) const;
    float soundLevel(qint64 fromMs, qint64 toMs) const;
    // The day's first and last analysed instants (-1 when none).
    qint64 analysedFrom() const;
    qint64 analysedTo() const;

signals:
    void cardChanged();
    void dayChanged();
    void enabledChanged();
    void cacheDirChanged();
    void progressChanged();
    void indexChanged();

private:
    struct Span
    {
        qint64 start = 0;
        qint64 end = 0;
    };
    // What the worker hands back, under the shell's lock.
    struct Result
    {
        int generation = 0;
        qint64 dayStart = -1;
        int progress = 0;
        bool complete = false;
        std::shared_ptr<DayActivity> data;
    };

    // One worker with its card reader: a new card (or cache folder) gets a
    // new one, and the one before finishes its segment on its own time, so
    // that the window never waits for the card.
    struct Run
    {
        WorkerThread shell;
        std::atomic<bool> finished{false};
        // Under the shell's lock: the day the window wants, its generation,
        // and what the worker has for it.
        Span wanted;
        int generation = 0;
        Result result;
        bool resultNew = false;
        // The worker uses the members above: join it before they go (the
        // shell, declared first, would otherwise be destroyed last).
        ~Run() { shell.stop(); }
    };

    void forget();
    void restart();
    void retire();
    void want();
    void take(Run *run);
    static void work(Run *run, const QString &path, const QString &cacheDir, const std::vector<Span> &days,
                     const std::vector<card_range> &ranges);
    std::vector<Span> daysNewestFirst() const;

    QPointer<CardSession> m_card;
    QMetaObject::Connection m_cardConnection;
    qint64 m_dayStart = 0;
    qint64 m_dayEnd = 0;
    bool m_enabled = true;
    QString m_cacheDir;
    int m_progress = 0;
    bool m_analysing = false;
    bool m_complete = false;
    int m_revision = 0;
    std::shared_ptr<DayActivity> m_data;

    bool m_wantQueued = false;
    std::unique_ptr<Run> m_run;
    std::vector<std::unique_ptr<Run>> m_retired;
};

} // namespace nivra
