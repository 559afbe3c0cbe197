#include "playback/media_clock.h"

#include <chrono>

namespace nivra {

MediaClock::MediaClock(Now now) : m_now(std::move(now))
{
    if (!m_now) {
        m_now = [] {
            return qint64(std::chrono::duration_cast<std::chrono::nanoseconds>(
                              std::chrono::steady_clock::now().time_since_epoch())
                              .count());
        };
    }
    m_startNs = m_now();
}

qlonglong MediaClock::advancedNs() const
{
    if (!m_running)
        return m_restNs;
    return m_restNs + (m_now() - m_startNs) * m_rate;
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
    m_startNs = m_now();
}

void MediaClock::setBase(qlonglong ms)
{
    m_base = ms;
    m_restNs = 0;
    m_startNs = m_now();
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
