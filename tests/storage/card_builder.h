// Builds recording directories byte by byte for the storage tests: every
// record of meta.dat, index.dat, timeline.dat and the segment files, with
// fields that a test can set to any value (including damaged ones).
#pragma once

#include "storage/card.h"

#include <gtest/gtest.h>

#include <stdint.h>

#include <map>
#include <string>
#include <vector>

namespace cardtest {

using Bytes = std::vector<uint8_t>;

// Compares result codes and prints the texts of both on failure:
// EXPECT_CODE(expected, call) << "context".
::testing::AssertionResult code_is(const char *expected_text, const char *actual_text, int expected,
                                   int actual);
#define EXPECT_CODE(expected, expr) EXPECT_PRED_FORMAT2(::cardtest::code_is, expected, expr)
#define ASSERT_CODE(expected, expr) ASSERT_PRED_FORMAT2(::cardtest::code_is, expected, expr)

// ---- Little-endian writers -------------------------------------------------

void put16(Bytes &b, size_t at, uint16_t v);
void put32(Bytes &b, size_t at, uint32_t v);
void put64(Bytes &b, size_t at, uint64_t v);

// ---- Records -----------------------------------------------------------------

struct Meta
{
    uint64_t format_ms = 1700000000000ull;
    uint32_t magic = 0x53444D54;
    uint32_t generation = 1;
    uint32_t segment_size = 64u << 20;
    uint16_t version = 2;
    uint16_t segment_count = 0;
    bool bad_crc = false;
};
// One 64-byte meta record.
Bytes meta_record(const Meta &m);
// One 40-byte version-1 meta record.
Bytes meta_v1_record(uint32_t generation, bool bad_crc = false);

struct TableEntry
{
    uint32_t first = 0;
    uint32_t last = 0;
    uint16_t number = 0;
    uint8_t state = 1;
    uint8_t event_flag = 0;
};

struct IndexMark
{
    uint32_t second = 0;
    uint32_t frame_offset = 0;
    uint16_t ms = 0;
    uint8_t flags = 0;
    uint16_t kinds = 0;
    int16_t offset_min = 0;
};

struct Frame
{
    uint8_t type = CARD_FRAME_KEY;
    int64_t time_ms = 0;
    Bytes payload;
    int16_t offset_min = 0;
    uint32_t magic = 0x464D4531;
    bool bad_crc = false;
    int64_t size_field = -1; // payload size written in the header; -1 = payload size
};
// One frame: 24-byte header and payload.
Bytes frame_bytes(const Frame &f);

struct TimelineHeader
{
    uint32_t magic = 0x53544D4C;
    uint16_t version = 2;
    uint16_t capacity = 8192;
    uint32_t generation = 1;
    uint32_t head = 0;
    uint32_t count = 0;
    uint32_t entry_offset = 128;
    bool bad_crc = false;
};
Bytes timeline_header(const TimelineHeader &h);

struct Span
{
    uint32_t start = 0;
    uint32_t duration = 0; // 0xFFFFFF = still open
    int8_t quarter_hours = 0;
};
// One 8-byte timeline entry.
Bytes timeline_entry(const Span &s);

// Payloads the stream probe recognises.
Bytes h264_keyframe_payload();
Bytes h265_keyframe_payload();
Bytes adts_payload(int profile, int rate_index, int channels, size_t size);

// ---- A recording directory ---------------------------------------------------

// A segment with frames generated from its first to its last second: video
// every video_step_ms (every key_every-th a keyframe with an index entry),
// audio every audio_step_ms (0 = none).
struct SegmentSpec
{
    uint16_t number = 0;
    uint32_t first = 0;
    uint32_t last = 0;
    int video_step_ms = 1000;
    int key_every = 2;
    int audio_step_ms = 0;
    size_t video_size = 100;
    size_t audio_size = 160;
    int16_t offset_min = 0;
    bool write_file = true;
};

class Card
{
public:
    Card();  // creates a fresh directory under the temp folder
    ~Card(); // removes it
    Card(const Card &) = delete;
    Card &operator=(const Card &) = delete;

    std::string dir;
    Meta meta;
    // index.dat header; slot_count < 0 uses max(table size, 8).
    int slot_count = -1;
    uint32_t table_offset = 32;
    uint32_t block0_offset = 0; // 0: right after the table
    uint32_t block_stride = 20 + 2046 * 16;
    bool index_bad_crc = false;
    std::vector<TableEntry> table;
    // Index block entries per segment number; a block is written only for
    // numbers listed here.
    std::map<uint16_t, std::vector<IndexMark>> blocks;
    // Entry count written in a block header instead of the real count.
    std::map<uint16_t, uint16_t> block_count_field;
    std::map<uint16_t, bool> block_bad_crc;

    // Writes meta.dat (two copies of meta, generation+1 in copy B unless
    // meta_b is given) and index.dat. meta.segment_count 0 uses the table size.
    void write();
    Bytes meta_b;     // when not empty: copy B bytes
    Bytes meta_bytes; // when not empty: the whole meta.dat
    Bytes index_bytes() const;

    // Adds a segment table entry, writes its file and its index block.
    // Returns the frames' offsets in the file.
    std::vector<uint32_t> add_segment(const SegmentSpec &plan);
    // Writes seg_NNN.dat from frames; returns each frame's offset.
    std::vector<uint32_t> write_segment(uint16_t number, const std::vector<Frame> &frames);

    void write_timeline(const TimelineHeader &a, const TimelineHeader *b,
                        const std::map<uint32_t, Span> &slots, size_t file_size = 0);

    std::string path(const std::string &name) const;
    void write_file(const std::string &name, const Bytes &bytes) const;
    void remove_file(const std::string &name) const;
    static std::string seg_name(uint16_t number);

    // Opens the card (asserting success in the caller's test).
    card_reader *open() const;
};

Bytes read_file(const std::string &path);
std::string make_temp_dir();
void remove_tree(const std::string &path);

// Collects the ranges of a card.
std::vector<card_range> ranges_of(const card_reader *card, uint32_t from = 0, uint32_t to = 0xFFFFFFFFu);

} // namespace cardtest
