// Checks nivra-cardgen's cards against the format read back byte by byte and
// against ffmpeg/ffprobe, which decode the recorded video and sound.
#include "cardbytes.h"
#include "simcard.h"
#include "stamp.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <set>
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

struct Generated
{
    std::unique_ptr<TempDir> dir; // scratch space for decoded streams
    std::string path;
    Card card;
};

// Preset cards are written at build time (nivra_sim_card) and loaded once
// per test process.
const Generated &presetCard(const std::string &preset)
{
    static std::map<std::string, std::unique_ptr<Generated>> cache;
    auto it = cache.find(preset);
    if (it != cache.end())
        return *it->second;
    auto g = std::make_unique<Generated>();
    g->dir = std::make_unique<TempDir>("cardgen");
    g->path = std::string(NIVRA_SIMCARDS_DIR) + "/" + preset;
    EXPECT_TRUE(loadCard(g->path, &g->card)) << g->path;
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
    nivra::test::runCommand("ffprobe -v error -f " + std::string(format) +
                                " -show_entries stream=width,height -of csv=p=0 " +
                                nivra::test::shellQuote(file),
                            &probe);
    *width = *height = 0;
    std::sscanf(probe.c_str(), "%d,%d", width, height);
    std::string out;
    nivra::test::runCommand("ffmpeg -v error -f " + std::string(format) + " -i " +
                                nivra::test::shellQuote(file) +
                                " -vsync passthrough -f rawvideo -pix_fmt gray - | " +
                                nivra::test::shellQuote(nivra::test::stampreadPath()) + " " +
                                std::to_string(*width) + " " + std::to_string(*height),
                            &out);
    return lines(out);
}

// Decodes audio to 16-bit mono samples with ffmpeg.
std::vector<int16_t> decodeAudio(const std::string &file, const std::string &inputArgs, int rate)
{
    const std::string pcm = file + ".pcm";
    std::string log;
    nivra::test::runCommand("ffmpeg -v error -y " + inputArgs + " -i " + nivra::test::shellQuote(file) +
                                " -ac 1 -ar " + std::to_string(rate) + " -f s16le " +
                                nivra::test::shellQuote(pcm),
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
    Bytes out = {0xFF,
                 0xF1,
                 uint8_t(0x40 | (rateIndex << 2) | (channels >> 2)),
                 uint8_t(((channels & 3) << 6) | (len >> 11)),
                 uint8_t(len >> 3),
                 uint8_t(((len & 7) << 5) | 0x1F),
                 0xFC};
    out.insert(out.end(), raw.begin(), raw.end());
    return out;
}

struct PresetCase
{
    const char *preset;
    const char *videoFormat; // ffmpeg demuxer for the Annex-B stream
    const char *audio;       // "adts", "raw", "alaw" or "none"
    int rate;
};

std::ostream &operator<<(std::ostream &o, const PresetCase &c)
{
    return o << c.preset;
}

const PresetCase kCases[] = {
    {"small", "h264", "adts", 16000},      {"h265-g711", "hevc", "alaw", 8000},
    {"h264-rawaac", "h264", "raw", 16000}, {"g711-16k", "h264", "alaw", 16000},
    {"noaudio", "h264", "none", 0},        {"clockchange", "h264", "adts", 16000},
};

class PresetCard : public ::testing::TestWithParam<PresetCase>
{
};

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
            EXPECT_FALSE(p.size() >= 2 && p[0] == 0xFF && (p[1] & 0xF6) == 0xF0)
                << "raw AAC has no ADTS header";
            p = withAdts(p, pc.rate == 16000 ? 8 : 11, 1);
        } else if (kind == "adts") {
            ASSERT_GE(p.size(), 7u);
            EXPECT_EQ(p[0], 0xFF);
            EXPECT_EQ(p[1] & 0xF6, 0xF0);
            EXPECT_EQ((size_t(p[3] & 3) << 11 | size_t(p[4]) << 3 | p[5] >> 5), p.size())
                << "ADTS frame length";
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

INSTANTIATE_TEST_SUITE_P(Presets, PresetCard, ::testing::ValuesIn(kCases), [](const auto &info) {
    std::string n = info.param.preset;
    std::replace(n.begin(), n.end(), '-', '_');
    return n;
});

TEST(Events, MarksOnKeyframesDescribeTheScenarioEvents)
{
    // Scan the marks as the camera means them: start opens, continue extends,
    // end closes, events carry across segment files.
    const Card &c = presetCard("small").card;
    struct Ev
    {
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
    EXPECT_EQ(tl.entries[1].start + tl.entries[1].duration + 1, tl.entries[2].start)
        << "no gap at the clock change";
    for (const Segment &s : c.segments)
        for (const FrameHeader &f : s.frames)
            EXPECT_EQ(f.utcOffset, f.timeMs() < utcMs(2024, 3, 31, 1, 0, 0) ? 60 : 120);
}

namespace {

// A tiny base card: 256x96, 5 fps, one keyframe a second, 5 s segments.
std::string tinyScenario(const std::string &extra, const std::string &audio = R"({"format": "none"})")
{
    return R"({
      "video": {"codec": "h264", "width": 256, "height": 96, "fps": 5, "keyint": 5, "bitrate": 40000},
      "audio": )" +
           audio + R"(,
      "formatTime": "2024-02-01T00:00:00Z",
      "spans": [
        {"start": "2024-02-10T10:00:00Z", "seconds": 10, "offsetMin": 60},
        {"start": "2024-02-10T10:01:00Z", "seconds": 10, "offsetMin": 60},
        {"start": "2024-02-10T10:02:00Z", "seconds": 10, "offsetMin": 60}
      ],
      "segments": {"seconds": 5, "slots": 8, "sizeLimit": 1048576})" +
           extra + "}";
}

struct ScenarioCard
{
    TempDir dir{"cardgen"};
    Card card;
    bool ok = false;
    std::string log;
    explicit ScenarioCard(const std::string &json)
    {
        ok = nivra::test::generateScenarioCard(json, dir.file("card"), &log) &&
             loadCard(dir.file("card"), &card);
    }
};

bool fileExists(const std::string &path)
{
    std::ifstream f(path);
    return bool(f);
}

} // namespace

