#include "playback/skip_still.h"

#include "session/duration_text.h"

#include <QCoreApplication>

namespace nivra {

SkipStill::SkipStill(QObject *parent) : QObject(parent)
{}

void SkipStill::setActivity(ActivityModel *model)
{
    if (model == m_activity)
        return;
    if (m_activity)
        disconnect(m_activity, nullptr, this, nullptr);
    m_activity = model;
    // A day's analysis that arrives while playing a still part counts too.
    if (model)
        connect(model, &ActivityModel::indexChanged, this, &SkipStill::check);
    emit activityChanged();
}

void SkipStill::setEngine(PlaybackEngine *engine)
{
    if (engine == m_engine)
        return;
    for (const QMetaObject::Connection &c : m_connections)
        disconnect(c);
    m_connections.clear();
    m_engine = engine;
    if (engine) {
        m_connections << connect(engine, &PlaybackEngine::positionChanged, this, &SkipStill::check)
                      << connect(engine, &PlaybackEngine::seeked, this, [this] { m_target = -1; });
    }
    emit engineChanged();
}

void SkipStill::setActive(bool on)
{
    if (on == m_active)
        return;
    m_active = on;
    m_target = -1;
    m_skippedMs = 0;
    emit activeChanged();
    check();
}

void SkipStill::setYielding(bool on)
{
    if (on == m_yielding)
        return;
    m_yielding = on;
    emit yieldingChanged();
    check();
}

void SkipStill::check()
{
    if (!m_active || m_yielding || !m_engine || !m_activity || !m_engine->isPlaying() || m_target >= 0)
        return;
    const qint64 at = m_engine->position();
    const qint64 end = m_activity->stillEnd(at);
    if (end < 0)
        return;
    m_target = end;
    m_skippedMs += end - at;
    m_engine->seek(end, false);
    emit skipped(at, end);
    emit toastRequested(
        QCoreApplication::translate("SkipStill", "Skipped %1 of still video").arg(durationText(end - at)));
}

} // namespace nivra
