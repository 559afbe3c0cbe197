#include "base/clock.h"

#include <chrono>

namespace nivra {

qint64 Clock::nowNs() const
{
    return qint64(std::chrono::duration_cast<std::chrono::nanoseconds>(
                      std::chrono::steady_clock::now().time_since_epoch())
                      .count());
}

const Clock &Clock::steady()
{
    static const Clock clock;
    return clock;
}

} // namespace nivra
