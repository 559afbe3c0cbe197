#include "picture.h"

#include "checksum.h"

#include <algorithm>
#include <cstring>

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

} // namespace

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
    for (int r = 0; r < height / 2; ++r) {
        for (int c = 0; c < width / 2; ++c) {
            u[size_t(r) * size_t(uStride) + c] = uint8_t(108 + c * 40 / (width / 2));
            v[size_t(r) * size_t(vStride) + c] = uint8_t(148 - r * 40 / (height / 2));
        }
    }

    const int codeW = 16 * kStampCell, codeH = 5 * kStampCell;
    drawStamp(y, yStride, info.stamp);
    fillRect(u, uStride, 0, 0, codeW / 2, codeH / 2, 128);
    fillRect(v, vStride, 0, 0, codeW / 2, codeH / 2, 128);

    // The local clock below the code: "YYYY-MM-DD HH:MM:SS", or dashes.
    int top = codeH + 8;
    int charH = std::min(height - top - 8, std::max(16, height / 6));
    if (charH < 12)
        return;
    int cellW = std::min(charH * 7 / 10, (width - 16) / 19);
    int charW = cellW * 4 / 5;
    int thick = std::max(2, charH / 9);
    charH &= ~1;
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
    fillRect(y, yStride, 4, top - 4, std::min(width - 8, 19 * cellW + 8), charH + 8, 16);
    for (int i = 0; i < 19; ++i)
        drawChar(y, yStride, 8 + i * cellW, top, charW, charH, thick, text[i]);
}

} // namespace cardgen
