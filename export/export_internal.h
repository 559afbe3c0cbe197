// What the export writer's planning (range_plan.cpp) and copying
// (export_writer.cpp) share; not part of the export core's interface.
#pragma once

#include <stdint.h>

#include "export/civil_time.h"

// Recordings at most this far apart form one run, and a keyframe up to this
// far past a run's end still belongs to it.
constexpr int64_t kRunJoinMs = 3000;

// Returns the UTC second of a ms time, clamped to the card's 32-bit seconds.
inline uint32_t clampSecond(int64_t ms)
{
    const int64_t s = ms / 1000;
    return s < 0 ? 0 : s > 0xFFFFFFFFll ? 0xFFFFFFFFu : uint32_t(s);
}

// Returns the local date and time of a UTC ms time at offsetSec, the
// milliseconds dropped (floor, also before 1970).
inline CivilTime localTime(int64_t utcMs, int64_t offsetSec)
{
    int64_t s = utcMs / 1000;
    if (utcMs < 0 && utcMs % 1000 != 0)
        s -= 1;
    return civilFromSeconds(s + offsetSec);
}
