// Card reader benchmark. Writes two cards byte by byte into a temporary
// folder and prints:
//  - card_open of a large card (2048 segments, a full 8192-entry
//    timeline.dat): time (median and worst of warm runs) and bytes read;
//  - the same open without timeline.dat (ranges from the segment table, one
//    index block read per segment for its offset);
//  - cursor_seek to random times: median and worst;
//  - sequential cursor_next + cursor_read over a card at a camera's bit rate
//    beside plain reads of the same files in 4 MiB blocks, in one run.
// Usage: bench_storage [WORK_DIR]   (default: a new folder under /tmp)
#include "storage/card.h"
#include "storage/crc.h"
#include "storage/file_io.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <stdio.h>
#include <string>
#include <vector>

#include <unistd.h>

namespace fs = std::filesystem;
using nivra::storage::crc16_ccitt;
using nivra::storage::crc32;
using Clock = std::chrono::steady_clock;

namespace {

using Bytes = std::vector<uint8_t>;

void put16(uint8_t *p, uint16_t v)
{
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}

void put32(uint8_t *p, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<uint8_t>(v >> (8 * i));
}

double ms_since(Clock::time_point t)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - t).count();
}

void write_file(const std::string &path, const Bytes &bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char *>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

struct Segment
{
    uint32_t first, last;
    uint16_t number;
};

struct Key
{
    uint32_t second, offset;
    uint16_t ms;
};

// Writes a segment file: video at fps with a keyframe every 2 s, audio every
// audio_ms (0: none). Returns the keyframes for the index block.
std::vector<Key> write_segment(const std::string &path, uint32_t first, uint32_t seconds, int fps,
                               uint32_t key_size, uint32_t inter_size, int audio_ms, uint32_t audio_size)
{
    std::vector<Key> keys;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    Bytes payload(std::max({key_size, inter_size, audio_size}), 0x5A);
    uint32_t offset = 0;
    auto frame = [&](uint8_t type, int64_t ms, uint32_t size) {
        uint8_t h[24] = {};
        put32(h, 0x464D4531);
        h[4] = type;
        put32(h + 8, static_cast<uint32_t>(ms / 1000));
        put16(h + 12, static_cast<uint16_t>(ms % 1000));
        put16(h + 14, 60);
        put32(h + 16, size);
        put16(h + 20, crc16_ccitt(h, 20));
        out.write(reinterpret_cast<const char *>(h), 24);
        out.write(reinterpret_cast<const char *>(payload.data()), size);
        if (type == 0)
            keys.push_back({static_cast<uint32_t>(ms / 1000), offset, static_cast<uint16_t>(ms % 1000)});
        offset += 24 + size;
    };
    const int64_t begin = int64_t(first) * 1000, end = begin + int64_t(seconds) * 1000;
    int64_t next_audio = begin;
    const int per_key = fps * 2;
    int i = 0;
    for (int64_t t = begin; t < end; t = begin + int64_t(++i) * 1000 / fps) {
        while (audio_ms > 0 && next_audio <= t) {
            frame(2, next_audio, audio_size);
            next_audio += audio_ms;
        }
        frame(i % per_key == 0 ? 0 : 1, t, i % per_key == 0 ? key_size : inter_size);
    }
    return keys;
}

// Writes meta.dat and index.dat for the segments and their keyframes.
void write_bookkeeping(const std::string &dir, const std::vector<Segment> &segments,
                       const std::vector<std::vector<Key>> &keys)
{
    const uint32_t n = static_cast<uint32_t>(segments.size());
    Bytes meta(128, 0);
    for (int copy = 0; copy < 2; ++copy) {
        uint8_t *m = meta.data() + copy * 64;
        put32(m, 0x2A000000u);
        put32(m + 8, 0x53444D54);
        put32(m + 12, static_cast<uint32_t>(copy + 1));
        put32(m + 16, 64u << 20);
        put16(m + 24, 2);
        put16(m + 28, static_cast<uint16_t>(n));
        put32(m + 60, crc32(m, 60));
    }
    write_file(dir + "/meta.dat", meta);

    size_t max_keys = 0;
    for (const auto &k : keys)
        max_keys = std::max(max_keys, k.size());
    const uint32_t table = 32, block0 = table + n * 12;
    const uint32_t stride = static_cast<uint32_t>(20 + std::min<size_t>(max_keys, 2046) * 16);
    Bytes index(block0 + size_t(n) * stride, 0);
    put32(index.data(), 0x53494458);
    put16(index.data() + 6, static_cast<uint16_t>(n));
    put32(index.data() + 12, table);
    put32(index.data() + 20, block0);
    put32(index.data() + 24, stride);
    put32(index.data() + 28, crc32(index.data(), 28));
    for (uint32_t i = 0; i < n; ++i) {
        uint8_t *e = index.data() + table + i * 12;
        put32(e, segments[i].first);
        put32(e + 4, segments[i].last);
        put16(e + 8, segments[i].number);
        e[10] = 1;
        uint8_t *b = index.data() + block0 + size_t(segments[i].number) * stride;
        const size_t count = std::min<size_t>(keys[i].size(), 2046);
        put32(b, 0x44544C49);
        put16(b + 4, static_cast<uint16_t>(count));
        put16(b + 18, crc16_ccitt(b, 18));
        for (size_t k = 0; k < count; ++k) {
            uint8_t *x = b + 20 + k * 16;
            put32(x, keys[i][k].second);
            put32(x + 4, keys[i][k].offset);
            put16(x + 8, keys[i][k].ms);
            put16(x + 14, 60);
        }
    }
    write_file(dir + "/index.dat", index);
}

std::string seg_path(const std::string &dir, uint16_t number)
{
    char name[32];
    snprintf(name, sizeof name, "/seg_%03u.dat", static_cast<unsigned>(number));
    return dir + name;
}

constexpr uint32_t kT0 = 1700000000;

// 2048 segments of 80 s, a keyframe every 2 s and small frames at 5 fps, and
// a full timeline.dat of 8192 spans of 15 s (5 s apart) whose ring wraps.
void write_large_card(const std::string &dir)
{
    std::vector<Segment> segments;
    std::vector<std::vector<Key>> keys;
    for (uint16_t i = 0; i < 2048; ++i) {
        Segment s{kT0 + i * 80u, kT0 + i * 80u + 79, i};
        segments.push_back(s);
        keys.push_back(write_segment(seg_path(dir, i), s.first, 80, 5, 2000, 200, 0, 0));
    }
    write_bookkeeping(dir, segments, keys);

    const uint32_t capacity = 8192, head = 5000;
    Bytes tl(128 + capacity * 8, 0);
    for (int copy = 0; copy < 2; ++copy) {
        uint8_t *h = tl.data() + copy * 32;
        put32(h, 0x53544D4C);
        put16(h + 4, 2);
        put16(h + 6, static_cast<uint16_t>(capacity));
        put32(h + 8, static_cast<uint32_t>(copy + 7));
        put32(h + 12, head);
        put32(h + 16, capacity);
        put32(h + 20, 128);
        put32(h + 28, crc32(h, 28));
    }
    for (uint32_t k = 0; k < capacity; ++k) {
        uint8_t *e = tl.data() + 128 + ((head + k) % capacity) * 8;
        put32(e, kT0 + k * 20);
        put32(e + 4, 15u | (4u << 24));
    }
    write_file(dir + "/timeline.dat", tl);
}

// 40 segments of 60 s at about 2 Mbit/s: 15 fps (60 KB keyframes every 2 s,
// 14 KB inter frames) and 256-byte audio frames every 64 ms.
void write_stream_card(const std::string &dir)
{
    std::vector<Segment> segments;
    std::vector<std::vector<Key>> keys;
    for (uint16_t i = 0; i < 40; ++i) {
        Segment s{kT0 + i * 60u, kT0 + i * 60u + 59, i};
        segments.push_back(s);
        keys.push_back(write_segment(seg_path(dir, i), s.first, 60, 15, 60000, 14000, 64, 256));
    }
    write_bookkeeping(dir, segments, keys);
}

struct Stats
{
    double median, worst;
};

Stats stats(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return {v[v.size() / 2], v.back()};
}

void bench_open(const char *what, const std::string &dir)
{
    card_reader *card = nullptr;
    if (card_open(dir.c_str(), &card) != CARD_OK) { // warms the cache
        printf("%s: card_open failed\n", what);
        return;
    }
    int ranges = 0;
    card_ranges(card, 0, 0xFFFFFFFFu, nullptr, 0, &ranges);
    card_summary s{};
    card_get_summary(card, &s);
    card_close(card);
    std::vector<double> times;
    uint64_t bytes = 0;
    for (int i = 0; i < 30; ++i) {
        uint64_t before = nivra::storage::file_bytes_read_total();
        auto t = Clock::now();
        card_open(dir.c_str(), &card);
        times.push_back(ms_since(t));
        bytes = nivra::storage::file_bytes_read_total() - before;
        card_close(card);
    }
    Stats st = stats(times);
    printf("%-34s %8.2f ms median %8.2f ms worst  %8llu bytes read  (%u segments, %d ranges)\n", what,
           st.median, st.worst, static_cast<unsigned long long>(bytes), s.valid_segments, ranges);
}

void bench_seek(const std::string &dir)
{
    card_reader *card = nullptr;
    card_open(dir.c_str(), &card);
    card_cursor *cursor = nullptr;
    cursor_open(card, &cursor);
    card_summary s{};
    card_get_summary(card, &s);
    std::mt19937_64 rng(42);
    std::uniform_int_distribution<uint64_t> pick(uint64_t(s.first_second) * 1000,
                                                 uint64_t(card_last_ms(s.last_second)));
    std::vector<uint64_t> targets(5000);
    for (uint64_t &t : targets)
        t = pick(rng);
    for (uint64_t t : targets) // warm
        cursor_seek(cursor, t, nullptr);
    std::vector<double> times;
    int failures = 0;
    for (uint64_t t : targets) {
        auto t0 = Clock::now();
        int rc = cursor_seek(cursor, t, nullptr);
        card_frame f;
        if (rc == CARD_OK)
            rc = cursor_next(cursor, &f);
        times.push_back(ms_since(t0));
        failures += rc != CARD_OK;
    }
    Stats st = stats(times);
    printf("%-34s %8.3f ms median %8.3f ms worst  (%zu seeks + first header, %d failed)\n",
           "cursor_seek, random times", st.median, st.worst, times.size(), failures);
    cursor_close(cursor);
    card_close(card);
}

void bench_sequential(const std::string &dir)
{
    card_reader *card = nullptr;
    card_open(dir.c_str(), &card);
    card_summary s{};
    card_get_summary(card, &s);
    Bytes buffer(4u << 20);

    auto cursor_pass = [&](uint64_t *payload, uint64_t *frames) {
        card_cursor *cursor = nullptr;
        cursor_open(card, &cursor);
        cursor_seek(cursor, uint64_t(s.first_second) * 1000, nullptr);
        *payload = *frames = 0;
        card_frame f;
        while (cursor_next(cursor, &f) == CARD_OK) {
            cursor_read(cursor, buffer.data(), buffer.size());
            *payload += f.size;
            ++*frames;
        }
        cursor_close(cursor);
    };
    auto block_pass = [&]() {
        uint64_t total = 0;
        for (uint32_t i = 0; i < s.segment_count; ++i) {
            nivra::storage::FileHandle f =
                nivra::storage::file_open(seg_path(dir, static_cast<uint16_t>(i)).c_str());
            uint64_t at = 0;
            int64_t n;
            while ((n = nivra::storage::file_read_at(f, at, buffer.data(), buffer.size())) > 0) {
                at += static_cast<uint64_t>(n);
                total += static_cast<uint64_t>(n);
            }
            nivra::storage::file_close(f);
        }
        return total;
    };

    uint64_t payload = 0, frames = 0, file_bytes = block_pass();
    cursor_pass(&payload, &frames); // both warm
    std::vector<double> cursor_ms, block_ms;
    for (int round = 0; round < 5; ++round) {
        auto t = Clock::now();
        block_pass();
        block_ms.push_back(ms_since(t));
        t = Clock::now();
        cursor_pass(&payload, &frames);
        cursor_ms.push_back(ms_since(t));
    }
    double c = stats(cursor_ms).median / 1000, b = stats(block_ms).median / 1000;
    printf("%-34s %8.0f MB/s  %9.0f frames/s  (%llu frames, %.1f MB payload, %.1f MB files)\n",
           "cursor_next + cursor_read", payload / c / 1e6, frames / c,
           static_cast<unsigned long long>(frames), payload / 1e6, file_bytes / 1e6);
    printf("%-34s %8.0f MB/s\n", "plain reads in 4 MiB blocks", file_bytes / b / 1e6);
    printf("%-34s %8.2f  (goal at least 0.5)\n", "cursor / blocks (file bytes)",
           (file_bytes / c) / (file_bytes / b));
    card_close(card);
}

} // namespace

int main(int argc, char **argv)
{
    const bool own = argc < 2;
    std::string work =
        own ? (fs::temp_directory_path() / ("nivra-bench-storage-" + std::to_string(getpid()))).string()
            : argv[1];
    const std::string large = work + "/large", stream = work + "/stream",
                      no_table = work + "/large-no-timeline";
    fs::create_directories(large);
    fs::create_directories(stream);
    fs::create_directories(no_table);
    auto t = Clock::now();
    write_large_card(large);
    write_stream_card(stream);
    // The same large card without timeline.dat (the segment files are shared).
    for (const char *name : {"meta.dat", "index.dat"})
        fs::copy_file(large + "/" + name, no_table + "/" + name, fs::copy_options::overwrite_existing);
    for (uint16_t i = 0; i < 2048; ++i) {
        std::error_code ec;
        fs::create_symlink(seg_path(large, i), seg_path(no_table, i), ec);
    }
    printf("cards written in %.1f s under %s\n\n", ms_since(t) / 1000, work.c_str());

    bench_open("card_open, full timeline.dat", large);
    bench_open("card_open, no timeline.dat", no_table);
    bench_seek(large);
    bench_sequential(stream);

    if (own)
        fs::remove_all(work);
    return 0;
}
