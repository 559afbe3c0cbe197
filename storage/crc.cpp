#include "storage/crc.h"

#include <array>

namespace nivra::storage {
namespace {

constexpr std::array<uint32_t, 256> make_crc32_table()
{
    std::array<uint32_t, 256> table{};
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t c = i;
        for (int k = 0; k < 8; ++k)
            c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[i] = c;
    }
    return table;
}

constexpr std::array<uint16_t, 256> make_crc16_table()
{
    std::array<uint16_t, 256> table{};
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t c = i << 8;
        for (int k = 0; k < 8; ++k)
            c = (c & 0x8000) ? (c << 1) ^ 0x1021 : c << 1;
        table[i] = static_cast<uint16_t>(c);
    }
    return table;
}

constexpr auto kCrc32Table = make_crc32_table();
constexpr auto kCrc16Table = make_crc16_table();

} // namespace

uint32_t crc32(const void *data, size_t length)
{
    const auto *p = static_cast<const uint8_t *>(data);
    uint32_t c = 0xFFFFFFFFu;
    for (size_t i = 0; i < length; ++i)
        c = kCrc32Table[(c ^ p[i]) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

uint16_t crc16_ccitt(const void *data, size_t length)
{
    const auto *p = static_cast<const uint8_t *>(data);
    uint16_t c = 0xFFFF;
    for (size_t i = 0; i < length; ++i)
        c = static_cast<uint16_t>((c << 8) ^ kCrc16Table[((c >> 8) ^ p[i]) & 0xFF]);
    return c;
}

} // namespace nivra::storage
