#include "cardwriter.h"

#include "checksum.h"
#include "media.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <deque>

namespace cardgen {

namespace {

constexpr uint32_t kMetaMagic = 0x53444D54;
constexpr uint32_t kIndexMagic = 0x53494458;
constexpr uint32_t kBlockMagic = 0x44544C49;
constexpr uint32_t kFrameMagic = 0x464D4531;
constexpr uint32_t kTimelineMagic = 0x53544D4C;
constexpr uint32_t kTimelineCapacity = 8192;
constexpr int kMaxEntries = 2046;
constexpr uint32_t kMaxPayload = 0x400000;

void put16(uint8_t *p, uint32_t v)
{
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
}

void put32(uint8_t *p, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = uint8_t(v >> (8 * i));
}

void put64(uint8_t *p, uint64_t v)
{
    for (int i = 0; i < 8; ++i)
        p[i] = uint8_t(v >> (8 * i));
}

uint32_t roundUp(uint32_t v, uint32_t to)
{
    return (v + to - 1) / to * to;
}

struct Frame
{
    uint8_t type = 0; // 0 keyframe, 1 inter frame, 2 audio
    int64_t timeMs = 0;
    const std::vector<uint8_t> *payload = nullptr;
};

struct Gop
{
    int span = 0;
    int64_t startMs = 0;
    std::vector<Frame> frames;
    uint64_t bytes = 0;
    uint8_t eventFlags = 0;
    uint16_t eventKinds = 0;
};

struct Segment
{
    size_t gopFirst = 0;
    size_t gopEnd = 0; // one past the last
    int64_t startMs = 0;
    uint64_t bytes = 0;
};

// Frame i of a span lies at start + i * 1000 / fps, in whole ms.
int64_t frameTime(int64_t startMs, int64_t i, int fps)
{
    return startMs + i * 1000 / fps;
}

bool writeFile(const std::string &path, const std::vector<uint8_t> &bytes, std::string *error)
{
    std::FILE *f = std::fopen(path.c_str(), "wb");
    if (!f) {
        *error = "cannot create " + path;
        return false;
    }
    bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    ok = std::fclose(f) == 0 && ok;
    if (!ok)
        *error = "cannot write " + path;
    return ok;
}

// Resolves a place in time order (negative counts from the end) to an index.
bool resolvePlace(int place, size_t count, size_t *out)
{
    long long p = place < 0 ? (long long)count + place : place;
    if (p < 0 || p >= (long long)count)
        return false;
    *out = size_t(p);
    return true;
}

std::string segmentPath(const std::string &dir, unsigned number)
{
    char name[32];
    std::snprintf(name, sizeof name, "/seg_%03u.dat", number);
    return dir + name;
}

class Builder
{
public:
    Builder(const Scenario &s, const std::string &dir, CardStats *stats) : m_s(s), m_dir(dir), m_stats(stats)
    {}

    bool run(std::string *error)
    {
        return encode(error) && buildGops() && markEvents() && planSegments(error) && writeSegments(error) &&
               writeIndex(error) && writeMeta(error) && writeTimeline(error) && deleteSegments(error);
    }

private:
    const Scenario &m_s;
    std::string m_dir;
    CardStats *m_stats;

    std::vector<VideoPacket> m_video;              // pool first, then the real spans in order
    std::vector<size_t> m_videoBase;               // per span: first packet, real spans only
    std::vector<std::vector<AudioPacket>> m_audio; // per span (real spans)
    std::vector<AudioPacket> m_poolAudio;
    std::vector<Gop> m_gops;
    std::vector<Segment> m_segs;
    size_t m_firstKept = 0;                      // first segment left on the card
    std::vector<uint16_t> m_numbers;             // per kept segment
    std::vector<std::vector<uint8_t>> m_entries; // per kept segment: its index entries
    std::vector<uint8_t> m_table;

    bool pooled(const Span &sp) const { return sp.pooled < 0 ? m_s.pooled : sp.pooled == 1; }
    int64_t frames(const Span &sp) const { return (sp.lengthMs * m_s.video.fps + 999) / 1000; }
    int64_t poolGopStart(int g) const { return int64_t(g) * m_s.video.keyint * 1000 / m_s.video.fps; }

