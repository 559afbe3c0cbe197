// Checks nivra-cardgen's cards against the format read back byte by byte and
// against ffmpeg/ffprobe, which decode the recorded video and sound.
#include "cardbytes.h"
#include "simcard.h"
#include "stamp.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ctime>
#include <fstream>
#include <algorithm>
#include <cstdio>
#include <map>
#include <set>
#include <memory>
#include <sstream>

using namespace cardbytes;
using nivra::test::TempDir;

namespace {

int64_t utcMs(int y, int mo, int d, int h, int mi, int s)
{
    std::tm tm{};
    tm.tm_year = y - 1900;
    tm.tm_mon = mo - 1;
    tm.tm_mday = d;
    tm.tm_hour = h;
    tm.tm_min = mi;
    tm.tm_sec = s;
    return int64_t(timegm(&tm)) * 1000;
}

struct Generated {
    std::unique_ptr<TempDir> dir;
    std::string path;
    Card card;
};

// Cards are written once per run and shared by the tests that read them.
const Generated &presetCard(const std::string &preset)
{
    static std::map<std::string, std::unique_ptr<Generated>> cache;
    auto it = cache.find(preset);
    if (it != cache.end())
        return *it->second;
    auto g = std::make_unique<Generated>();
    g->dir = std::make_unique<TempDir>("cardgen");
    g->path = g->dir->file("card");
    std::string log;
    EXPECT_TRUE(nivra::test::generatePresetCard(preset, g->path, &log)) << log;
    EXPECT_TRUE(loadCard(g->path, &g->card)) << preset;
    return *(cache[preset] = std::move(g));
}

bool writeBytes(const std::string &path, const Bytes &b)
{
    std::ofstream f(path, std::ios::binary);
    f.write(reinterpret_cast<const char *>(b.data()), std::streamsize(b.size()));
    return bool(f);
}

Bytes payload(const Segment &s, const FrameHeader &f)
{
    return Bytes(s.file.begin() + long(f.offset + 24), s.file.begin() + long(f.offset + 24 + f.size));
}

std::vector<std::string> lines(const std::string &text)
{
    std::vector<std::string> out;
    std::istringstream in(text);
    std::string l;
    while (std::getline(in, l))
        out.push_back(l);
    return out;
}

// Collects the parameter-set NAL types found after 00 00 01 start codes.
std::vector<int> nalTypes(const Bytes &b, bool hevc)
{
    std::vector<int> out;
    for (size_t i = 0; i + 3 < b.size(); ++i)
        if (b[i] == 0 && b[i + 1] == 0 && b[i + 2] == 1)
            out.push_back(hevc ? (b[i + 3] >> 1) & 0x3F : b[i + 3] & 0x1F);
    return out;
}

// Decodes an Annex-B file with ffmpeg and reads every picture's time code.
std::vector<std::string> decodeStamps(const std::string &file, const char *format, int *width, int *height)
{
    std::string probe;
    nivra::test::runCommand("ffprobe -v error -f " + std::string(format) + " -show_entries stream=width,height -of csv=p=0 "
                                + nivra::test::shellQuote(file),
                            &probe);
    *width = *height = 0;
    std::sscanf(probe.c_str(), "%d,%d", width, height);
    std::string out;
    nivra::test::runCommand("ffmpeg -v error -f " + std::string(format) + " -i " + nivra::test::shellQuote(file)
                                + " -vsync passthrough -f rawvideo -pix_fmt gray - | "
                                + nivra::test::shellQuote(nivra::test::stampreadPath()) + " "
                                + std::to_string(*width) + " " + std::to_string(*height),
                            &out);
    return lines(out);
}

// Decodes audio to 16-bit mono samples with ffmpeg.
std::vector<int16_t> decodeAudio(const std::string &file, const std::string &inputArgs, int rate)
{
    const std::string pcm = file + ".pcm";
    std::string log;
    nivra::test::runCommand("ffmpeg -v error -y " + inputArgs + " -i " + nivra::test::shellQuote(file) + " -ac 1 -ar "
                                + std::to_string(rate) + " -f s16le " + nivra::test::shellQuote(pcm),
                            &log);
    Bytes raw;
    readAll(pcm, &raw);
    std::vector<int16_t> out(raw.size() / 2);
    for (size_t i = 0; i < out.size(); ++i)
        out[i] = int16_t(le16(raw, 2 * i));
    return out;
}

// ADTS header for one raw AAC LC frame (written here, not taken from the tool).
Bytes withAdts(const Bytes &raw, int rateIndex, int channels)
{
    const size_t len = raw.size() + 7;
    Bytes out = {0xFF, 0xF1, uint8_t(0x40 | (rateIndex << 2) | (channels >> 2)),
                 uint8_t(((channels & 3) << 6) | (len >> 11)), uint8_t(len >> 3), uint8_t(((len & 7) << 5) | 0x1F), 0xFC};
    out.insert(out.end(), raw.begin(), raw.end());
    return out;
}

struct PresetCase {
    const char *preset;
    const char *videoFormat;   // ffmpeg demuxer for the Annex-B stream
    const char *audio;         // "adts", "raw", "alaw" or "none"
    int rate;
};

std::ostream &operator<<(std::ostream &o, const PresetCase &c) { return o << c.preset; }

const PresetCase kCases[] = {
    {"small", "h264", "adts", 16000},      {"h265-g711", "hevc", "alaw", 8000},
    {"h264-rawaac", "h264", "raw", 16000}, {"g711-16k", "h264", "alaw", 16000},
    {"noaudio", "h264", "none", 0},        {"clockchange", "h264", "adts", 16000},
};

class PresetCard : public ::testing::TestWithParam<PresetCase> {};

} // namespace