TEST(Ring, WrappedNumbersPositionsAndTimeline)
{
    // 14 segments recorded into 4 slots: the last 4 remain, numbered 999,
    // 1000, 0, 1 (numbers wrap at 1001), at table positions 3, 0, 1, 2.
    // Number 1000 is at the index's slot count, so it has no index block.
    ScenarioCard sc(R"({
      "video": {"codec": "h264", "width": 256, "height": 96, "fps": 5, "keyint": 5, "bitrate": 40000},
      "audio": {"format": "none"},
      "spans": [{"start": "2024-02-10T10:00:00Z", "seconds": 10, "offsetMin": -90}],
      "repeat": {"count": 6, "every": 30},
      "segments": {"seconds": 5, "slots": 4, "positionStart": 1, "numberStart": 989, "numberWrap": 1001,
                   "indexSlots": 1000},
      "timeline": {"head": 8190}
    })");
    ASSERT_TRUE(sc.ok) << sc.log;
    const Card &c = sc.card;
    ASSERT_EQ(c.table.size(), 4u);
    const uint16_t expectNumbers[4] = {1000, 0, 1, 999};
    for (size_t p = 0; p < 4; ++p)
        EXPECT_EQ(c.table[p].number, expectNumbers[p]) << "position " << p;
    EXPECT_GT(c.table[0].first, c.table[3].first) << "table positions are not in time order";
    ASSERT_EQ(c.segments.size(), 4u);
    const uint16_t inTimeOrder[4] = {999, 1000, 0, 1};
    for (size_t k = 0; k < 4; ++k) {
        EXPECT_EQ(c.segments[k].entry.number, inTimeOrder[k]);
        EXPECT_TRUE(c.segments[k].present);
        EXPECT_EQ(c.segments[k].entry.state, k == 3 ? 2 : 1);
    }
    EXPECT_TRUE(fileExists(c.dir + "/seg_1000.dat"));
    EXPECT_TRUE(fileExists(c.dir + "/seg_000.dat"));
    EXPECT_FALSE(fileExists(c.dir + "/seg_998.dat")) << "overwritten segments leave no file";
    EXPECT_EQ(c.slotCount, 1000);
    EXPECT_FALSE(c.segments[1].blockPresent) << "number 1000 has no index block";
    EXPECT_TRUE(c.segments[0].blockValid);
    EXPECT_EQ(c.segments[0].entries.size(), 5u);

    Timeline tl = timelineOf(c.timeline);
    EXPECT_EQ(tl.head, 8190u);
    ASSERT_EQ(tl.count, 7u);
    for (uint32_t k = 0; k < 7; ++k) {
        EXPECT_EQ(int64_t(tl.entries[k].start) * 1000, utcMs(2024, 2, 10, 10, 0, 0) + int64_t(k) * 30000);
        EXPECT_EQ(tl.entries[k].duration, 9u);
        EXPECT_EQ(tl.entries[k].offsetMin, -90);
    }
    // The ring wrapped: entry 2 lies in slot 0.
    EXPECT_EQ(le32(c.timeline, 128), tl.entries[2].start);
}