    bool encode(std::string *error)
    {
        VideoEncoder enc;
        if (!enc.open(m_s.video, error))
            return false;
        const int keyint = m_s.video.keyint;
        bool anyPooled = false;
        for (const Span &sp : m_s.spans)
            anyPooled = anyPooled || pooled(sp);
        const Scene *scene = m_s.scene.present ? &m_s.scene : nullptr;
        size_t next = 0;
        if (anyPooled) {
            for (int g = 0; g < m_s.poolGops; ++g) {
                for (int f = 0; f < keyint; ++f) {
                    PictureInfo info;
                    info.stamp = kStampPooledFlag | (int64_t(g) << 16) | f;
                    info.motionMs = frameTime(0, int64_t(g) * keyint + f, m_s.video.fps);
                    info.showClock = false;
                    if (!enc.encode(info, f == 0, error))
                        return false;
                }
            }
            next = size_t(m_s.poolGops) * size_t(keyint);
            int64_t durMs = poolGopStart(m_s.poolGops);
            if (!encodeAudio(m_s.audio, nullptr, 0, durMs * m_s.audio.rate / 1000, &m_poolAudio, error))
                return false;
        }
        m_audio.resize(m_s.spans.size());
        for (size_t si = 0; si < m_s.spans.size(); ++si) {
            const Span &sp = m_s.spans[si];
            m_videoBase.push_back(next);
            if (pooled(sp))
                continue;
            int64_t n = frames(sp);
            for (int64_t i = 0; i < n; ++i) {
                PictureInfo info;
                info.stamp = frameTime(sp.startMs, i, m_s.video.fps);
                info.motionMs = info.stamp;
                info.localMs = info.stamp + int64_t(sp.offsetMin) * 60000;
                info.scene = scene;
                if (!enc.encode(info, i % keyint == 0, error))
                    return false;
            }
            next += size_t(n);
            if (!encodeAudio(m_s.audio, scene, sp.startMs, sp.lengthMs * m_s.audio.rate / 1000, &m_audio[si],
                             error))
                return false;
        }
        if (!enc.finish(&m_video, error))
            return false;
        // Every GOP must open with an IDR picture, or seeking to it breaks.
        for (size_t i = 0; i < m_video.size(); ++i) {
            bool shouldKey = false;
            if (anyPooled && i < size_t(m_s.poolGops) * size_t(keyint))
                shouldKey = i % size_t(keyint) == 0;
            else
                for (size_t si = 0; si < m_s.spans.size(); ++si)
                    if (!pooled(m_s.spans[si]) && i >= m_videoBase[si] &&
                        int64_t(i - m_videoBase[si]) < frames(m_s.spans[si]))
                        shouldKey = (i - m_videoBase[si]) % size_t(keyint) == 0;
            if (shouldKey && !m_video[i].key) {
                *error = "the video encoder did not start a GOP with a keyframe";
                return false;
            }
        }
        return true;
    }

    bool buildGops()
    {
        const int keyint = m_s.video.keyint, fps = m_s.video.fps, rate = m_s.audio.rate;
        long long poolCounter = 0;
        for (size_t si = 0; si < m_s.spans.size(); ++si) {
            const Span &sp = m_s.spans[si];
            const int64_t n = frames(sp);
            const int64_t spanEnd = sp.startMs + sp.lengthMs;
            size_t audioPos = 0;
            for (int64_t first = 0; first < n; first += keyint) {
                Gop gop;
                gop.span = int(si);
                gop.startMs = frameTime(sp.startMs, first, fps);
                const int64_t last = std::min<int64_t>(n, first + keyint);
                const int64_t gopEnd = last >= n ? spanEnd : frameTime(sp.startMs, last, fps);
                const int pool = int(poolCounter % m_s.poolGops);
                for (int64_t i = first; i < last; ++i) {
                    Frame f;
                    f.type = i == first ? 0 : 1;
                    f.timeMs = frameTime(sp.startMs, i, fps);
                    size_t packet = pooled(sp) ? size_t(pool) * size_t(keyint) + size_t(i - first)
                                               : m_videoBase[si] + size_t(i);
                    f.payload = &m_video[packet].data;
                    gop.frames.push_back(f);
                }
                if (pooled(sp)) {
                    const int64_t base = poolGopStart(pool), end = poolGopStart(pool + 1);
                    for (const AudioPacket &p : m_poolAudio) {
                        int64_t rel = p.pts * 1000 / rate;
                        if (rel < base || rel >= end)
                            continue;
                        int64_t t = gop.startMs + rel - base;
                        if (t < gopEnd)
                            gop.frames.push_back(Frame{2, t, &p.data});
                    }
                    ++poolCounter;
                } else {
                    const std::vector<AudioPacket> &audio = m_audio[si];
                    while (audioPos < audio.size()) {
                        int64_t t = sp.startMs + audio[audioPos].pts * 1000 / rate;
                        if (t >= gopEnd)
                            break;
                        gop.frames.push_back(Frame{2, t, &audio[audioPos].data});
                        ++audioPos;
                    }
                }
                std::stable_sort(gop.frames.begin(), gop.frames.end(), [](const Frame &a, const Frame &b) {
                    return a.timeMs != b.timeMs ? a.timeMs < b.timeMs : (a.type != 2 && b.type == 2);
                });
                for (const Frame &f : gop.frames)
                    gop.bytes += 24 + f.payload->size();
                m_gops.push_back(std::move(gop));
            }
        }
        return true;
    }

