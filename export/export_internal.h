// What the export writer's planning (range_plan.cpp) and copying
// (export_writer.cpp) share; not part of the export core's interface.
#pragma once

#include <stdint.h>

#include "export/saturate.h"
#include "storage/civil_time.h"

// Recordings at most this far apart form one run, and a keyframe up to this
// far past a run's end still belongs to it.
constexpr int64_t kRunJoinMs = 3000;

// Returns the UTC second of a ms time, clamped to the card's 32-bit seconds.
inline uint32_t clampSecond(int64_t ms)
{
    return saturate32(ms / 1000);
}

// Returns the local date and time of a UTC ms time at offsetSec, the
// milliseconds dropped (floor, also before 1970).
inline CivilTime localTime(int64_t utcMs, int64_t offsetSec)
{
    return civilFromSeconds(floorDivide(utcMs, 1000) + offsetSec);
}