// A camera marks only what it records: an event that outlasts its recording
// ends on that recording's last keyframe, and one wholly inside a gap leaves
// no mark (the demo card's 40 s event at the end of a one-minute recording
// had read as 99 min, ended on the next recording's first keyframe).
TEST(Events, EventsEndWithTheirRecording)
{
    ScenarioCard sc(tinyScenario(R"(,
      "events": [{"start": "2024-02-10T10:00:07Z", "seconds": 30, "kinds": 1},
                 {"start": "2024-02-10T10:00:30Z", "seconds": 10, "kinds": 2},
                 {"start": "2024-02-10T10:01:02Z", "seconds": 3, "kinds": 8}])"));
    ASSERT_TRUE(sc.ok) << sc.log;
    struct Ev
    {
        int64_t first, last;
        int kinds;
        bool ended;
    };
    std::vector<Ev> events;
    for (const Segment &s : sc.card.segments) {
        for (const IndexEntry &e : s.entries) {
            const bool open = !events.empty() && !events.back().ended;
            if (e.flags & 2)
                events.push_back(Ev{e.second, e.second, e.kinds, false});
            else if (e.flags && open)
                events.back() =
                    Ev{events.back().first, e.second, events.back().kinds | e.kinds, (e.flags & 4) != 0};
            else
                EXPECT_EQ(e.flags, 0) << "mark without an open event at " << e.second;
        }
    }
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].first * 1000, utcMs(2024, 2, 10, 10, 0, 7));
    EXPECT_EQ(events[0].last * 1000, utcMs(2024, 2, 10, 10, 0, 9)) << "the recording's last keyframe";
    EXPECT_TRUE(events[0].ended);
    EXPECT_EQ(events[1].first * 1000, utcMs(2024, 2, 10, 10, 1, 2));
    EXPECT_EQ(events[1].last * 1000, utcMs(2024, 2, 10, 10, 1, 5));
    EXPECT_EQ(events[1].kinds, 8);
    EXPECT_TRUE(events[1].ended);
}