    // Start, continue and end marks go on the keyframes, as the camera sets
    // them. The camera marks only what it records: an event that outlasts
    // its recording ends on the recording's last keyframe (not on the first
    // keyframe of the next recording, hours later), and one that lies wholly
    // in a gap between recordings leaves no mark.
    bool markEvents()
    {
        std::vector<EventSpec> events = m_s.events;
        std::stable_sort(events.begin(), events.end(),
                         [](const EventSpec &a, const EventSpec &b) { return a.startMs < b.startMs; });
        size_t next = 0;
        int open = -1;
        for (size_t i = 0; i < m_gops.size(); ++i) {
            Gop &gop = m_gops[i];
            const int64_t t = gop.startMs;
            const bool resumed = i == 0 || m_gops[i - 1].span != gop.span;
            if (resumed && open >= 0 && !events[size_t(open)].open) {
                Gop &last = m_gops[i - 1];
                if (last.eventFlags == 0x01)
                    last.eventFlags = 0x04;
                open = -1;
            }
            while (resumed && next < events.size() && !events[next].open && events[next].startMs <= t &&
                   events[next].startMs + events[next].lengthMs <= t)
                ++next;
            if (open >= 0 && !events[size_t(open)].open &&
                t >= events[size_t(open)].startMs + events[size_t(open)].lengthMs) {
                gop.eventFlags = 0x04;
                gop.eventKinds = uint16_t(events[size_t(open)].kinds);
                open = -1;
            } else if (next < events.size() && events[next].startMs <= t) {
                gop.eventFlags = 0x02;
                gop.eventKinds = uint16_t(events[next].kinds);
                open = int(next++);
            } else if (open >= 0) {
                gop.eventFlags = 0x01;
                gop.eventKinds = uint16_t(events[size_t(open)].kinds);
            }
        }
        return true;
    }

    bool planSegments(std::string *error)
    {
        const int64_t lengthMs = int64_t(m_s.segmentSeconds) * 1000;
        for (size_t i = 0; i < m_gops.size(); ++i) {
            const Gop &gop = m_gops[i];
            if (gop.bytes > m_s.segmentSizeLimit) {
                *error = "one GOP is larger than the segment size limit";
                return false;
            }
            bool fresh = m_segs.empty();
            if (!fresh) {
                const Segment &cur = m_segs.back();
                fresh = m_gops[cur.gopFirst].span != gop.span || gop.startMs >= cur.startMs + lengthMs ||
                        cur.bytes + gop.bytes > m_s.segmentSizeLimit ||
                        cur.gopEnd - cur.gopFirst >= kMaxEntries;
            }
            if (fresh) {
                Segment seg;
                seg.gopFirst = i;
                seg.gopEnd = i;
                seg.startMs = gop.startMs;
                m_segs.push_back(seg);
            }
            m_segs.back().gopEnd = i + 1;
            m_segs.back().bytes += gop.bytes;
        }
        m_firstKept = m_segs.size() > size_t(m_s.slotCount) ? m_segs.size() - size_t(m_s.slotCount) : 0;
        m_stats->segmentsRecorded = int(m_segs.size());
        return true;
    }

    size_t keptCount() const { return m_segs.size() - m_firstKept; }

