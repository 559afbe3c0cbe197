// Reads a recording directory back byte by byte, written for these tests
// only and on purpose apart from the tool's code, so that a mistake in one is
// not repeated in the other.
#pragma once

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace cardbytes {

using Bytes = std::vector<uint8_t>;

inline bool readAll(const std::string &path, Bytes *out)
{
    std::ifstream f(path, std::ios::binary);
    if (!f)
        return false;
    out->assign(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
    return true;
}

inline uint16_t le16(const Bytes &b, size_t o)
{
    return uint16_t(b.at(o) | (b.at(o + 1) << 8));
}
inline uint32_t le32(const Bytes &b, size_t o)
{
    return uint32_t(le16(b, o)) | uint32_t(le16(b, o + 2)) << 16;
}
inline uint64_t le64(const Bytes &b, size_t o)
{
    return uint64_t(le32(b, o)) | uint64_t(le32(b, o + 4)) << 32;
}

// Table-driven, unlike the tool's bitwise loops.
inline uint32_t crc32(const uint8_t *p, size_t n)
{
    static uint32_t table[256];
    static bool ready = false;
    if (!ready) {
        for (uint32_t i = 0; i < 256; ++i) {
            uint32_t c = i;
            for (int k = 0; k < 8; ++k)
                c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1u)));
            table[i] = c;
        }
        ready = true;
    }
    uint32_t c = 0xFFFFFFFFu;
    for (size_t i = 0; i < n; ++i)
        c = table[(c ^ p[i]) & 0xFF] ^ (c >> 8);
    return ~c;
}

inline uint16_t crc16(const uint8_t *p, size_t n)
{
    static uint16_t table[256];
    static bool ready = false;
    if (!ready) {
        for (uint32_t i = 0; i < 256; ++i) {
            uint16_t c = uint16_t(i << 8);
            for (int k = 0; k < 8; ++k)
                c = uint16_t((c & 0x8000) ? (c << 1) ^ 0x1021 : c << 1);
            table[i] = c;
        }
        ready = true;
    }
    uint16_t c = 0xFFFF;
    for (size_t i = 0; i < n; ++i)
        c = uint16_t((c << 8) ^ table[((c >> 8) ^ p[i]) & 0xFF]);
    return c;
}

struct Meta
{
    uint64_t formatMs = 0;
    uint32_t magic = 0, generation = 0, segmentSize = 0;
    uint16_t version = 0, count = 0;
    bool crcOk = false;
};

inline Meta metaAt(const Bytes &b, size_t o)
{
    Meta m;
    m.formatMs = le64(b, o);
    m.magic = le32(b, o + 8);
    m.generation = le32(b, o + 12);
    m.segmentSize = le32(b, o + 16);
    m.version = le16(b, o + 24);
    m.count = le16(b, o + 28);
    m.crcOk = crc32(b.data() + o, 60) == le32(b, o + 60);
    return m;
}

struct TableEntry
{
    uint32_t first = 0, last = 0;
    uint16_t number = 0;
    uint8_t state = 0, eventFlag = 0;
    size_t position = 0;
    bool valid() const { return (state == 1 || state == 2) && first != 0 && last >= first; }
};

struct IndexEntry
{
    uint32_t second = 0, offset = 0;
    uint16_t ms = 0;
    uint8_t flags = 0;
    uint16_t kinds = 0;
    int16_t utcOffset = 0;
    int64_t timeMs() const { return int64_t(second) * 1000 + ms; }
};

struct FrameHeader
{
    uint32_t magic = 0;
    uint8_t type = 0;
    uint32_t second = 0;
    uint16_t ms = 0;
    int16_t utcOffset = 0;
    uint32_t size = 0;
    bool crcOk = false;
    size_t offset = 0;
    int64_t timeMs() const { return int64_t(second) * 1000 + ms; }
};

inline FrameHeader frameAt(const Bytes &b, size_t o)
{
    FrameHeader f;
    f.offset = o;
    f.magic = le32(b, o);
    f.type = b.at(o + 4);
    f.second = le32(b, o + 8);
    f.ms = le16(b, o + 12);
    f.utcOffset = int16_t(le16(b, o + 14));
    f.size = le32(b, o + 16);
    f.crcOk = crc16(b.data() + o, 20) == le16(b, o + 20);
    return f;
}

struct Segment
{
    TableEntry entry;
    bool present = false;
    Bytes file;
    std::vector<FrameHeader> frames; // back to back from offset 0, while headers are sound
    bool blockPresent = false;       // an index block exists for the number
    bool blockValid = false;
    uint16_t blockCount = 0;
    std::vector<IndexEntry> entries;
};

struct Card
{
    std::string dir;
    Bytes meta, index, timeline;
    Meta metaA, metaB;
    uint16_t slotCount = 0;
    uint32_t tableOffset = 0, block0 = 0, stride = 0;
    bool indexHeaderOk = false;
    std::vector<TableEntry> table;
    std::vector<Segment> segments; // valid ones, in time order
};

