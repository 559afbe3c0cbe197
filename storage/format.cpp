// Parsers of the on-card records shared by the reader, the cursor and the
// index queries.
#include "storage/card_internal.h"
#include "storage/crc.h"

#include <stdio.h>

namespace nivra::storage {

SegmentEntry parse_segment_entry(const uint8_t *p)
{
    SegmentEntry e;
    e.first = le32(p);
    e.last = le32(p + 4);
    e.number = le16(p + 8);
    e.state = p[10];
    e.event_flag = p[11];
    return e;
}

bool segment_path(const char *dir, uint16_t number, char *out, size_t out_size)
{
    int n = snprintf(out, out_size, "%s/seg_%03u.dat", dir, static_cast<unsigned>(number));
    return n > 0 && static_cast<size_t>(n) < out_size;
}

namespace {

IndexEntry parse_index_entry(const uint8_t *p)
{
    IndexEntry e;
    e.second = le32(p);
    e.frame_offset = le32(p + 4);
    e.ms = le16(p + 8);
    e.flags = p[10];
    e.kinds = le16(p + 12);
    e.offset_min = static_cast<int16_t>(le16(p + 14));
    return e;
}

} // namespace

uint32_t read_index_block(FileHandle index_file, int64_t index_size, const IndexLayout &layout,
                          uint16_t number, IndexEntry *entries, bool first_only, bool *read_failed)
{
    bool failed_scratch = false;
    bool &failed = read_failed ? *read_failed : failed_scratch;
    failed = false;
    if (index_file == kNoFile || number >= layout.slot_count)
        return 0;
    // A short read of bytes the file has is a failure; past its end, the
    // block simply is not there.
    auto read_exact = [&](uint64_t at, void *buffer, size_t length) {
        const int64_t n = file_read_at(index_file, at, buffer, length);
        if (n == static_cast<int64_t>(length))
            return true;
        failed = n < 0 || (index_size >= 0 && at + length <= static_cast<uint64_t>(index_size));
        return false;
    };
    // The block offset is computed in 32 bits, as the camera computes it; a
    // wrapped offset simply points elsewhere in (or past) the file.
    uint32_t offset = layout.block0_offset + static_cast<uint32_t>(number) * layout.block_stride;
    uint8_t header[kBlockHeaderSize];
    if (!read_exact(offset, header, sizeof header))
        return 0;
    if (le32(header) != kBlockMagic || le16(header + 18) != crc16_ccitt(header, 18))
        return 0;
    uint32_t count = le16(header + 4);
    if (count > CARD_MAX_INDEX_ENTRIES)
        count = CARD_MAX_INDEX_ENTRIES;
    if (count == 0)
        return 0;
    uint64_t entries_at = static_cast<uint64_t>(offset) + kBlockHeaderSize;
    uint64_t bytes = static_cast<uint64_t>(count) * kIndexEntrySize;
    if (first_only && index_size >= 0) {
        if (entries_at + bytes > static_cast<uint64_t>(index_size))
            return 0;
        uint8_t raw[kIndexEntrySize];
        if (!read_exact(entries_at, raw, sizeof raw))
            return 0;
        entries[0] = parse_index_entry(raw);
        return count;
    }
    uint8_t raw[CARD_MAX_INDEX_ENTRIES * kIndexEntrySize];
    if (!read_exact(entries_at, raw, bytes))
        return 0;
    for (uint32_t i = 0; i < count; ++i)
        entries[i] = parse_index_entry(raw + i * kIndexEntrySize);
    return count;
}

HeaderRead read_frame_header(FileHandle file, uint64_t file_size, uint32_t segment_size, uint64_t offset,
                             FrameHeader *out)
{
    if (offset + kFrameHeaderSize > file_size)
        return HeaderRead::Invalid;
    uint8_t h[kFrameHeaderSize];
    if (file_read_at(file, offset, h, sizeof h) != static_cast<int64_t>(sizeof h))
        return HeaderRead::Failed;
    if (le32(h) != kFrameMagic)
        return HeaderRead::Invalid;
    uint32_t size = le32(h + 16);
    if (size > CARD_MAX_PAYLOAD || le16(h + 20) != crc16_ccitt(h, 20) || h[4] > CARD_FRAME_AUDIO)
        return HeaderRead::Invalid;
    uint64_t end = offset + kFrameHeaderSize + size;
    if (end > segment_size || end > file_size)
        return HeaderRead::Invalid;
    out->type = h[4];
    out->second = le32(h + 8);
    out->ms = le16(h + 12);
    out->offset_min = static_cast<int16_t>(le16(h + 14));
    out->size = size;
    return HeaderRead::Valid;
}

} // namespace nivra::storage
