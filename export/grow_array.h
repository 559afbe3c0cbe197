// The growable arrays of the export core (runs, chapter marks, the frame
// buffer, the MOV/MP4 writer's sample tables): plain malloc'd arrays that
// grow by doubling, so they can sit in C-style records and be released with
// free().
#pragma once

#include <stddef.h>
#include <stdint.h>
#include <stdlib.h>

#include <limits>

// Makes room for at least `wanted` items in *items, which has room for
// *capacity; an array not yet allocated gets at least `first`. The capacity
// doubles (from `first` when it is 0) until it is enough. Returns false,
// changing nothing, when memory runs out or the size overflows.
template <typename T, typename N> bool growArray(T **items, N *capacity, size_t wanted, size_t first)
{
    if (*items && wanted <= size_t(*capacity))
        return true;
    size_t cap = *capacity > 0 ? size_t(*capacity) : first;
    while (cap < wanted) {
        if (cap > (SIZE_MAX / sizeof(T)) / 2)
            return false;
        cap *= 2;
    }
    if (cap > size_t(std::numeric_limits<N>::max()))
        return false;
    T *grown = static_cast<T *>(realloc(*items, cap * sizeof(T)));
    if (!grown)
        return false;
    *items = grown;
    *capacity = N(cap);
    return true;
}