inline std::string segPath(const std::string &dir, unsigned number)
{
    std::string n = std::to_string(number);
    while (n.size() < 3)
        n = "0" + n;
    return dir + "/seg_" + n + ".dat";
}

// Loads everything; `segmentSize` bounds the frames walked (0: use meta copy A).
inline bool loadCard(const std::string &dir, Card *card)
{
    card->dir = dir;
    if (!readAll(dir + "/meta.dat", &card->meta) || !readAll(dir + "/index.dat", &card->index))
        return false;
    readAll(dir + "/timeline.dat", &card->timeline);
    if (card->meta.size() < 128 || card->index.size() < 32)
        return false;
    card->metaA = metaAt(card->meta, 0);
    card->metaB = metaAt(card->meta, 64);
    const Bytes &x = card->index;
    card->indexHeaderOk = le32(x, 0) == 0x53494458 && crc32(x.data(), 28) == le32(x, 28);
    card->slotCount = le16(x, 6);
    card->tableOffset = le32(x, 12);
    card->block0 = le32(x, 20);
    card->stride = le32(x, 24);
    const uint16_t n = card->metaA.count;
    for (size_t p = 0; p < n; ++p) {
        size_t o = card->tableOffset + p * 12;
        TableEntry e;
        e.first = le32(x, o);
        e.last = le32(x, o + 4);
        e.number = le16(x, o + 8);
        e.state = x.at(o + 10);
        e.eventFlag = x.at(o + 11);
        e.position = p;
        card->table.push_back(e);
    }
    for (const TableEntry &e : card->table) {
        if (!e.valid())
            continue;
        Segment s;
        s.entry = e;
        s.present = readAll(segPath(dir, e.number), &s.file);
        size_t o = 0;
        while (s.present && o + 24 <= s.file.size()) {
            FrameHeader f = frameAt(s.file, o);
            if (f.magic != 0x464D4531)
                break;
            s.frames.push_back(f);
            o += 24 + size_t(f.size);
        }
        if (e.number < card->slotCount) {
            size_t bo = size_t(card->block0) + size_t(e.number) * card->stride;
            s.blockPresent = bo + 20 <= x.size();
            if (s.blockPresent) {
                s.blockValid = le32(x, bo) == 0x44544C49 && crc16(x.data() + bo, 18) == le16(x, bo + 18);
                s.blockCount = le16(x, bo + 4);
                for (size_t i = 0; s.blockValid && i < s.blockCount; ++i) {
                    size_t eo = bo + 20 + i * 16;
                    IndexEntry ie;
                    ie.second = le32(x, eo);
                    ie.offset = le32(x, eo + 4);
                    ie.ms = le16(x, eo + 8);
                    ie.flags = x.at(eo + 10);
                    ie.kinds = le16(x, eo + 12);
                    ie.utcOffset = int16_t(le16(x, eo + 14));
                    s.entries.push_back(ie);
                }
            }
        }
        card->segments.push_back(std::move(s));
    }
    std::stable_sort(card->segments.begin(), card->segments.end(),
                     [](const Segment &a, const Segment &b) { return a.entry.first < b.entry.first; });
    return true;
}

struct TimelineEntry
{
    uint32_t start = 0, duration = 0;
    int offsetMin = 0;
};

struct Timeline
{
    uint32_t magicA = 0, head = 0, count = 0, capacity = 0, entryOffset = 0, generationA = 0, generationB = 0;
    uint16_t versionA = 0, versionB = 0;
    bool crcA = false, crcB = false;
    std::vector<TimelineEntry> entries; // oldest first, read through copy A
};

inline Timeline timelineOf(const Bytes &t)
{
    Timeline tl;
    if (t.size() < 128)
        return tl;
    tl.magicA = le32(t, 0);
    tl.versionA = le16(t, 4);
    tl.versionB = le16(t, 36);
    tl.capacity = le16(t, 6);
    tl.generationA = le32(t, 8);
    tl.generationB = le32(t, 40);
    tl.head = le32(t, 12);
    tl.count = le32(t, 16);
    tl.entryOffset = le32(t, 20);
    tl.crcA = crc32(t.data(), 28) == le32(t, 28);
    tl.crcB = crc32(t.data() + 32, 28) == le32(t, 60);
    for (uint32_t k = 0; k < tl.count && tl.capacity; ++k) {
        size_t o = 128 + size_t((tl.head + k) % tl.capacity) * 8;
        if (o + 8 > t.size())
            break;
        uint32_t w = le32(t, o + 4);
        tl.entries.push_back(TimelineEntry{le32(t, o), w & 0xFFFFFF, int(int8_t(w >> 24)) * 15});
    }
    return tl;
}

} // namespace cardbytes
