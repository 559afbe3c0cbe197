// Checksums of the card format.
#pragma once

#include <stddef.h>
#include <stdint.h>

namespace nivra::storage {

// Returns the CRC-32 (zlib/IEEE, reflected 0xEDB88320, init and final XOR
// 0xFFFFFFFF) of the bytes.
uint32_t crc32(const void *data, size_t length);

// Returns the CRC-16/CCITT-FALSE (polynomial 0x1021, init 0xFFFF, MSB first,
// no final XOR) of the bytes.
uint16_t crc16_ccitt(const void *data, size_t length);

} // namespace nivra::storage