    bool findFrameDamage(const std::vector<FrameRef> &refs, size_t keptIndex, size_t frameCount,
                         std::vector<size_t> *frames, std::string *error) const
    {
        for (const FrameRef &r : refs) {
            size_t seg = 0, frame = 0;
            if (!resolvePlace(r.segment, keptCount(), &seg)) {
                *error = "damage names a segment the card does not keep";
                return false;
            }
            if (seg != keptIndex)
                continue;
            if (!resolvePlace(r.frame, frameCount, &frame)) {
                *error = "damage names a frame the segment does not hold";
                return false;
            }
            frames->push_back(frame);
        }
        return true;
    }

    bool writeSegments(std::string *error)
    {
        m_table.assign(size_t(m_s.slotCount) * 12, 0);
        for (size_t k = 0; k < keptCount(); ++k) {
            const size_t segIndex = m_firstKept + k;
            const Segment &seg = m_segs[segIndex];
            const unsigned number = unsigned((int64_t(m_s.numberStart) + int64_t(segIndex)) % m_s.numberWrap);
            const size_t position = size_t((int64_t(m_s.positionStart) + int64_t(segIndex)) % m_s.slotCount);
            m_numbers.push_back(uint16_t(number));

            size_t frameCount = 0;
            for (size_t g = seg.gopFirst; g < seg.gopEnd; ++g)
                frameCount += m_gops[g].frames.size();
            std::vector<size_t> badCrc, overrun, timeBack, timeAhead, garbled;
            if (!findFrameDamage(m_s.damage.frameBadChecksum, k, frameCount, &badCrc, error) ||
                !findFrameDamage(m_s.damage.frameOverrun, k, frameCount, &overrun, error) ||
                !findFrameDamage(m_s.damage.frameTimeBack, k, frameCount, &timeBack, error) ||
                !findFrameDamage(m_s.damage.frameTimeAhead, k, frameCount, &timeAhead, error) ||
                !findFrameDamage(m_s.damage.framePayloadGarbled, k, frameCount, &garbled, error))
                return false;
            auto has = [](const std::vector<size_t> &v, size_t i) {
                return std::find(v.begin(), v.end(), i) != v.end();
            };

            std::vector<uint8_t> file;
            file.reserve(size_t(seg.bytes));
            std::vector<uint8_t> entries;
            int64_t firstMs = -1, lastMs = -1, prevMs = -1;
            bool anyEvent = false;
            size_t frameIndex = 0;
            uint32_t padTo = 0;
            const int offsetMin = m_s.spans[size_t(m_gops[seg.gopFirst].span)].offsetMin;
            for (size_t g = seg.gopFirst; g < seg.gopEnd; ++g) {
                const Gop &gop = m_gops[g];
                for (const Frame &f : gop.frames) {
                    const uint32_t offset = uint32_t(file.size());
                    if (f.type == 0) {
                        uint8_t e[16] = {0};
                        put32(e, uint32_t(f.timeMs / 1000));
                        put32(e + 4, offset);
                        put16(e + 8, uint32_t(f.timeMs % 1000));
                        e[10] = gop.eventFlags;
                        put16(e + 12, gop.eventKinds);
                        put16(e + 14, uint16_t(int16_t(offsetMin)));
                        entries.insert(entries.end(), e, e + 16);
                        anyEvent = anyEvent || gop.eventFlags != 0;
                    }
                    int64_t t = f.timeMs;
                    if (has(timeBack, frameIndex))
                        t = (prevMs >= 0 ? prevMs : t) - 6000;
                    if (has(timeAhead, frameIndex))
                        t += 86400000;
                    uint32_t size = uint32_t(f.payload->size());
                    if (has(overrun, frameIndex)) {
                        int64_t claim = int64_t(m_s.segmentSizeLimit) + 1 - int64_t(offset) - 24;
                        if (claim <= int64_t(size) || claim > kMaxPayload) {
                            *error =
                                "frame overrun damage: the segment size limit is out of reach of that frame";
                            return false;
                        }
                        size = uint32_t(claim);
                        padTo = m_s.segmentSizeLimit + 1;
                    }
                    uint8_t h[24] = {0};
                    put32(h, kFrameMagic);
                    h[4] = f.type;
                    put32(h + 8, uint32_t(t / 1000));
                    put16(h + 12, uint32_t(t % 1000));
                    put16(h + 14, uint16_t(int16_t(offsetMin)));
                    put32(h + 16, size);
                    uint16_t crc = crc16(h, 20);
                    if (has(badCrc, frameIndex))
                        crc ^= 0x5A5A;
                    put16(h + 20, crc);
                    file.insert(file.end(), h, h + 24);
                    if (has(garbled, frameIndex))
                        file.insert(file.end(), f.payload->size(), uint8_t(0xA5)); // no start code
                    else
                        file.insert(file.end(), f.payload->begin(), f.payload->end());
                    if (firstMs < 0 || f.timeMs < firstMs)
                        firstMs = f.timeMs;
                    lastMs = std::max(lastMs, f.timeMs);
                    prevMs = f.timeMs;
                    ++frameIndex;
                    if (f.type == 2)
                        ++m_stats->audioFrames;
                    else
                        ++m_stats->videoFrames;
                }
            }
            if (file.size() < padTo)
                file.resize(padTo, 0);
            if (!writeFile(segmentPath(m_dir, number), file, error))
                return false;
            m_stats->bytes += (long long)file.size();
            m_entries.push_back(std::move(entries));

            uint8_t *te = m_table.data() + position * 12;
            put32(te, uint32_t(firstMs / 1000));
            put32(te + 4, uint32_t(lastMs / 1000));
            put16(te + 8, number);
            te[10] = k + 1 == keptCount() ? 2 : 1; // the newest segment is still being recorded
            te[11] = anyEvent ? 1 : 0;
        }
        m_stats->segmentsWritten = int(keptCount());
        return true;
    }

