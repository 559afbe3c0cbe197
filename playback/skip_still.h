// SkipStill: "skip still parts" play — while playing, a still stretch of
// the activity index (no picture or sound activity for over 10 s) is jumped
// to its end, with a toast saying how much was skipped. Events only wins
// while both are on.
#pragma once

#include "playback/playback_engine.h"
#include "session/activity_model.h"

#include <QObject>
#include <QPointer>

namespace nivra {

class SkipStill : public QObject
{
    Q_OBJECT
    Q_PROPERTY(nivra::ActivityModel *activity READ activity WRITE setActivity NOTIFY activityChanged)
    Q_PROPERTY(nivra::PlaybackEngine *engine READ engine WRITE setEngine NOTIFY engineChanged)
    Q_PROPERTY(bool active READ isActive WRITE setActive NOTIFY activeChanged)
    // Events only is on: it steers, this waits.
    Q_PROPERTY(bool yielding READ yielding WRITE setYielding NOTIFY yieldingChanged)
    // What the skips of this play skipped, in ms.
    Q_PROPERTY(qlonglong skippedMs READ skippedMs NOTIFY skipped)

public:
    explicit SkipStill(QObject *parent = nullptr);

    ActivityModel *activity() const { return m_activity.data(); }
    void setActivity(ActivityModel *model);
    PlaybackEngine *engine() const { return m_engine.data(); }
    void setEngine(PlaybackEngine *engine);
    bool isActive() const { return m_active; }
    void setActive(bool on);
    bool yielding() const { return m_yielding; }
    void setYielding(bool on);
    qlonglong skippedMs() const { return m_skippedMs; }

signals:
    void activityChanged();
    void engineChanged();
    void activeChanged();
    void yieldingChanged();
    void skipped(qlonglong fromMs, qlonglong toMs);
    void toastRequested(const QString &text);

private:
    void check();

    QPointer<ActivityModel> m_activity;
    QPointer<PlaybackEngine> m_engine;
    QList<QMetaObject::Connection> m_connections;
    bool m_active = false;
    bool m_yielding = false;
    // Our own seek, until the engine lands: no second jump meanwhile.
    qint64 m_target = -1;
    qint64 m_skippedMs = 0;
};

} // namespace nivra