TEST(Damage, SegmentIndexFrameAndTimelineDamage)
{
    ScenarioCard sc(tinyScenario(R"(,
      "events": [{"start": "2024-02-10T10:00:02Z", "seconds": 4, "kinds": 8}],
      "damage": {"deleteSegments": [1], "metaBadChecksum": "B", "indexBlockBadChecksum": [2],
                 "frameBadChecksum": [{"segment": 3, "frame": 4}],
                 "frameOverrun": [{"segment": 4, "frame": 6}],
                 "frameTimeBack": [{"segment": -1, "frame": 7}],
                 "timelineOpenNewest": true, "timelineBadEntry": 1})"));
    ASSERT_TRUE(sc.ok) << sc.log;
    const Card &c = sc.card;
    EXPECT_TRUE(c.metaA.crcOk);
    EXPECT_FALSE(c.metaB.crcOk);
    EXPECT_EQ(c.metaB.magic, 0x53444D54u);
    ASSERT_EQ(c.segments.size(), 6u);

    EXPECT_FALSE(c.segments[1].present) << "listed but absent";
    EXPECT_TRUE(c.segments[1].entry.valid());
    for (size_t k : {0u, 2u, 3u, 4u, 5u})
        EXPECT_TRUE(c.segments[k].present) << k;

    EXPECT_FALSE(c.segments[2].blockValid);
    EXPECT_EQ(le32(c.index, c.block0 + c.segments[2].entry.number * c.stride), 0x44544C49u)
        << "only the checksum is bad";
    EXPECT_TRUE(c.segments[3].blockValid);

    const auto &f3 = c.segments[3].frames;
    for (size_t i = 0; i < f3.size(); ++i)
        EXPECT_EQ(f3[i].crcOk, i != 4) << "frame " << i;

    const Segment &s4 = c.segments[4];
    ASSERT_GE(s4.frames.size(), 7u);
    const FrameHeader &over = s4.frames[6];
    EXPECT_TRUE(over.crcOk);
    EXPECT_EQ(over.offset + 24 + over.size, size_t(c.metaA.segmentSize) + 1)
        << "ends 1 byte past the segment size";
    EXPECT_GE(s4.file.size(), size_t(c.metaA.segmentSize) + 1) << "the file itself reaches that far";
    for (size_t i = 0; i < 6; ++i)
        EXPECT_LE(s4.frames[i].offset + 24 + s4.frames[i].size, c.metaA.segmentSize);

    const auto &f5 = c.segments[5].frames;
    ASSERT_GE(f5.size(), 8u);
    EXPECT_TRUE(f5[7].crcOk);
    EXPECT_EQ(f5[7].timeMs(), f5[6].timeMs() - 6000);

    Timeline tl = timelineOf(c.timeline);
    ASSERT_EQ(tl.entries.size(), 3u);
    EXPECT_EQ(tl.entries[2].duration, 0xFFFFFFu) << "newest span left open";
    EXPECT_EQ(c.timeline[128 + ((tl.head + 1) % 8192) * 8 + 7], 57) << "+855 minutes";
    EXPECT_EQ(tl.entries[0].offsetMin, 60);

    // The event from 10:00:02 to 10:00:06 crosses the 10:00:05 boundary.
    EXPECT_EQ(c.segments[0].entry.eventFlag, 1);
    EXPECT_EQ(c.segments[0].entries[2].flags, 2);
    EXPECT_EQ(c.segments[0].entries[2].kinds, 8);
    EXPECT_EQ(c.segments[1].entry.eventFlag, 1);
    EXPECT_EQ(c.segments[2].entry.eventFlag, 0);
}

TEST(Damage, MetaAndHeaderVariants)
{
    {
        ScenarioCard sc(tinyScenario(R"(, "damage": {"metaGenerationWrap": true})"));
        ASSERT_TRUE(sc.ok) << sc.log;
        EXPECT_EQ(sc.card.metaA.generation, 0xFFFFFFFFu);
        EXPECT_EQ(sc.card.metaB.generation, 0u);
        EXPECT_TRUE(sc.card.metaA.crcOk && sc.card.metaB.crcOk);
        EXPECT_EQ(int64_t(sc.card.metaB.formatMs), utcMs(2024, 2, 1, 0, 0, 0))
            << "the wrapped copy B is current";
        EXPECT_NE(sc.card.metaA.formatMs, sc.card.metaB.formatMs) << "a wrong choice must show";
    }
    {
        ScenarioCard sc(tinyScenario(R"(, "damage": {"version1": true})"));
        const Bytes &m = sc.card.meta;
        ASSERT_EQ(m.size(), 80u);
        for (size_t o : {0u, 40u}) {
            EXPECT_EQ(le32(m, o + 8), 0x53444D54u);
            EXPECT_EQ(le16(m, o + 24), 1);
            EXPECT_EQ(crc32(m.data() + o, 36), le32(m, o + 36));
        }
    }
    {
        ScenarioCard sc(
            tinyScenario(R"(, "damage": {"newerVersion": true, "newerVersionBadChecksum": true})"));
        EXPECT_EQ(sc.card.metaA.version, 3);
        EXPECT_EQ(sc.card.metaB.version, 3);
        EXPECT_FALSE(sc.card.metaA.crcOk || sc.card.metaB.crcOk);
    }
    {
        ScenarioCard sc(
            tinyScenario(R"(, "damage": {"indexHeaderCorrupt": true, "timelineBadHeader": "crc"})"));
        ASSERT_TRUE(sc.ok) << sc.log;
        EXPECT_EQ(le32(sc.card.index, 0), 0x53494458u);
        EXPECT_FALSE(sc.card.indexHeaderOk);
        Timeline tl = timelineOf(sc.card.timeline);
        EXPECT_FALSE(tl.crcA || tl.crcB);
        EXPECT_EQ(tl.magicA, 0x53544D4Cu);
    }
    {
        ScenarioCard sc(tinyScenario(R"(, "damage": {"timelineBadHeader": "version"})"));
        Timeline tl = timelineOf(sc.card.timeline);
        EXPECT_TRUE(tl.crcA && tl.crcB);
        EXPECT_EQ(tl.versionA, 3);
        EXPECT_EQ(tl.versionB, 3);
    }
    {
        ScenarioCard sc(tinyScenario(R"(, "damage": {"timelineAbsent": true})"));
        ASSERT_TRUE(sc.ok) << sc.log;
        EXPECT_TRUE(sc.card.timeline.empty());
        EXPECT_FALSE(fileExists(sc.card.dir + "/timeline.dat"));
    }
}

TEST(Scenario, RejectsWhatACameraCannotRecord)
{
    TempDir dir("cardgen");
    std::string log;
    EXPECT_FALSE(nivra::test::generateScenarioCard(R"({"spans": []})", dir.file("a"), &log));
    EXPECT_NE(log.find("no spans"), std::string::npos) << log;
    EXPECT_FALSE(nivra::test::generateScenarioCard(tinyScenario(R"(, "damage": {"deleteSegments": [6]})"),
                                                   dir.file("b"), &log));
    EXPECT_NE(log.find("does not keep"), std::string::npos) << log;
    EXPECT_FALSE(nivra::test::generateScenarioCard("{ not json", dir.file("c"), &log));
    EXPECT_FALSE(nivra::test::generateScenarioCard(tinyScenario(R"(, "pooled": true, "scene": {"noise": 2})"),
                                                   dir.file("e"), &log));
    EXPECT_NE(log.find("pooled"), std::string::npos) << "pooled pictures cannot show a scene: " << log;
    EXPECT_NE(nivra::test::runCommand(nivra::test::shellQuote(nivra::test::cardgenPath()) +
                                      " --preset nosuch " + nivra::test::shellQuote(dir.file("d"))),
              0);
}

TEST(Pooled, PicturesNameTheirPoolGopAndFrame)
{
    // Two spans of 7 s at 5 fps, GOPs of 5 pictures, a pool of 3 GOPs:
    // the n-th GOP of the card is pool GOP n mod 3.
    ScenarioCard sc(R"({
      "video": {"codec": "h264", "width": 256, "height": 96, "fps": 5, "keyint": 5, "bitrate": 40000},
      "audio": {"format": "aac-adts", "rate": 8000, "bitrate": 16000},
      "pooled": true, "poolGops": 3,
      "spans": [
        {"start": "2024-02-10T10:00:00Z", "seconds": 7, "offsetMin": 0},
        {"start": "2024-02-10T10:00:30Z", "seconds": 7, "offsetMin": 0}
      ],
      "segments": {"seconds": 60, "slots": 8}
    })");
    ASSERT_TRUE(sc.ok) << sc.log;
    Bytes stream;
    std::vector<std::string> expected;
    int gop = -1, frame = 0;
    size_t audio = 0;
    for (const Segment &s : sc.card.segments) {
        for (const FrameHeader &f : s.frames) {
            if (f.type == 2) {
                ++audio;
                continue;
            }
            if (f.type == 0) {
                ++gop;
                frame = 0;
            }
            Bytes p = payload(s, f);
            stream.insert(stream.end(), p.begin(), p.end());
            expected.push_back("pool " + std::to_string(gop % 3) + " " + std::to_string(frame++));
        }
    }
    EXPECT_EQ(expected.size(), 70u);
    EXPECT_GT(audio, 100u) << "8000 Hz AAC: about 7.8 frames a second";
    const std::string file = sc.dir.file("pooled.h264");
    ASSERT_TRUE(writeBytes(file, stream));
    int w = 0, h = 0;
    EXPECT_EQ(decodeStamps(file, "h264", &w, &h), expected);
}