    bool writeIndex(std::string *error)
    {
        size_t maxEntries = 1;
        for (const auto &e : m_entries)
            maxEntries = std::max(maxEntries, e.size() / 16);
        const uint32_t tableOffset = 64;
        const uint32_t block0 = roundUp(tableOffset + uint32_t(m_s.slotCount) * 12, 4096);
        const uint32_t stride = roundUp(20 + uint32_t(maxEntries) * 16, 512);
        const uint64_t total = uint64_t(block0) + uint64_t(m_s.indexSlots) * stride;
        if (total > 0xFFFFFFFFull) {
            *error = "index.dat would exceed 4 GiB";
            return false;
        }
        std::vector<uint8_t> file(size_t(total), 0);
        uint8_t *h = file.data();
        put32(h, kIndexMagic);
        put16(h + 6, uint32_t(m_s.indexSlots));
        put32(h + 12, tableOffset);
        put32(h + 20, block0);
        put32(h + 24, stride);
        uint32_t crc = crc32(h, 28);
        if (m_s.damage.indexHeaderCorrupt)
            crc ^= 0x00A5A5A5;
        put32(h + 28, crc);
        std::memcpy(file.data() + tableOffset, m_table.data(), m_table.size());

        std::vector<size_t> badBlocks;
        for (int place : m_s.damage.indexBlockBadChecksum) {
            size_t k = 0;
            if (!resolvePlace(place, keptCount(), &k)) {
                *error = "damage names a segment the card does not keep";
                return false;
            }
            badBlocks.push_back(k);
        }
        for (size_t k = 0; k < keptCount(); ++k) {
            if (m_numbers[k] >= m_s.indexSlots)
                continue; // no block for this number: the segment has no index entries
            uint8_t *b = file.data() + block0 + size_t(m_numbers[k]) * stride;
            put32(b, kBlockMagic);
            put16(b + 4, uint32_t(m_entries[k].size() / 16));
            uint16_t bcrc = crc16(b, 18);
            if (std::find(badBlocks.begin(), badBlocks.end(), k) != badBlocks.end())
                bcrc ^= 0x5A5A;
            put16(b + 18, bcrc);
            std::memcpy(b + 20, m_entries[k].data(), m_entries[k].size());
        }
        m_stats->bytes += (long long)file.size();
        return writeFile(m_dir + "/index.dat", file, error);
    }

    void metaRecord(uint8_t *r, uint64_t formatMs, uint32_t generation, uint16_t version, bool badCrc) const
    {
        std::memset(r, 0, 64);
        put64(r, formatMs);
        put32(r + 8, kMetaMagic);
        put32(r + 12, generation);
        put32(r + 16, m_s.segmentSizeLimit);
        put16(r + 24, version);
        put16(r + 28, uint32_t(m_s.slotCount));
        uint32_t crc = crc32(r, 60);
        put32(r + 60, badCrc ? crc ^ 0xFFFF0000u : crc);
    }

