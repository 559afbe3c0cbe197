#include "playback/media_clock.h"

namespace nivra {

qlonglong MediaClock::advancedNs() const
{
    if (!m_running || !m_timer.isValid())
        return m_restNs;
    return m_restNs + m_timer.nsecsElapsed() * m_rate;
}

qlonglong MediaClock::value() const
{
    return m_base + advancedNs() / 1000000;
}

void MediaClock::fold()
{
    const qlonglong ns = advancedNs();
    m_base += ns / 1000000;
    // The sub-millisecond rest is carried so that repeated folds lose nothing.
    m_restNs = ns % 1000000;
    m_timer.start();
}

void MediaClock::setBase(qlonglong ms)
{
    m_base = ms;
    m_restNs = 0;
    m_timer.start();
}

void MediaClock::setRunning(bool running)
{
    if (running == m_running)
        return;
    fold();
    m_running = running;
}

void MediaClock::setRate(int rate)
{
    if (rate == m_rate)
        return;
    fold();
    m_rate = rate;
}

} // namespace nivra