TEST(CardBytes, ChecksumsMatchPublishedCheckValues)
{
    const uint8_t check[] = {'1', '2', '3', '4', '5', '6', '7', '8', '9'};
    EXPECT_EQ(crc32(check, 9), 0xCBF43926u);
    EXPECT_EQ(crc16(check, 9), 0x29B1u);
}

TEST_P(PresetCard, RecordsAreConsistent)
{
    const Card &c = presetCard(GetParam().preset).card;
    ASSERT_FALSE(c.segments.empty());
    for (const Meta *m : {&c.metaA, &c.metaB}) {
        EXPECT_EQ(m->magic, 0x53444D54u);
        EXPECT_EQ(m->version, 2);
        EXPECT_TRUE(m->crcOk);
        EXPECT_EQ(m->count, c.table.size());
    }
    EXPECT_EQ(int32_t(c.metaA.generation - c.metaB.generation), 1) << "copy A is the current one";
    EXPECT_TRUE(c.indexHeaderOk);
    EXPECT_GE(c.slotCount, c.metaA.count);
    EXPECT_GE(c.tableOffset, 32u);

    for (const Segment &s : c.segments) {
        SCOPED_TRACE("segment " + std::to_string(s.entry.number));
        ASSERT_TRUE(s.present);
        ASSERT_FALSE(s.frames.empty());
        EXPECT_EQ(s.frames.front().type, 0) << "a segment starts with a keyframe";
        size_t end = 0;
        int64_t lo = INT64_MAX, hi = 0, prev = 0;
        std::vector<const FrameHeader *> keys;
        for (const FrameHeader &f : s.frames) {
            EXPECT_TRUE(f.crcOk);
            EXPECT_LE(f.type, 2);
            EXPECT_LE(f.size, 0x400000u);
            EXPECT_GE(f.timeMs(), prev) << "frames are stored in time order";
            EXPECT_LT(f.ms, 1000);
            prev = f.timeMs();
            lo = std::min(lo, f.timeMs());
            hi = std::max(hi, f.timeMs());
            end = f.offset + 24 + f.size;
            EXPECT_LE(end, c.metaA.segmentSize);
            if (f.type == 0)
                keys.push_back(&f);
        }
        EXPECT_EQ(end, s.file.size()) << "frames fill the file exactly";
        EXPECT_EQ(s.entry.first, uint32_t(lo / 1000));
        EXPECT_EQ(s.entry.last, uint32_t(hi / 1000));

        ASSERT_TRUE(s.blockValid);
        ASSERT_EQ(s.entries.size(), keys.size()) << "one index entry per keyframe";
        bool marks = false;
        for (size_t i = 0; i < keys.size(); ++i) {
            EXPECT_EQ(s.entries[i].offset, keys[i]->offset);
            EXPECT_EQ(s.entries[i].timeMs(), keys[i]->timeMs());
            EXPECT_EQ(s.entries[i].utcOffset, keys[i]->utcOffset);
            marks = marks || s.entries[i].flags != 0;
        }
        EXPECT_EQ(s.entry.eventFlag != 0, marks);
    }

    // Every segment lies inside one timeline span, and each span starts with
    // its first segment and ends with its last one.
    Timeline tl = timelineOf(c.timeline);
    EXPECT_EQ(tl.magicA, 0x53544D4Cu);
    EXPECT_TRUE(tl.crcA);
    EXPECT_TRUE(tl.crcB);
    EXPECT_EQ(tl.versionA, 2);
    EXPECT_EQ(tl.capacity, 8192u);
    EXPECT_EQ(tl.entryOffset, 128u);
    EXPECT_EQ(c.timeline.size(), 128u + 8192u * 8u);
    ASSERT_FALSE(tl.entries.empty());
    for (const TimelineEntry &e : tl.entries) {
        uint32_t first = UINT32_MAX, last = 0;
        for (const Segment &s : c.segments) {
            if (s.entry.first >= e.start && s.entry.last <= e.start + e.duration) {
                first = std::min(first, s.entry.first);
                last = std::max(last, s.entry.last);
                EXPECT_EQ(s.frames.front().utcOffset, e.offsetMin);
            }
        }
        EXPECT_EQ(first, e.start);
        EXPECT_EQ(last, e.start + e.duration);
    }
}

