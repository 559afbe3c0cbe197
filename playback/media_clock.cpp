#include "playback/media_clock.h"

namespace nivra {

MediaClock::MediaClock(const Clock *clock) : m_clock(clock ? clock : &Clock::steady())
{
    m_startNs = m_clock->nowNs();
}

void MediaClock::setClock(const Clock *clock)
{
    fold();
    m_clock = clock ? clock : &Clock::steady();
    m_startNs = m_clock->nowNs();
}

qlonglong MediaClock::advancedNs() const
{
    if (!m_running)
        return m_restNs;
    return m_restNs + (m_clock->nowNs() - m_startNs) * m_rate;
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
    m_startNs = m_clock->nowNs();
}

void MediaClock::setBase(qlonglong ms)
{
    m_base = ms;
    m_restNs = 0;
    m_startNs = m_clock->nowNs();
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
