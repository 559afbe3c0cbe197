// Draws the pictures the simulated camera records: a machine-readable time
// code, a human-readable clock and a moving pattern, or for a scene card a
// still, noisy scene with scripted objects and lighting.
//
// Time code (read back by tests/support/stamp.h, which documents the layout):
// 16 x 5 cells of 16 x 16 luma pixels at the top-left corner, black (16) for
// 0 and white (235) for 1, most significant bit first, row by row. Row 0 is the
// sync pattern 0xB38E; rows 1..4 hold a 48-bit value followed by the
// CRC-16/CCITT-FALSE of the value's 6 big-endian bytes. The value is the
// capture time in ms since the epoch (UTC), or for a pooled picture
// (1 << 47) | (pool GOP << 16) | frame within the GOP.
#pragma once

#include <cstdint>

namespace cardgen {

constexpr uint16_t kStampSync = 0xB38E;
constexpr int kStampCell = 16;
constexpr int64_t kStampPooledFlag = int64_t(1) << 47;

struct Scene;

struct PictureInfo
{
    int64_t stamp = 0;    // the 48-bit value of the time code
    int64_t motionMs = 0; // drives the moving pattern; the scene's time (UTC) on scene cards
    bool showClock = true;
    int64_t localMs = 0;          // camera local time for the clock (ms since the epoch, shifted)
    const Scene *scene = nullptr; // when set, the scene replaces the moving pattern
};

struct Rect
{
    int x = 0, y = 0, w = 0, h = 0; // pixels
};

// Returns where the time code and the clock go in a picture of width x height
// (the parts of a scene that change with time); the clock's rectangle is
// empty when the picture is too low for it.
void overlayRects(int width, int height, Rect *stamp, Rect *clock);

// Fills a YUV 4:2:0 picture of width x height (both even).
void drawPicture(uint8_t *y, int yStride, uint8_t *u, int uStride, uint8_t *v, int vStride, int width,
                 int height, const PictureInfo &info);

// Breaks ms since the epoch into a civil date and time (proleptic Gregorian).
void civilFromMs(int64_t ms, int *year, int *month, int *day, int *hour, int *minute, int *second);

} // namespace cardgen
