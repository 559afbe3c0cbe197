// Internal records of the card reader and cursor, and the parsers of the
// on-card format shared by the reader's source files.
#pragma once

#include "storage/card.h"
#include "storage/file_io.h"

#include <stddef.h>
#include <stdint.h>

namespace nivra::storage {

// ---- Little-endian fields ---------------------------------------------------

inline uint16_t le16(const uint8_t *p)
{
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

inline uint32_t le32(const uint8_t *p)
{
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

inline uint64_t le64(const uint8_t *p)
{
    return static_cast<uint64_t>(le32(p)) | (static_cast<uint64_t>(le32(p + 4)) << 32);
}

// ---- Format constants -----------------------------------------------------

constexpr uint32_t kMetaMagic = 0x53444D54;
constexpr uint32_t kIndexMagic = 0x53494458;
constexpr uint32_t kBlockMagic = 0x44544C49;
constexpr uint32_t kFrameMagic = 0x464D4531;
constexpr uint32_t kTimelineMagic = 0x53544D4C;
constexpr uint16_t kFormatVersion = 2;
constexpr size_t kMetaSize = 64;
constexpr size_t kMetaV1Size = 40;
constexpr size_t kIndexHeaderSize = 32;
constexpr size_t kTableEntrySize = 12;
constexpr size_t kBlockHeaderSize = 20;
constexpr size_t kIndexEntrySize = 16;
constexpr size_t kFrameHeaderSize = 24;
constexpr int64_t kStaleFrameMs = 5000;
constexpr int64_t kGapMs = 3000;
// How far a frame's time may lie past its segment's last second before it
// counts as damage: generous, since the table of a segment still being
// written may lag its frames; a flipped bit in a time field lands far beyond.
constexpr int64_t kSegmentSlackMs = 600000;
constexpr int64_t kDefaultSpacingMs = 2000;
constexpr int64_t kMaxSpacingMs = 600000;
// Longest file path built from a directory path: dir + "/seg_65535.dat".
constexpr size_t kFilePathMax = CARD_PATH_MAX + 32;

// ---- Records ----------------------------------------------------------------

struct MetaRecord
{
    uint64_t format_ms = 0;
    uint32_t generation = 0;
    uint32_t segment_size = 0;
    uint16_t version = 0;
    uint16_t segment_count = 0;
};

struct SegmentEntry
{
    uint32_t first = 0;
    uint32_t last = 0;
    uint16_t number = 0;
    uint8_t state = 0;
    uint8_t event_flag = 0;
};

// Decodes one 12-byte segment table entry.
SegmentEntry parse_segment_entry(const uint8_t *p);

// Returns true for an in-use entry with a first second and last >= first.
inline bool is_valid_segment(const SegmentEntry &e)
{
    return (e.state == 1 || e.state == 2) && e.first != 0 && e.last >= e.first;
}

struct IndexEntry
{
    uint32_t second = 0;
    uint32_t frame_offset = 0;
    uint16_t ms = 0;
    uint8_t flags = 0;
    uint16_t kinds = 0;
    int16_t offset_min = 0;
};

inline int64_t entry_time_ms(const IndexEntry &e)
{
    return static_cast<int64_t>(e.second) * 1000 + e.ms;
}

// Where the segment table and the index blocks lie in index.dat.
struct IndexLayout
{
    uint16_t slot_count = 0;
    uint32_t table_offset = 0;
    uint32_t block0_offset = 0;
    uint32_t block_stride = 0;
};

// A valid frame header.
struct FrameHeader
{
    uint8_t type = 0;
    int16_t offset_min = 0;
    uint32_t second = 0;
    uint16_t ms = 0;
    uint32_t size = 0;
};

// The index entries of one segment, filled the first time a keyframe walk
// needs them.
struct IndexCache
{
    bool loaded = false;
    uint16_t count = 0;
    IndexEntry *entries = nullptr;
};

struct SegmentState
{
    int64_t file_size = -1; // -1 when absent or not a valid segment
    bool present = false;
    IndexCache cache;
};

// A loaded timeline.dat entry.
struct TimelineEntry
{
    uint32_t start = 0;
    uint32_t end = 0; // 0 while the span is still open
    int16_t offset_min = 0;
};

// ---- Helpers shared by the reader's files -------------------------------------

// Builds "<dir>/seg_NNN.dat" into out (kFilePathMax + 1 bytes). Returns false
// when it does not fit.
bool segment_path(const char *dir, uint16_t number, char *out, size_t out_size);

// Reads the index block of segment number from index.dat into entries (room
// for CARD_MAX_INDEX_ENTRIES). Returns the entry count: 0 when the segment has
// no block, the block header is invalid or its entries cannot be read. With
// first_only, only entry 0 is decoded (the rest is checked against
// index_size, the size of index.dat, instead of being read). *read_failed
// (optional) is set when the file could not be read where index_size (when
// known, >= 0) says it has bytes: damage to the card, not a block it lacks.
uint32_t read_index_block(FileHandle index_file, int64_t index_size, const IndexLayout &layout,
                          uint16_t number, IndexEntry *entries, bool first_only, bool *read_failed = nullptr);

// What read_frame_header found.
enum class HeaderRead
{
    Valid,   // a valid frame; *out is filled
    Invalid, // no valid frame here: the file's readable data ends
    Failed,  // the header lies within the file but could not be read (an I/O
             // error, or the file shrank since it was opened)
};

// Reads the frame header at offset of a segment file and checks it: the magic,
// payload size, checksum, type, and end within segment_size and file_size.
HeaderRead read_frame_header(FileHandle file, uint64_t file_size, uint32_t segment_size, uint64_t offset,
                             FrameHeader *out);

// Loads timeline.dat: returns 0 and the entries (caller frees with delete[]),
// or 1 when the table is not loaded. Writes the loader's diagnostics to stderr.
int load_timeline(const char *path, TimelineEntry **entries, uint32_t *count);

// Builds the card's recording ranges from the loaded timeline entries (null
// when not loaded) or from the segment table. Returns 0 or -7.
int build_ranges(card_reader *card, const TimelineEntry *entries, uint32_t count, bool table_loaded);

} // namespace nivra::storage

// ---- Handles ------------------------------------------------------------------

struct card_reader
{
    char dir[CARD_PATH_MAX + 1] = {};
    char index_path[nivra::storage::kFilePathMax + 1] = {};
    char timeline_path[nivra::storage::kFilePathMax + 1] = {};
    nivra::storage::MetaRecord meta;
    nivra::storage::IndexLayout layout;
    uint32_t segment_count = 0;
    nivra::storage::SegmentEntry *table = nullptr;
    nivra::storage::SegmentState *states = nullptr;
    uint32_t *order = nullptr; // table positions of the valid segments in time order
    uint32_t valid_count = 0;
    uint32_t present_count = 0;
    uint32_t first_second = 0;
    uint32_t latest_second = 0;
    card_range *ranges = nullptr;
    uint32_t range_count = 0;
};

struct card_cursor
{
    const card_reader *card = nullptr;
    nivra::storage::FileHandle file = nivra::storage::kNoFile;
    nivra::storage::FileHandle index_file = nivra::storage::kNoFile;
    int64_t index_size = -1;
    int64_t position = -1; // table position of the open segment
    uint64_t file_size = 0;
    uint64_t read_offset = 0;
    nivra::storage::IndexEntry entries[CARD_MAX_INDEX_ENTRIES];
    uint32_t entry_count = 0;
    uint64_t entry_pos = 0;
    int64_t spacing_ms = nivra::storage::kDefaultSpacingMs;
    int stride = 0;
    bool positioned = false;
    bool has_latest = false;
    int64_t latest_ms = 0;
    bool has_high = false;
    int64_t high_ms = 0;
    bool pending = false;
    card_frame pending_frame = {};
    uint64_t pending_payload = 0;
    uint64_t pending_next_offset = 0;
    uint64_t pending_next_entry = 0;
    uint64_t damaged_frames = 0; // frames skipped for a time outside their segment
};