    bool writeMeta(std::string *error)
    {
        const Damage &d = m_s.damage;
        const uint64_t fmt = uint64_t(m_s.formatTimeMs);
        std::vector<uint8_t> file(128, 0);
        if (d.version1) {
            // Old firmware: two 40-byte records, CRC-32 of bytes 0..35 at 36.
            file.assign(80, 0);
            for (int c = 0; c < 2; ++c) {
                uint8_t *r = file.data() + c * 40;
                put64(r, fmt);
                put32(r + 8, kMetaMagic);
                put32(r + 12, m_s.metaGeneration - uint32_t(c));
                put32(r + 16, m_s.segmentSizeLimit);
                put16(r + 24, 1);
                put16(r + 28, uint32_t(m_s.slotCount));
                put32(r + 36, crc32(r, 36));
            }
        } else if (d.newerVersion) {
            metaRecord(file.data(), fmt, m_s.metaGeneration, 3, d.newerVersionBadChecksum);
            metaRecord(file.data() + 64, fmt, m_s.metaGeneration - 1, 3, d.newerVersionBadChecksum);
        } else if (d.metaGenerationWrap) {
            // Copy A is the older record (one day earlier format time); B wrapped past it.
            metaRecord(file.data(), fmt - 86400000u, 0xFFFFFFFFu, 2, d.metaBadChecksum == "A");
            metaRecord(file.data() + 64, fmt, 0, 2, d.metaBadChecksum == "B");
        } else {
            metaRecord(file.data(), fmt, m_s.metaGeneration, 2, d.metaBadChecksum == "A");
            metaRecord(file.data() + 64, fmt, m_s.metaGeneration - 1, 2, d.metaBadChecksum == "B");
        }
        return writeFile(m_dir + "/meta.dat", file, error);
    }

    bool writeTimeline(std::string *error)
    {
        const Damage &d = m_s.damage;
        if (d.timelineAbsent)
            return true;
        // Each span's last second comes from the frames recorded in it.
        std::vector<int64_t> lastMs(m_s.spans.size(), -1), firstMs(m_s.spans.size(), -1);
        for (const Gop &gop : m_gops) {
            for (const Frame &f : gop.frames) {
                int64_t &lo = firstMs[size_t(gop.span)];
                int64_t &hi = lastMs[size_t(gop.span)];
                if (lo < 0 || f.timeMs < lo)
                    lo = f.timeMs;
                hi = std::max(hi, f.timeMs);
            }
        }
        std::vector<uint8_t> file(128 + kTimelineCapacity * 8, 0);
        uint32_t head = uint32_t(m_s.timelineHead), count = 0;
        for (size_t si = 0; si < m_s.spans.size(); ++si) {
            uint32_t slot = (head + count) % kTimelineCapacity;
            if (count == kTimelineCapacity)
                head = (head + 1) % kTimelineCapacity; // the ring overwrites its oldest entry
            else
                ++count;
            uint32_t start = uint32_t(firstMs[si] / 1000);
            uint32_t duration = uint32_t(lastMs[si] / 1000) - start;
            uint8_t *e = file.data() + 128 + slot * 8;
            put32(e, start);
            put32(e + 4,
                  (duration & 0xFFFFFFu) | (uint32_t(uint8_t(int8_t(m_s.spans[si].offsetMin / 15))) << 24));
        }
        if (d.timelineOpenNewest) {
            uint8_t *e = file.data() + 128 + ((head + count - 1) % kTimelineCapacity) * 8;
            e[4] = e[5] = e[6] = 0xFF;
        }
        if (d.timelineBadEntry >= 0) {
            if (uint32_t(d.timelineBadEntry) >= count) {
                *error = "damage names a timeline entry the table does not hold";
                return false;
            }
            file[128 + ((head + uint32_t(d.timelineBadEntry)) % kTimelineCapacity) * 8 + 7] = 57; // +855 min
        }
        for (int c = 0; c < 2; ++c) {
            uint8_t *h = file.data() + 32 * c;
            put32(h, kTimelineMagic);
            put16(h + 4, d.timelineBadHeader == "version" ? 3 : 2);
            put16(h + 6, kTimelineCapacity);
            put32(h + 8, m_s.timelineGeneration - uint32_t(c));
            put32(h + 12, head);
            put32(h + 16, count);
            put32(h + 20, 128);
            uint32_t crc = crc32(h, 28);
            put32(h + 28, d.timelineBadHeader == "crc" ? ~crc : crc);
        }
        m_stats->timelineEntries = int(count);
        return writeFile(m_dir + "/timeline.dat", file, error);
    }

