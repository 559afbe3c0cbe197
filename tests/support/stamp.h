// Reads the time code that the camera simulator (nivra-cardgen) draws into
// every picture, so a test can prove which recorded picture it is looking at.
//
// Layout: 16 x 5 cells of 16 x 16 luma pixels at the picture's top-left
// corner; a cell is 1 when white, 0 when black; bits run most significant
// first, row by row. Row 0 holds the sync pattern 0xB38E. Rows 1..4 hold a
// 48-bit value followed by the CRC-16/CCITT-FALSE (polynomial 0x1021, initial
// 0xFFFF) of the value's 6 bytes, most significant byte first.
//
// The value is the capture time in ms since the epoch (UTC), the same time
// the card's frame header carries. In pooled recordings (GOPs encoded once
// and reused) it is instead (1 << 47) | (pool GOP << 16) | frame within the
// GOP: the n-th pooled GOP of a card, counted in time order over the whole
// recording history, uses pool GOP n mod poolGops; its k-th picture has
// frame k.
#pragma once

#include <cstdint>

namespace nivra::test {

constexpr int64_t kStampPooledFlag = int64_t(1) << 47;

// Returns true and the 48-bit value in *value when the picture (8-bit luma,
// full or limited range) carries a valid code; false when it does not.
bool readStamp(const uint8_t *y, int stride, int width, int height, int64_t *value);

// Pooled values: true for a pooled picture; its pool GOP and frame.
inline bool stampIsPooled(int64_t value)
{
    return (value & kStampPooledFlag) != 0;
}
inline int stampPoolGop(int64_t value)
{
    return int((value & ~kStampPooledFlag) >> 16);
}
inline int stampPoolFrame(int64_t value)
{
    return int(value & 0xFFFF);
}

} // namespace nivra::test