namespace {

// A short scene card: 30 s at 5 fps with a key frame every 2 s, an object
// moving for 8 s, the light dimmed and then raised part of the way back, one
// loud burst of sound.
std::string sceneScenario(const std::string &codec)
{
    return R"({
      "video": {"codec": ")" +
           codec + R"(", "width": 640, "height": 360, "fps": 5, "keyint": 10, "bitrate": 200000},
      "audio": {"format": "aac-adts", "rate": 16000, "channels": 1},
      "spans": [{"start": "2024-05-14T09:00:00Z", "seconds": 30, "offsetMin": 120}],
      "segments": {"seconds": 10, "slots": 8},
      "scene": {
        "noise": 3,
        "objects": [{"start": "2024-05-14T09:00:06Z", "seconds": 8, "x": 0.60, "y": 0.62, "w": 0.12,
                     "h": 0.20, "luma": 220, "toX": 0.80, "toY": 0.62}],
        "lighting": [{"at": "2024-05-14T09:00:18Z", "delta": -50}, {"at": "2024-05-14T09:00:24Z", "delta": 30}],
        "sounds": [{"start": "2024-05-14T09:00:20Z", "seconds": 2, "dbfs": -6}]
      }
    })";
}

constexpr int kSceneNoise = 3;     // the scenario's sensor noise
constexpr double kQuietDbfs = -45; // the scene's sound between bursts

struct FRect
{
    double x = 0, y = 0, w = 0, h = 0; // fractions of the picture
};

FRect rectOf(const QJsonObject &o)
{
    return FRect{o.value("x").toDouble(), o.value("y").toDouble(), o.value("w").toDouble(),
                 o.value("h").toDouble()};
}

bool overlaps(const FRect &a, double x0, double y0, double x1, double y1)
{
    return a.w > 0 && a.h > 0 && x0 < a.x + a.w && a.x < x1 && y0 < a.y + a.h && a.y < y1;
}

// The object's rectangle at time t, when it is alive then.
bool objectAt(const QJsonObject &o, int64_t t, FRect *r)
{
    const int64_t start = int64_t(o.value("startMs").toDouble()), end = int64_t(o.value("endMs").toDouble());
    if (t < start || t >= end)
        return false;
    const double f = double(t - start) / double(end - start);
    *r = rectOf(o);
    r->x += (o.value("toX").toDouble() - r->x) * f;
    r->y += (o.value("toY").toDouble() - r->y) * f;
    return true;
}

int lightingAt(const QJsonArray &changes, int64_t t)
{
    int delta = 0;
    for (const QJsonValue &c : changes)
        if (c["kind"] == "lighting" && int64_t(c["atMs"].toDouble()) <= t)
            delta += c["delta"].toInt();
    return delta;
}

struct Gray
{
    int width = 0, height = 0;
    Bytes y;
    // Mean over pixel columns x0..x1 and rows y0..y1 (exclusive ends).
    double mean(int x0, int y0, int x1, int y1) const
    {
        double sum = 0;
        for (int r = y0; r < y1; ++r)
            for (int c = x0; c < x1; ++c)
                sum += y[size_t(r) * size_t(width) + size_t(c)];
        return sum / double((x1 - x0) * (y1 - y0));
    }
};

class SceneCard : public ::testing::TestWithParam<const char *>
{
};

} // namespace

