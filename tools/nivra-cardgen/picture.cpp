#include "picture.h"

#include "checksum.h"
#include "scenario.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace cardgen {

namespace {

void fillRect(uint8_t *plane, int stride, int x, int y, int w, int h, uint8_t value)
{
    for (int r = 0; r < h; ++r)
        std::memset(plane + size_t(y + r) * size_t(stride) + x, value, size_t(w));
}

// Segments a..g of a seven-segment digit, bit 0 = a.
uint8_t segmentsFor(char c)
{
    static const uint8_t digits[10] = {0x3F, 0x06, 0x5B, 0x4F, 0x66, 0x6D, 0x7D, 0x07, 0x7F, 0x6F};
    if (c >= '0' && c <= '9')
        return digits[c - '0'];
    if (c == '-')
        return 0x40;
    return 0;
}

void drawChar(uint8_t *plane, int stride, int x, int y, int w, int h, int t, char c)
{
    const uint8_t on = 235;
    if (c == ':') {
        fillRect(plane, stride, x + w / 2 - t / 2, y + h / 3 - t / 2, t, t, on);
        fillRect(plane, stride, x + w / 2 - t / 2, y + 2 * h / 3 - t / 2, t, t, on);
        return;
    }
    uint8_t s = segmentsFor(c);
    int mid = y + h / 2 - t / 2;
    if (s & 0x01)
        fillRect(plane, stride, x, y, w, t, on); // a
    if (s & 0x02)
        fillRect(plane, stride, x + w - t, y, t, h / 2, on); // b
    if (s & 0x04)
        fillRect(plane, stride, x + w - t, y + h / 2, t, h - h / 2, on); // c
    if (s & 0x08)
        fillRect(plane, stride, x, y + h - t, w, t, on); // d
    if (s & 0x10)
        fillRect(plane, stride, x, y + h / 2, t, h - h / 2, on); // e
    if (s & 0x20)
        fillRect(plane, stride, x, y, t, h / 2, on); // f
    if (s & 0x40)
        fillRect(plane, stride, x, mid, w, t, on); // g
}

void drawStamp(uint8_t *y, int stride, int64_t value)
{
    uint8_t bytes[6];
    for (int i = 0; i < 6; ++i)
        bytes[i] = uint8_t(uint64_t(value) >> (40 - 8 * i));
    uint64_t word = (uint64_t(value) & 0xFFFFFFFFFFFFull) << 16 | crc16(bytes, 6);
    for (int c = 0; c < 16; ++c) {
        bool bit = (kStampSync >> (15 - c)) & 1;
        fillRect(y, stride, c * kStampCell, 0, kStampCell, kStampCell, bit ? 235 : 16);
    }
    for (int i = 0; i < 64; ++i) {
        bool bit = (word >> (63 - i)) & 1;
        int row = 1 + i / 16, col = i % 16;
        fillRect(y, stride, col * kStampCell, row * kStampCell, kStampCell, kStampCell, bit ? 235 : 16);
    }
}

struct ClockLayout
{
    Rect box; // blacked out behind the characters; empty when no clock fits
    int top = 0, charH = 0, cellW = 0, charW = 0, thick = 0;
};

ClockLayout clockLayout(int width, int height)
{
    ClockLayout l;
    l.top = 5 * kStampCell + 8;
    int charH = std::min(height - l.top - 8, std::max(16, height / 6));
    if (charH < 12)
        return l;
    l.cellW = std::min(charH * 7 / 10, (width - 16) / 19);
    l.charW = l.cellW * 4 / 5;
    l.thick = std::max(2, charH / 9);
    l.charH = charH & ~1;
    l.box = Rect{4, l.top - 4, std::min(width - 8, 19 * l.cellW + 8), l.charH + 8};
    return l;
}

uint64_t splitmix64(uint64_t *state)
{
    uint64_t z = (*state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

// The still scene at capture time timeMs. The background is a gentle
// gradient plus a fixed patchwork (tiles not aligned to any grid an index
// might use), so that neighbouring areas differ; its luma of 70..165 leaves
// room for lighting steps of about +-50 before clamping. The noise comes from
// a generator seeded by the time alone, so a rerun writes the same bytes.
void drawScene(uint8_t *y, int stride, int width, int height, const Scene &scene, int64_t timeMs)
{
    constexpr int kTileCols = 12, kTileRows = 8;
    const int tileW = std::max(1, width / kTileCols), tileH = std::max(1, height / kTileRows);
    const int tilesX = width / tileW + 1, tilesY = height / tileH + 1;
    // base[tile row][column]: the gradient across plus the tiles.
    std::vector<int> base(size_t(tilesY) * size_t(width));
    for (int tr = 0; tr < tilesY; ++tr) {
        for (int tc = 0; tc < tilesX; ++tc) {
            uint64_t seed = uint64_t(tr) * uint64_t(tilesX) + uint64_t(tc);
            const int patch = int(splitmix64(&seed) % 31) - 15;
            for (int c = tc * tileW; c < std::min(width, (tc + 1) * tileW); ++c)
                base[size_t(tr) * size_t(width) + size_t(c)] = c * 40 / width + patch;
        }
    }

    int delta = 0;
    for (const LightingStep &step : scene.lighting)
        if (timeMs >= step.atMs)
            delta += step.delta;

    struct Box
    {
        int x0, y0, x1, y1, luma;
    };
    std::vector<Box> boxes;
    for (const SceneObject &ob : scene.objects) {
        if (timeMs < ob.startMs || timeMs >= ob.startMs + ob.lengthMs)
            continue;
        const double f = double(timeMs - ob.startMs) / double(ob.lengthMs);
        const double fx = ob.x + (ob.toX - ob.x) * f, fy = ob.y + (ob.toY - ob.y) * f;
        auto px = [](double v, int size) { return std::clamp(int(std::lround(v * size)), 0, size); };
        boxes.push_back(
            Box{px(fx, width), px(fy, height), px(fx + ob.w, width), px(fy + ob.h, height), ob.luma});
    }

    // Tables instead of arithmetic per pixel: a 12-minute card draws some
    // 2.5 billion pixels. noiseOf maps a random byte to offset + noise,
    // clampOf maps offset + luma to the legal range. With the delta held to
    // +-255 and noise to 40, offset + luma stays within 202..1042.
    constexpr int kOffset = 512;
    delta = std::clamp(delta, -255, 255);
    uint8_t clampOf[3 * kOffset];
    for (int i = 0; i < 3 * kOffset; ++i)
        clampOf[i] = uint8_t(std::clamp(i - kOffset, 16, 235));
    int noiseOf[256];
    for (int b = 0; b < 256; ++b)
        noiseOf[b] = kOffset + (b * (2 * scene.noise + 1) >> 8) - scene.noise;

    uint64_t noiseState = uint64_t(timeMs) ^ 0x6E6F697365ull;
    std::vector<uint8_t> bits(size_t(width + 7) & ~size_t(7), 128);
    for (int r = 0; r < height; ++r) {
        if (scene.noise > 0) {
            for (size_t i = 0; i < bits.size(); i += 8) {
                const uint64_t word = splitmix64(&noiseState);
                for (size_t k = 0; k < 8; ++k)
                    bits[i + k] = uint8_t(word >> (8 * k));
            }
        }
        const int rowBase = 85 + r * 25 / height + delta;
        const int *tiles = base.data() + size_t(r / tileH) * size_t(width);
        uint8_t *out = y + size_t(r) * size_t(stride);
        for (int c = 0; c < width; ++c)
            out[c] = clampOf[rowBase + tiles[c] + noiseOf[bits[size_t(c)]]];
        for (const Box &b : boxes)
            if (r >= b.y0 && r < b.y1)
                for (int c = b.x0; c < b.x1; ++c)
                    out[c] = clampOf[b.luma + delta + noiseOf[bits[size_t(c)]]];
    }
}

} // namespace

void overlayRects(int width, int height, Rect *stamp, Rect *clock)
{
    *stamp = Rect{0, 0, 16 * kStampCell, 5 * kStampCell};
    *clock = clockLayout(width, height).box;
}

void civilFromMs(int64_t ms, int *year, int *month, int *day, int *hour, int *minute, int *second)
{
    int64_t secs = ms >= 0 ? ms / 1000 : (ms - 999) / 1000;
    int64_t days = secs >= 0 ? secs / 86400 : (secs - 86399) / 86400;
    int64_t rem = secs - days * 86400;
    *hour = int(rem / 3600);
    *minute = int(rem % 3600 / 60);
    *second = int(rem % 60);
    // Days to civil date (H. Hinnant's algorithm). The simulator keeps its
    // own copy on purpose: the times it stamps into the pictures are then an
    // independent check of the player's calendar code, not a copy of it.
    int64_t z = days + 719468;
    int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    int64_t doe = z - era * 146097;
    int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    int64_t yy = yoe + era * 400;
    int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    int64_t mp = (5 * doy + 2) / 153;
    *day = int(doy - (153 * mp + 2) / 5 + 1);
    *month = int(mp < 10 ? mp + 3 : mp - 9);
    *year = int(yy + (*month <= 2));
}

void drawPicture(uint8_t *y, int yStride, uint8_t *u, int uStride, uint8_t *v, int vStride, int width,
                 int height, const PictureInfo &info)
{
    if (info.scene) {
        drawScene(y, yStride, width, height, *info.scene, info.motionMs);
    } else {
        // Moving diagonal bands plus a bar that crosses the picture every 8 s.
        int shift = int((info.motionMs / 16) & 0xFFFF);
        for (int r = 0; r < height; ++r) {
            uint8_t *row = y + size_t(r) * size_t(yStride);
            for (int c = 0; c < width; ++c) {
                int band = ((c + r / 2 + shift) >> 3) & 31;
                row[c] = uint8_t(60 + (band < 16 ? band : 31 - band) * 4);
            }
        }
        int barX = int((info.motionMs % 8000) * (width - 16) / 8000);
        fillRect(y, yStride, barX, 0, 16, height, 200);
    }
    for (int c = 0; c < width / 2; ++c)
        u[c] = uint8_t(108 + c * 40 / (width / 2));
    for (int r = 0; r < height / 2; ++r) {
        if (r > 0)
            std::memcpy(u + size_t(r) * size_t(uStride), u, size_t(width / 2));
        std::memset(v + size_t(r) * size_t(vStride), 148 - r * 40 / (height / 2), size_t(width / 2));
    }

    const int codeW = 16 * kStampCell, codeH = 5 * kStampCell;
    drawStamp(y, yStride, info.stamp);
    fillRect(u, uStride, 0, 0, codeW / 2, codeH / 2, 128);
    fillRect(v, vStride, 0, 0, codeW / 2, codeH / 2, 128);

    // The local clock below the code: "YYYY-MM-DD HH:MM:SS", or dashes.
    const ClockLayout l = clockLayout(width, height);
    if (l.box.w <= 0)
        return;
    char text[24];
    if (info.showClock) {
        int yr, mo, d, hh, mm, ss;
        civilFromMs(info.localMs, &yr, &mo, &d, &hh, &mm, &ss);
        static const char digits[] = "0123456789";
        auto put2 = [&](char *p, int n) {
            p[0] = digits[(n / 10) % 10];
            p[1] = digits[n % 10];
        };
        put2(text, yr / 100);
        put2(text + 2, yr % 100);
        text[4] = '-';
        put2(text + 5, mo);
        text[7] = '-';
        put2(text + 8, d);
        text[10] = ' ';
        put2(text + 11, hh);
        text[13] = ':';
        put2(text + 14, mm);
        text[16] = ':';
        put2(text + 17, ss);
    } else {
        std::memcpy(text, "---------- --:--:--", 19);
    }
    fillRect(y, yStride, l.box.x, l.box.y, l.box.w, l.box.h, 16);
    for (int i = 0; i < 19; ++i)
        drawChar(y, yStride, 8 + i * l.cellW, l.top, l.charW, l.charH, l.thick, text[i]);
}

} // namespace cardgen
