#include "card_builder.h"

#include "storage/crc.h"

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <random>

namespace fs = std::filesystem;
using nivra::storage::crc16_ccitt;
using nivra::storage::crc32;

namespace cardtest {

::testing::AssertionResult code_is(const char *expected_text, const char *actual_text, int expected,
                                   int actual)
{
    if (expected == actual)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << actual_text << " returned " << actual << " \"" << card_error_name(actual) << "\", expected "
           << expected_text << " = " << expected << " \"" << card_error_name(expected) << "\"";
}

void put16(Bytes &b, size_t at, uint16_t v)
{
    b[at] = static_cast<uint8_t>(v);
    b[at + 1] = static_cast<uint8_t>(v >> 8);
}

void put32(Bytes &b, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

void put64(Bytes &b, size_t at, uint64_t v)
{
    put32(b, at, static_cast<uint32_t>(v));
    put32(b, at + 4, static_cast<uint32_t>(v >> 32));
}

Bytes meta_record(const Meta &m)
{
    Bytes b(64, 0);
    put64(b, 0, m.format_ms);
    put32(b, 8, m.magic);
    put32(b, 12, m.generation);
    put32(b, 16, m.segment_size);
    put32(b, 20, 0xA5A5A5A5); // not interpreted
    put16(b, 24, m.version);
    put16(b, 28, m.segment_count);
    b[40] = 0x77;
    put32(b, 60, crc32(b.data(), 60) ^ (m.bad_crc ? 1u : 0u));
    return b;
}

Bytes meta_v1_record(uint32_t generation, bool bad_crc)
{
    Bytes b(40, 0);
    put64(b, 0, 1600000000000ull);
    put32(b, 8, 0x53444D54);
    put32(b, 12, generation);
    put16(b, 24, 1);
    put32(b, 36, crc32(b.data(), 36) ^ (bad_crc ? 1u : 0u));
    return b;
}

Bytes frame_bytes(const Frame &f)
{
    Bytes b(24 + f.payload.size(), 0);
    put32(b, 0, f.magic);
    b[4] = f.type;
    b[5] = 0x5A; // not interpreted
    put32(b, 8, static_cast<uint32_t>(f.time_ms / 1000));
    put16(b, 12, static_cast<uint16_t>(f.time_ms % 1000));
    put16(b, 14, static_cast<uint16_t>(f.offset_min));
    put32(b, 16,
          f.size_field >= 0 ? static_cast<uint32_t>(f.size_field) : static_cast<uint32_t>(f.payload.size()));
    put16(b, 20, static_cast<uint16_t>(crc16_ccitt(b.data(), 20) ^ (f.bad_crc ? 1 : 0)));
    std::copy(f.payload.begin(), f.payload.end(), b.begin() + 24);
    return b;
}

Bytes timeline_header(const TimelineHeader &h)
{
    Bytes b(32, 0);
    put32(b, 0, h.magic);
    put16(b, 4, h.version);
    put16(b, 6, h.capacity);
    put32(b, 8, h.generation);
    put32(b, 12, h.head);
    put32(b, 16, h.count);
    put32(b, 20, h.entry_offset);
    put32(b, 28, crc32(b.data(), 28) ^ (h.bad_crc ? 1u : 0u));
    return b;
}

Bytes timeline_entry(const Span &s)
{
    Bytes b(8, 0);
    put32(b, 0, s.start);
    put32(b, 4,
          (s.duration & 0xFFFFFF) | (static_cast<uint32_t>(static_cast<uint8_t>(s.quarter_hours)) << 24));
    return b;
}

Bytes h264_keyframe_payload()
{
    return {0, 0, 0, 1,    0x09, 0x10, 0,    0, 0, 1, 0x67, 0x42, 0x00, 0x1E, 0,
            0, 0, 1, 0x68, 0xCE, 0x3C, 0x80, 0, 0, 1, 0x65, 0x88, 0x84, 0x00, 0x33};
}

Bytes h265_keyframe_payload()
{
    return {0, 0, 0, 1, 0x40, 0x01, 0x0C, 0x01, 0, 0, 0, 1,    0x42, 0x01, 0x01, 0x01,
            0, 0, 0, 1, 0x44, 0x01, 0xC1, 0x72, 0, 0, 1, 0x26, 0x01, 0xAF, 0x00};
}

Bytes adts_payload(int profile, int rate_index, int channels, size_t size)
{
    Bytes b(std::max<size_t>(size, 7), 0x21);
    b[0] = 0xFF;
    b[1] = 0xF1;
    b[2] = static_cast<uint8_t>((profile << 6) | (rate_index << 2) | ((channels >> 2) & 1));
    b[3] = static_cast<uint8_t>((channels & 3) << 6);
    return b;
}

std::string make_temp_dir()
{
    static std::atomic<int> counter{0};
    std::random_device rd;
    for (;;) {
        fs::path p = fs::temp_directory_path() /
                     ("nivra-card-test-" + std::to_string(rd()) + "-" + std::to_string(counter++));
        std::error_code ec;
        if (fs::create_directory(p, ec))
            return p.string();
    }
}

void remove_tree(const std::string &path)
{
    std::error_code ec;
    fs::remove_all(path, ec);
}

Bytes read_file(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

Card::Card() : dir(make_temp_dir())
{}

Card::~Card()
{
    remove_tree(dir);
}

std::string Card::path(const std::string &name) const
{
    return dir + "/" + name;
}

void Card::write_file(const std::string &name, const Bytes &bytes) const
{
    std::ofstream out(path(name), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char *>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

void Card::remove_file(const std::string &name) const
{
    std::error_code ec;
    fs::remove(path(name), ec);
}

std::string Card::seg_name(uint16_t number)
{
    char name[32];
    snprintf(name, sizeof name, "seg_%03u.dat", static_cast<unsigned>(number));
    return name;
}

Bytes Card::index_bytes() const
{
    uint16_t slots = slot_count >= 0 ? static_cast<uint16_t>(slot_count)
                                     : static_cast<uint16_t>(std::max<size_t>(table.size(), 8));
    uint32_t block0 = block0_offset ? block0_offset : table_offset + static_cast<uint32_t>(table.size()) * 12;
    size_t size = std::max<size_t>(32, table_offset + table.size() * 12);
    for (const auto &[number, marks] : blocks)
        if (number < slots)
            size = std::max<size_t>(size, uint64_t(block0) + uint64_t(number) * block_stride + 20 +
                                              marks.size() * 16);
    Bytes b(size, 0);
    put32(b, 0, 0x53494458);
    put16(b, 6, slots);
    put32(b, 12, table_offset);
    put32(b, 20, block0);
    put32(b, 24, block_stride);
    put32(b, 28, crc32(b.data(), 28) ^ (index_bad_crc ? 1u : 0u));
    for (size_t i = 0; i < table.size(); ++i) {
        size_t at = table_offset + i * 12;
        put32(b, at, table[i].first);
        put32(b, at + 4, table[i].last);
        put16(b, at + 8, table[i].number);
        b[at + 10] = table[i].state;
        b[at + 11] = table[i].event_flag;
    }
    for (const auto &[number, marks] : blocks) {
        if (number >= slots)
            continue;
        size_t at = block0 + size_t(number) * block_stride;
        auto count = block_count_field.count(number) ? block_count_field.at(number)
                                                     : static_cast<uint16_t>(marks.size());
        put32(b, at, 0x44544C49);
        put16(b, at + 4, count);
        uint16_t crc = crc16_ccitt(b.data() + at, 18);
        if (block_bad_crc.count(number) && block_bad_crc.at(number))
            crc ^= 1;
        put16(b, at + 18, crc);
        for (size_t k = 0; k < marks.size(); ++k) {
            size_t e = at + 20 + k * 16;
            put32(b, e, marks[k].second);
            put32(b, e + 4, marks[k].frame_offset);
            put16(b, e + 8, marks[k].ms);
            b[e + 10] = marks[k].flags;
            put16(b, e + 12, marks[k].kinds);
            put16(b, e + 14, static_cast<uint16_t>(marks[k].offset_min));
        }
    }
    return b;
}

void Card::write()
{
    if (!meta_bytes.empty()) {
        write_file("meta.dat", meta_bytes);
    } else {
        Meta m = meta;
        if (m.segment_count == 0)
            m.segment_count = static_cast<uint16_t>(table.size());
        Bytes bytes = meta_record(m);
        if (meta_b.empty()) {
            Meta b = m;
            b.generation = m.generation + 1;
            Bytes copy_b = meta_record(b);
            bytes.insert(bytes.end(), copy_b.begin(), copy_b.end());
        } else {
            bytes.insert(bytes.end(), meta_b.begin(), meta_b.end());
        }
        write_file("meta.dat", bytes);
    }
    write_file("index.dat", index_bytes());
}

std::vector<uint32_t> Card::write_segment(uint16_t number, const std::vector<Frame> &frames)
{
    Bytes file;
    std::vector<uint32_t> offsets;
    for (const Frame &f : frames) {
        offsets.push_back(static_cast<uint32_t>(file.size()));
        Bytes b = frame_bytes(f);
        file.insert(file.end(), b.begin(), b.end());
    }
    write_file(seg_name(number), file);
    return offsets;
}

std::vector<uint32_t> Card::add_segment(const SegmentSpec &s)
{
    struct Item
    {
        int64_t t;
        int kind; // 0 video, 1 audio
        int index;
    };
    std::vector<Item> items;
    const int64_t begin = int64_t(s.first) * 1000, end = int64_t(s.last) * 1000 + 999;
    int vi = 0;
    for (int64_t t = begin; s.video_step_ms > 0 && t <= end; t += s.video_step_ms)
        items.push_back({t, 0, vi++});
    int ai = 0;
    for (int64_t t = begin; s.audio_step_ms > 0 && t <= end; t += s.audio_step_ms)
        items.push_back({t, 1, ai++});
    std::stable_sort(items.begin(), items.end(),
                     [](const Item &a, const Item &b) { return a.t != b.t ? a.t < b.t : a.kind < b.kind; });
    std::vector<Frame> frames;
    for (const Item &it : items) {
        Frame f;
        f.time_ms = it.t;
        f.offset_min = s.offset_min;
        if (it.kind == 0) {
            bool key = it.index % s.key_every == 0;
            f.type = key ? CARD_FRAME_KEY : CARD_FRAME_INTER;
            f.payload = key ? h264_keyframe_payload() : Bytes{0, 0, 1, 0x41, 0x9A};
            f.payload.resize(std::max(f.payload.size(), s.video_size), static_cast<uint8_t>(it.index));
        } else {
            f.type = CARD_FRAME_AUDIO;
            f.payload.assign(s.audio_size, static_cast<uint8_t>(0xD5));
        }
        frames.push_back(std::move(f));
    }
    std::vector<uint32_t> offsets;
    {
        Bytes file;
        for (const Frame &f : frames) {
            offsets.push_back(static_cast<uint32_t>(file.size()));
            Bytes b = frame_bytes(f);
            file.insert(file.end(), b.begin(), b.end());
        }
        if (s.write_file)
            write_file(seg_name(s.number), file);
    }
    std::vector<IndexMark> &marks = blocks[s.number];
    for (size_t i = 0; i < frames.size(); ++i) {
        if (frames[i].type != CARD_FRAME_KEY)
            continue;
        IndexMark m;
        m.second = static_cast<uint32_t>(frames[i].time_ms / 1000);
        m.ms = static_cast<uint16_t>(frames[i].time_ms % 1000);
        m.frame_offset = offsets[i];
        m.offset_min = s.offset_min;
        marks.push_back(m);
    }
    table.push_back({s.first, s.last, s.number, 1, 0});
    return offsets;
}

void Card::write_timeline(const TimelineHeader &a, const TimelineHeader *b,
                          const std::map<uint32_t, Span> &slots, size_t file_size)
{
    size_t size = std::max<size_t>(file_size, 128 + 8192 * 8);
    Bytes bytes(size, 0);
    Bytes ha = timeline_header(a);
    std::copy(ha.begin(), ha.end(), bytes.begin());
    if (b) {
        Bytes hb = timeline_header(*b);
        std::copy(hb.begin(), hb.end(), bytes.begin() + 32);
    }
    for (const auto &[slot, span] : slots) {
        Bytes e = timeline_entry(span);
        std::copy(e.begin(), e.end(), bytes.begin() + 128 + slot * 8);
    }
    if (file_size)
        bytes.resize(file_size);
    write_file("timeline.dat", bytes);
}

card_reader *Card::open() const
{
    card_reader *card = nullptr;
    int rc = card_open(dir.c_str(), &card);
    EXPECT_EQ(0, rc) << card_error_name(rc);
    return card;
}

std::vector<card_range> ranges_of(const card_reader *card, uint32_t from, uint32_t to)
{
    int count = 0;
    EXPECT_EQ(0, card_ranges(card, from, to, nullptr, 0, &count));
    std::vector<card_range> out(static_cast<size_t>(count));
    int again = 0;
    EXPECT_EQ(0, card_ranges(card, from, to, out.data(), count, &again));
    EXPECT_EQ(count, again);
    return out;
}

} // namespace cardtest