// The pictures and sound of a scene card against its ground truth: outside
// the time code, the clock and the living objects every 20 x 20 cell (the
// activity index's grid) changes only by the lighting, within the noise;
// objects show at their luma while alive and not otherwise; the sound is
// quiet but for the bursts, which have the scripted RMS.
TEST_P(SceneCard, PicturesAndSoundFollowTheGroundTruth)
{
    const std::string codec = GetParam();
    ScenarioCard sc(sceneScenario(codec));
    ASSERT_TRUE(sc.ok) << sc.log;
    const int64_t t0 = utcMs(2024, 5, 14, 9, 0, 0);

    QFile file(QString::fromStdString(sc.card.dir + "/ground_truth.json"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << "ground_truth.json at the card's top level";
    QJsonParseError perr;
    const QJsonObject truth = QJsonDocument::fromJson(file.readAll(), &perr).object();
    ASSERT_EQ(perr.error, QJsonParseError::NoError) << perr.errorString().toStdString();
    EXPECT_EQ(truth["width"].toInt(), 640);
    EXPECT_EQ(truth["height"].toInt(), 360);
    const QJsonArray changes = truth["changes"].toArray();
    const struct
    {
        const char *kind;
        int64_t start, end; // atMs for lighting
        double value;       // luma, delta or dbfs
    } script[] = {{"object", t0 + 6000, t0 + 14000, 220},
                  {"lighting", t0 + 18000, 0, -50},
                  {"lighting", t0 + 24000, 0, 30},
                  {"sound", t0 + 20000, t0 + 22000, -6}};
    ASSERT_EQ(changes.size(), std::size(script));
    for (size_t i = 0; i < std::size(script); ++i) {
        const QJsonObject c = changes[qsizetype(i)].toObject();
        SCOPED_TRACE(i);
        EXPECT_EQ(c["kind"].toString().toStdString(), script[i].kind);
        if (c["kind"] == "lighting") {
            EXPECT_EQ(int64_t(c["atMs"].toDouble()), script[i].start);
            EXPECT_EQ(c["delta"].toDouble(), script[i].value);
            continue;
        }
        EXPECT_EQ(int64_t(c["startMs"].toDouble()), script[i].start);
        EXPECT_EQ(int64_t(c["endMs"].toDouble()), script[i].end);
        EXPECT_EQ(c[c["kind"] == "object" ? "luma" : "dbfs"].toDouble(), script[i].value);
    }
    const QJsonObject object = changes[0].toObject();
    EXPECT_EQ(object["x"].toDouble(), 0.60);
    EXPECT_EQ(object["h"].toDouble(), 0.20);
    EXPECT_EQ(object["toX"].toDouble(), 0.80);
    EXPECT_EQ(object["toY"].toDouble(), 0.62);
    const FRect stamp = rectOf(truth["stamp"].toObject()), clock = rectOf(truth["clock"].toObject());
    EXPECT_EQ(stamp.w * 640, 256);
    EXPECT_EQ(stamp.h * 360, 80);

    // Every key frame, decoded in one go; the luma planes as coded (gray
    // output would stretch them to full range).
    Bytes stream;
    std::vector<int64_t> times;
    for (const Segment &s : sc.card.segments)
        for (const FrameHeader &f : s.frames)
            if (f.type == 0) {
                Bytes p = payload(s, f);
                stream.insert(stream.end(), p.begin(), p.end());
                times.push_back(f.timeMs());
            }
    ASSERT_EQ(times.size(), 15u);
    const std::string es = sc.dir.file("keys.es"), raw = sc.dir.file("keys.yuv");
    ASSERT_TRUE(writeBytes(es, stream));
    ASSERT_EQ(nivra::test::runCommand(
                  "ffmpeg -v error -y -f " + std::string(codec == "h265" ? "hevc" : "h264") + " -i " +
                  nivra::test::shellQuote(es) + " -vsync passthrough -f rawvideo -pix_fmt yuv420p " +
                  nivra::test::shellQuote(raw)),
              0);
    Bytes all;
    ASSERT_TRUE(readAll(raw, &all));
    const size_t frameBytes = 640 * 360 * 3 / 2;
    ASSERT_EQ(all.size(), times.size() * frameBytes);
    std::vector<Gray> pics(times.size());
    for (size_t k = 0; k < times.size(); ++k) {
        const auto y = all.begin() + long(k * frameBytes);
        pics[k] = Gray{640, 360, Bytes(y, y + 640 * 360)};
        int64_t v = 0;
        EXPECT_TRUE(nivra::test::readStamp(pics[k].y.data(), 640, 640, 360, &v) && v == times[k])
            << "the time code, whatever the lighting, at " << times[k] - t0;
    }

    // Cells next to the overlays or an object are left out: the encoders'
    // blocks carry a sharp edge's ringing up to 32 pixels.
    double worst = 0;
    std::string worstAt;
    size_t compared = 0;
    for (size_t k = 1; k < times.size(); ++k) {
        std::vector<FRect> busy = {stamp, clock};
        for (size_t j : {k - 1, k}) {
            FRect r;
            if (objectAt(object, times[j], &r))
                busy.push_back(r);
        }
        const int light = lightingAt(changes, times[k]) - lightingAt(changes, times[k - 1]);
        for (int cy = 0; cy < 18; ++cy) {
            for (int cx = 0; cx < 32; ++cx) {
                const double mx = 32.0 / 640, my = 32.0 / 360;
                bool skip = false;
                for (const FRect &b : busy)
                    skip = skip || overlaps(b, cx / 32.0 - mx, cy / 18.0 - my, (cx + 1) / 32.0 + mx,
                                            (cy + 1) / 18.0 + my);
                if (skip)
                    continue;
                ++compared;
                const double d = pics[k].mean(cx * 20, cy * 20, cx * 20 + 20, cy * 20 + 20) -
                                 pics[k - 1].mean(cx * 20, cy * 20, cx * 20 + 20, cy * 20 + 20) - light;
                if (std::fabs(d) > worst) {
                    worst = std::fabs(d);
                    worstAt = "cell " + std::to_string(cx) + "," + std::to_string(cy) + " at " +
                              std::to_string(times[k] - t0) + " ms";
                }
            }
        }
    }
    EXPECT_GT(compared, 14u * 32 * 18 / 3);
    EXPECT_LE(worst, kSceneNoise) << "background changed beyond the lighting: " << worstAt;

    // The object's rectangle (its edges left out) shows its luma plus the
    // lighting while it lives, and the background before and after.
    size_t alive = 0;
    const FRect at0 = rectOf(object);
    for (size_t k = 0; k < times.size(); ++k) {
        FRect r = at0;
        const bool present = objectAt(object, times[k], &r);
        alive += present;
        const double mean = pics[k].mean(int(r.x * 640) + 3, int(r.y * 360) + 3, int((r.x + r.w) * 640) - 3,
                                         int((r.y + r.h) * 360) - 3);
        const double luma = std::clamp(object["luma"].toInt() + lightingAt(changes, times[k]), 16, 235);
        if (present)
            EXPECT_NEAR(mean, luma, kSceneNoise) << "object at " << times[k] - t0;
        else
            EXPECT_GT(std::fabs(mean - luma), 50) << "no object at " << times[k] - t0;
    }
    EXPECT_EQ(alive, 4u) << "key frames at 6, 8, 10 and 12 s; none at the exclusive end";

    // The sound, second by second (edges left out for the codec's overlap).
    Bytes adts;
    for (const Segment &s : sc.card.segments)
        for (const FrameHeader &f : s.frames)
            if (f.type == 2) {
                Bytes p = payload(s, f);
                adts.insert(adts.end(), p.begin(), p.end());
            }
    const std::string aac = sc.dir.file("sound.aac");
    ASSERT_TRUE(writeBytes(aac, adts));
    const std::vector<int16_t> pcm = decodeAudio(aac, "-f aac", 16000);
    ASSERT_GE(pcm.size(), 30u * 16000);
    const QJsonObject burst = changes[3].toObject();
    for (int s = 0; s < 30; ++s) {
        double sum = 0;
        const size_t from = size_t(s) * 16000 + 1600, to = size_t(s + 1) * 16000 - 1600;
        for (size_t i = from; i < to; ++i)
            sum += double(pcm[i]) * pcm[i];
        const double dbfs = 10 * std::log10(sum / double(to - from) / (32768.0 * 32768.0));
        const int64_t t = t0 + s * 1000;
        const bool loud = t >= int64_t(burst["startMs"].toDouble()) && t < int64_t(burst["endMs"].toDouble());
        EXPECT_NEAR(dbfs, loud ? burst["dbfs"].toDouble() : kQuietDbfs, loud ? 0.5 : 1.0) << "second " << s;
    }
}

INSTANTIATE_TEST_SUITE_P(Codecs, SceneCard, ::testing::Values("h264", "h265"));

TEST(Determinism, SameScenarioSameBytes)
{
    for (const char *preset : {"small", "h265-g711"}) {
        const Generated &a = presetCard(preset);
        TempDir again("cardgen");
        ASSERT_TRUE(nivra::test::generatePresetCard(preset, again.file("card")));
        Card b;
        ASSERT_TRUE(loadCard(again.file("card"), &b));
        EXPECT_EQ(a.card.meta, b.meta) << preset;
        EXPECT_EQ(a.card.index, b.index) << preset;
        EXPECT_EQ(a.card.timeline, b.timeline) << preset;
        ASSERT_EQ(a.card.segments.size(), b.segments.size());
        for (size_t k = 0; k < b.segments.size(); ++k)
            EXPECT_TRUE(a.card.segments[k].file == b.segments[k].file) << preset << " segment " << k;
    }
    // A scene's noise is new in every picture, yet the same on every run.
    const std::string scene =
        tinyScenario(R"(, "scene": {"noise": 4, "objects": [{"start": "2024-02-10T10:00:02Z",
      "seconds": 4, "x": 0.5, "y": 0.5, "w": 0.2, "h": 0.3}]})");
    ScenarioCard a(scene), b(scene);
    ASSERT_TRUE(a.ok && b.ok) << a.log;
    ASSERT_EQ(a.card.segments.size(), b.card.segments.size());
    for (size_t k = 0; k < a.card.segments.size(); ++k)
        EXPECT_TRUE(a.card.segments[k].file == b.card.segments[k].file) << "scene segment " << k;
}