    bool deleteSegments(std::string *error)
    {
        for (int place : m_s.damage.deleteSegments) {
            size_t k = 0;
            if (!resolvePlace(place, keptCount(), &k)) {
                *error = "damage names a segment the card does not keep";
                return false;
            }
            std::remove(segmentPath(m_dir, m_numbers[k]).c_str());
        }
        return true;
    }
};

void appendNumber(std::string *out, double v)
{
    char buf[32];
    auto r = std::to_chars(buf, buf + sizeof buf, v);
    out->append(buf, r.ptr);
}

void appendField(std::string *out, const char *key, double v)
{
    *out += ",\"";
    *out += key;
    *out += "\":";
    appendNumber(out, v);
}

// Integers in full: the shortest form of a double may be in e-notation.
void appendField(std::string *out, const char *key, int64_t v)
{
    *out += ",\"";
    *out += key;
    *out += "\":" + std::to_string(v);
}

std::string rectJson(const Rect &r, int width, int height)
{
    std::string out = "{\"x\":";
    appendNumber(&out, double(r.x) / width);
    appendField(&out, "y", double(r.y) / height);
    appendField(&out, "w", double(r.w) / width);
    appendField(&out, "h", double(r.h) / height);
    return out + "}";
}

// What a scene card shows when, for checking an activity index against it:
// the scripted changes (times in UTC ms, ends exclusive) and the picture's
// areas that change with time anyway (time code and clock), in fractions of
// the picture. Written by hand to keep the keys in reading order.
std::string groundTruthJson(const Scenario &s)
{
    const int width = s.video.width, height = s.video.height;
    std::string out =
        "{\"width\":" + std::to_string(width) + ",\"height\":" + std::to_string(height) + ",\"changes\":[";
    const char *sep = "\n ";
    for (const SceneObject &ob : s.scene.objects) {
        out += sep;
        out += "{\"kind\":\"object\"";
        appendField(&out, "startMs", ob.startMs);
        appendField(&out, "endMs", ob.startMs + ob.lengthMs);
        appendField(&out, "x", ob.x);
        appendField(&out, "y", ob.y);
        appendField(&out, "w", ob.w);
        appendField(&out, "h", ob.h);
        appendField(&out, "toX", ob.toX);
        appendField(&out, "toY", ob.toY);
        appendField(&out, "luma", int64_t(ob.luma));
        out += "}";
        sep = ",\n ";
    }
    for (const LightingStep &step : s.scene.lighting) {
        out += sep;
        out += "{\"kind\":\"lighting\"";
        appendField(&out, "atMs", step.atMs);
        appendField(&out, "delta", int64_t(step.delta));
        out += "}";
        sep = ",\n ";
    }
    for (const SoundBurst &b : s.scene.sounds) {
        out += sep;
        out += "{\"kind\":\"sound\"";
        appendField(&out, "startMs", b.startMs);
        appendField(&out, "endMs", b.startMs + b.lengthMs);
        appendField(&out, "dbfs", b.dbfs);
        out += "}";
        sep = ",\n ";
    }
    Rect stamp, clock;
    overlayRects(width, height, &stamp, &clock);
    out += "\n],\n\"stamp\":" + rectJson(stamp, width, height) +
           ",\"clock\":" + rectJson(clock, width, height) + "}\n";
    return out;
}

} // namespace

bool writeCard(const Scenario &scenario, const std::string &outDir, CardStats *stats, std::string *error)
{
    QDir dir(QString::fromStdString(outDir));
    if (!dir.mkpath(".")) {
        *error = "cannot create " + outDir;
        return false;
    }
    const QStringList old = dir.entryList(
        {"seg_*.dat", "meta.dat", "index.dat", "timeline.dat", "ground_truth.json"}, QDir::Files);
    for (const QString &name : old)
        QFile::remove(dir.filePath(name));
    *stats = CardStats();
    Builder b(scenario, outDir, stats);
    if (!b.run(error))
        return false;
    if (!scenario.scene.present)
        return true;
    // At the recording directory's top level, beside the card's own files.
    const std::string truth = groundTruthJson(scenario);
    return writeFile(outDir + "/ground_truth.json", std::vector<uint8_t>(truth.begin(), truth.end()), error);
}

} // namespace cardgen
