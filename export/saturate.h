// The one saturating clamp of the writers: 32-bit box fields (sizes, counts,
// durations, bit rates, dates) and the card's 32-bit seconds.
#pragma once

#include <stdint.h>

#include <type_traits>

// Returns v clamped to 0..0xFFFFFFFF.
template <typename T> constexpr uint32_t saturate32(T v)
{
    static_assert(std::is_integral_v<T>, "an integer");
    if constexpr (std::is_signed_v<T>) {
        if (v < 0)
            return 0;
    }
    return static_cast<uint64_t>(v) > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<uint32_t>(v);
}
