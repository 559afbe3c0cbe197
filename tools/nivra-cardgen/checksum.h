// Checksums of the camera's on-card records.
#pragma once

#include <cstddef>
#include <cstdint>

namespace cardgen {

// Returns the CRC-32 (zlib/IEEE, reflected 0xEDB88320) of `len` bytes.
uint32_t crc32(const uint8_t *data, size_t len);

// Returns the CRC-16/CCITT-FALSE (0x1021, init 0xFFFF, no reflection) of `len` bytes.
uint16_t crc16(const uint8_t *data, size_t len);

} // namespace cardgen