TEST(Presets, BigHasThousandsOfSegmentsAndAFullTimeline)
{
    const Card &c = presetCard("big").card;
    EXPECT_GE(c.segments.size(), 2000u);
    Timeline tl = timelineOf(c.timeline);
    EXPECT_EQ(tl.count, 8192u);
    EXPECT_NE(tl.head, 0u) << "the ring has wrapped";
    ASSERT_EQ(tl.entries.size(), 8192u);
    for (size_t k = 1; k < tl.entries.size(); ++k)
        ASSERT_LT(tl.entries[k - 1].start, tl.entries[k].start);
    size_t outOfOrder = 0;
    for (size_t p = 1; p < c.table.size(); ++p)
        outOfOrder += c.table[p].first < c.table[p - 1].first;
    EXPECT_GT(outOfOrder, 0u) << "table positions are not in time order";
    for (const Segment &s : c.segments) {
        ASSERT_TRUE(s.present);
        ASSERT_TRUE(s.blockValid);
        ASSERT_FALSE(s.frames.empty());
        ASSERT_TRUE(s.frames.front().crcOk && s.frames.back().crcOk);
        ASSERT_EQ(s.frames.back().offset + 24 + s.frames.back().size, s.file.size());
    }
    // Every timeline span whose segment survived covers it.
    EXPECT_LE(tl.entries.front().start, c.segments.front().entry.first);
    EXPECT_EQ(tl.entries.back().start, c.segments.back().entry.first);
}

