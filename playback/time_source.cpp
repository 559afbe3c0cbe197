#include "playback/time_source.h"

namespace nivra {

TimeSource::TimeSource(QObject *parent) : QObject(parent)
{
    m_timer.setTimerType(Qt::PreciseTimer);
    m_timer.setInterval(kBeatMs);
    connect(&m_timer, &QTimer::timeout, this, &TimeSource::beat);
}

void TimeSource::setBeating(bool beating)
{
    if (beating == m_timer.isActive())
        return;
    if (beating)
        m_timer.start();
    else
        m_timer.stop();
}

bool TimeSource::isBeating() const
{
    return m_timer.isActive();
}

} // namespace nivra