TEST_P(PresetCard, VideoDecodesToPicturesStampedWithTheirFrameTimes)
{
    const PresetCase &pc = GetParam();
    const Generated &g = presetCard(pc.preset);
    const bool hevc = std::string(pc.videoFormat) == "hevc";
    Bytes stream;
    std::vector<std::string> expected;
    for (const Segment &s : g.card.segments) {
        for (const FrameHeader &f : s.frames) {
            if (f.type == 2)
                continue;
            Bytes p = payload(s, f);
            if (f.type == 0) {
                std::vector<int> t = nalTypes(p, hevc);
                auto has = [&](int n) { return std::find(t.begin(), t.end(), n) != t.end(); };
                EXPECT_TRUE(hevc ? has(32) && has(33) && (has(19) || has(20)) : has(7) && has(8) && has(5))
                    << "keyframe at " << f.timeMs() << " lacks its parameter sets or IDR slice";
            }
            stream.insert(stream.end(), p.begin(), p.end());
            expected.push_back(std::to_string(f.timeMs()));
        }
    }
    const std::string file = g.dir->file("video.es");
    ASSERT_TRUE(writeBytes(file, stream));
    int w = 0, h = 0;
    std::vector<std::string> stamps = decodeStamps(file, pc.videoFormat, &w, &h);
    EXPECT_EQ(w, 320);
    EXPECT_EQ(h, 240);
    ASSERT_EQ(stamps.size(), expected.size());
    EXPECT_EQ(stamps, expected);
}

TEST_P(PresetCard, SoundDecodesToItsDurationWithBeepsOnWholeSeconds)
{
    const PresetCase &pc = GetParam();
    const Generated &g = presetCard(pc.preset);
    const std::string kind = pc.audio;
    size_t frames = 0, bytes = 0;
    for (const Segment &s : g.card.segments)
        for (const FrameHeader &f : s.frames)
            if (f.type == 2) {
                ++frames;
                bytes += f.size;
            }
    if (kind == "none") {
        EXPECT_EQ(frames, 0u);
        return;
    }
    ASSERT_GT(frames, 0u);

    // The first segment's sound, decoded on its own, starts at its first audio frame.
    const Segment &first = g.card.segments.front();
    Bytes stream;
    int64_t startMs = -1;
    size_t firstFrames = 0;
    std::set<uint32_t> sizes;
    for (const FrameHeader &f : first.frames) {
        if (f.type != 2)
            continue;
        if (startMs < 0)
            startMs = f.timeMs();
        Bytes p = payload(first, f);
        sizes.insert(f.size);
        if (kind == "raw") {
            EXPECT_FALSE(p.size() >= 2 && p[0] == 0xFF && (p[1] & 0xF6) == 0xF0) << "raw AAC has no ADTS header";
            p = withAdts(p, pc.rate == 16000 ? 8 : 11, 1);
        } else if (kind == "adts") {
            ASSERT_GE(p.size(), 7u);
            EXPECT_EQ(p[0], 0xFF);
            EXPECT_EQ(p[1] & 0xF6, 0xF0);
            EXPECT_EQ((size_t(p[3] & 3) << 11 | size_t(p[4]) << 3 | p[5] >> 5), p.size()) << "ADTS frame length";
        }
        stream.insert(stream.end(), p.begin(), p.end());
        ++firstFrames;
    }
    const std::string file = g.dir->file("audio.es");
    ASSERT_TRUE(writeBytes(file, stream));
    std::string input = kind == "alaw" ? "-f alaw -ar " + std::to_string(pc.rate) + " -ac 1" : "-f aac";
    std::vector<int16_t> pcm = decodeAudio(file, input, pc.rate);
    if (kind == "alaw") {
        EXPECT_EQ(sizes, std::set<uint32_t>{uint32_t(pc.rate / 50)}) << "20 ms packets";
        EXPECT_EQ(pcm.size(), stream.size());
    } else {
        EXPECT_EQ(pcm.size(), firstFrames * 1024);
    }
    const double seconds = double(pcm.size()) / pc.rate;
    const double segmentSeconds = (first.frames.back().timeMs() - startMs) / 1000.0;
    EXPECT_NEAR(seconds, segmentSeconds, 0.15);

    // Beeps: 5 ms windows far louder than the tone; each onset on a whole
    // second. The decoder's first 50 ms and the last 100 ms are left out (an
    // AAC decoder starts without the previous frame's overlap).
    const int win = pc.rate / 200;
    const size_t from = size_t(pc.rate) / 20, to = pcm.size() - size_t(pc.rate) / 10;
    std::vector<int64_t> onsets;
    bool loud = true;
    for (size_t i = from; i + size_t(win) <= to; i += size_t(win)) {
        double sum = 0;
        for (int k = 0; k < win; ++k)
            sum += double(pcm[i + size_t(k)]) * pcm[i + size_t(k)];
        bool now = std::sqrt(sum / win) > 0.22 * 32767;
        if (now && !loud)
            onsets.push_back(startMs + int64_t(i) * 1000 / pc.rate);
        loud = now;
    }
    std::vector<int64_t> wholeSeconds;
    for (int64_t t = (startMs + int64_t(from) * 1000 / pc.rate) / 1000 * 1000 + 1000;
         t + 100 <= startMs + int64_t(to) * 1000 / pc.rate; t += 1000)
        wholeSeconds.push_back(t);
    ASSERT_EQ(onsets.size(), wholeSeconds.size());
    for (size_t i = 0; i < onsets.size(); ++i)
        EXPECT_NEAR(double(onsets[i]), double(wholeSeconds[i]), 10.0) << "beep " << i;
}