TEST(Presets, DemoHasDaysGapsEventsAndSound)
{
    const Card &c = presetCard("demo").card;
    Timeline tl = timelineOf(c.timeline);
    ASSERT_GE(tl.entries.size(), 5u);
    std::set<int64_t> days;
    for (const TimelineEntry &e : tl.entries)
        days.insert((int64_t(e.start) + e.offsetMin * 60) / 86400);
    EXPECT_GE(days.size(), 3u);
    uint16_t kinds = 0;
    size_t audio = 0;
    for (const Segment &s : c.segments) {
        for (const IndexEntry &e : s.entries)
            kinds |= e.kinds;
        for (const FrameHeader &f : s.frames)
            audio += f.type == 2;
    }
    EXPECT_EQ(kinds, 0x1F) << "motion, sound, crying, PIR and person";
    EXPECT_GT(audio, 0u);
    // The newest day is encoded picture by picture: its stamps are times.
    const Segment &s = c.segments[c.segments.size() - 16];
    Bytes stream;
    std::vector<std::string> expected;
    for (const FrameHeader &f : s.frames) {
        if (f.type == 2)
            continue;
        Bytes p = payload(s, f);
        stream.insert(stream.end(), p.begin(), p.end());
        expected.push_back(std::to_string(f.timeMs()));
    }
    const std::string file = presetCard("demo").dir->file("demo.h264");
    ASSERT_TRUE(writeBytes(file, stream));
    int w = 0, h = 0;
    EXPECT_EQ(decodeStamps(file, "h264", &w, &h), expected);
    EXPECT_EQ(w, 640);
    EXPECT_EQ(h, 360);
}

TEST(StampReader, RejectsDamagedCodes)
{
    // One real decoded picture: its code reads; a flipped data cell or sync
    // cell, or a picture without a code, does not.
    const Generated &g = presetCard("small");
    const Segment &s = g.card.segments.front();
    const Bytes key = payload(s, s.frames.front());
    const std::string file = g.dir->file("key.h264"), raw = g.dir->file("key.gray");
    ASSERT_TRUE(writeBytes(file, key));
    ASSERT_EQ(nivra::test::runCommand("ffmpeg -v error -y -f h264 -i " + nivra::test::shellQuote(file) +
                                      " -frames:v 1 -f rawvideo -pix_fmt gray " +
                                      nivra::test::shellQuote(raw)),
              0);
    Bytes y;
    ASSERT_TRUE(readAll(raw, &y));
    ASSERT_EQ(y.size(), 320u * 240u);
    int64_t v = 0;
    ASSERT_TRUE(nivra::test::readStamp(y.data(), 320, 320, 240, &v));
    EXPECT_EQ(v, s.frames.front().timeMs());

    auto flipCell = [](Bytes p, int row, int col) {
        for (int r = 0; r < 16; ++r)
            for (int c = 0; c < 16; ++c) {
                uint8_t &px = p[size_t(row * 16 + r) * 320 + size_t(col * 16 + c)];
                px = px >= 128 ? 16 : 235;
            }
        return p;
    };
    for (int row = 0; row < 5; ++row) {
        Bytes bad = flipCell(y, row, 3 * row + 1);
        EXPECT_FALSE(nivra::test::readStamp(bad.data(), 320, 320, 240, &v)) << "row " << row;
    }
    Bytes black(y.size(), 16);
    EXPECT_FALSE(nivra::test::readStamp(black.data(), 320, 320, 240, &v));
    EXPECT_FALSE(nivra::test::readStamp(y.data(), 320, 200, 240, &v)) << "too narrow for a code";
}

// Asking for help is no mistake: usage on standard output, status 0; a
// wrong command line gets it on standard error with status 2.
TEST(Cardgen, HelpAndUsage)
{
    const std::string tool = nivra::test::shellQuote(nivra::test::cardgenPath());
    const struct
    {
        const char *args;
        int status;
        bool onStdout;
    } rows[] = {{"--help", 0, true}, {"-h", 0, true}, {"", 2, false}, {"--preset", 2, false}};
    for (const auto &row : rows) {
        std::string out;
        EXPECT_EQ(nivra::test::runCommand("(" + tool + " " + row.args + " 2>/dev/null)", &out), row.status)
            << row.args;
        EXPECT_EQ(out.rfind("usage: nivra-cardgen", 0) == 0, row.onStdout) << row.args << ": " << out;
    }
}
