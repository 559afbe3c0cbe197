#include "stamp.h"

namespace nivra::test {

namespace {

constexpr int kCell = 16;
constexpr unsigned kSync = 0xB38E;

// Mean of the inner 8 x 8 pixels of a cell, away from blurred edges.
int cellBit(const uint8_t *y, int stride, int row, int col)
{
    unsigned sum = 0;
    for (int r = 4; r < 12; ++r) {
        const uint8_t *p = y + (row * kCell + r) * stride + col * kCell + 4;
        for (int c = 0; c < 8; ++c)
            sum += p[c];
    }
    return sum / 64 >= 128 ? 1 : 0;
}

uint16_t crc16Ccitt(const uint8_t *data, int len)
{
    uint16_t crc = 0xFFFF;
    for (int i = 0; i < len; ++i) {
        crc ^= uint16_t(data[i] << 8);
        for (int b = 0; b < 8; ++b)
            crc = (crc & 0x8000) ? uint16_t((crc << 1) ^ 0x1021) : uint16_t(crc << 1);
    }
    return crc;
}

} // namespace

bool readStamp(const uint8_t *y, int stride, int width, int height, int64_t *value)
{
    if (!y || !value || width < 16 * kCell || height < 5 * kCell || stride < width)
        return false;
    unsigned sync = 0;
    for (int c = 0; c < 16; ++c)
        sync = (sync << 1) | unsigned(cellBit(y, stride, 0, c));
    if (sync != kSync)
        return false;
    uint64_t word = 0;
    for (int i = 0; i < 64; ++i)
        word = (word << 1) | uint64_t(cellBit(y, stride, 1 + i / 16, i % 16));
    const uint64_t v = word >> 16;
    uint8_t bytes[6];
    for (int i = 0; i < 6; ++i)
        bytes[i] = uint8_t(v >> (40 - 8 * i));
    if (crc16Ccitt(bytes, 6) != uint16_t(word & 0xFFFF))
        return false;
    *value = int64_t(v);
    return true;
}

} // namespace nivra::test