INSTANTIATE_TEST_SUITE_P(Presets, PresetCard, ::testing::ValuesIn(kCases),
                         [](const auto &info) {
                             std::string n = info.param.preset;
                             std::replace(n.begin(), n.end(), '-', '_');
                             return n;
                         });

TEST(Events, MarksOnKeyframesDescribeTheScenarioEvents)
{
    // Scan the marks as the camera means them: start opens, continue extends,
    // end closes, events carry across segment files.
    const Card &c = presetCard("small").card;
    struct Ev {
        int64_t first, last;
        int kinds;
        bool ended;
        std::set<uint16_t> segments;
    };
    std::vector<Ev> events;
    bool open = false;
    for (const Segment &s : c.segments) {
        for (const IndexEntry &e : s.entries) {
            if (e.flags & 2) {
                ASSERT_FALSE(open) << "no event is cut short in this preset";
                events.push_back(Ev{e.second, e.second, e.kinds, false, {s.entry.number}});
                open = true;
            } else if ((e.flags & 4) && open) {
                events.back().last = e.second;
                events.back().kinds |= e.kinds;
                events.back().ended = true;
                events.back().segments.insert(s.entry.number);
                open = false;
            } else if ((e.flags & 1) && open) {
                events.back().last = e.second;
                events.back().kinds |= e.kinds;
                events.back().segments.insert(s.entry.number);
            } else {
                EXPECT_EQ(e.flags, 0) << "mark without an open event at " << e.second;
            }
        }
    }
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].first * 1000, utcMs(2024, 3, 5, 10, 0, 22));
    EXPECT_EQ(events[0].last * 1000, utcMs(2024, 3, 5, 10, 0, 36));
    EXPECT_EQ(events[0].kinds, 0x01);
    EXPECT_TRUE(events[0].ended);
    EXPECT_EQ(events[0].segments.size(), 2u) << "the motion event crosses a segment boundary";
    EXPECT_EQ(events[1].first * 1000, utcMs(2024, 3, 5, 10, 2, 20));
    EXPECT_EQ(events[1].kinds, 0x12);
    EXPECT_FALSE(events[1].ended) << "the last event is left open";
    EXPECT_EQ(events[1].last, c.segments.back().entries.back().second);
}

TEST(Clock, ClockChangeAndMonthEndSpans)
{
    const Card &c = presetCard("clockchange").card;
    Timeline tl = timelineOf(c.timeline);
    ASSERT_EQ(tl.entries.size(), 3u);
    EXPECT_EQ(int64_t(tl.entries[0].start) * 1000, utcMs(2024, 1, 31, 22, 59, 30));
    EXPECT_EQ(tl.entries[0].offsetMin, 60);
    EXPECT_EQ(tl.entries[1].offsetMin, 60);
    EXPECT_EQ(tl.entries[2].offsetMin, 120);
    EXPECT_EQ(tl.entries[1].start + tl.entries[1].duration + 1, tl.entries[2].start) << "no gap at the clock change";
    for (const Segment &s : c.segments)
        for (const FrameHeader &f : s.frames)
            EXPECT_EQ(f.utcOffset, f.timeMs() < utcMs(2024, 3, 31, 1, 0, 0) ? 60 : 120);
}
