// Sound and picture in exported files: the simulator's beep at every whole
// second must land on the picture of that second, and audio that arrives
// early or late on the card is corrected (silence, dropped frames, cut
// G.711 bytes) as the export writer promises. Cards with shifted audio are
// built byte by byte from the simulator's own payloads, as are cards for the
// index reservation and for a keyframe the file writer would refuse; every
// file is read back with ffmpeg/ffprobe.
#include "export/export_writer.h"
#include "export/mov_writer.h"

#include <gtest/gtest.h>

#include <stdlib.h>
#include <string.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#include "card_builder.h"
#include "simcard.h"
#include "tool_helpers.h"

using namespace exporttest;
using Bytes = std::vector<uint8_t>;

namespace {

// 2024-03-05 10:00:00 UTC: the small card's first recording.
constexpr int64_t kSmallStart = 1709632800000;
// 2024-06-01 12:00:00 UTC: the H.265 / G.711 card's first recording.
constexpr int64_t kG711Start = 1717243200000;

struct Reader
{
    card_reader *card = nullptr;
    explicit Reader(const std::string &dir) { EXPECT_EQ(card_open(dir.c_str(), &card), 0) << dir; }
    ~Reader() { card_close(card); }
};

struct Files
{
    std::vector<std::string> paths;
    std::vector<ExportFileInfo> infos;
};

void onFileDone(void *context, const char *path, const ExportFileInfo *info)
{
    Files *f = static_cast<Files *>(context);
    f->paths.push_back(path);
    f->infos.push_back(*info);
}

// Exports [from, to] of a card into folder; returns the code.
int exportInto(card_reader *card, const std::string &folder, int64_t from, int64_t to, Files *files,
               int container = 0, int merge = 0)
{
    ExportOptions o;
    memset(&o, 0, sizeof o);
    o.folder = folder.c_str();
    o.container = container;
    o.merge = merge;
    o.audio = 1;
    o.fileDone = onFileDone;
    o.context = files;
    ExportResult r;
    int rc = exportRange(card, nullptr, from, to, &o, &r);
    EXPECT_EQ(rc, 0) << exportErrorName(rc) << " " << r.message;
    return rc;
}

std::vector<std::string> lines(const std::string &text)
{
    std::vector<std::string> out;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t nl = text.find('\n', pos);
        if (nl == std::string::npos)
            nl = text.size();
        if (nl > pos)
            out.push_back(text.substr(pos, nl - pos));
        pos = nl + 1;
    }
    return out;
}

// The decoded sound as mono 16-bit samples at the file's own rate.
std::vector<int16_t> decodeAudio(const std::string &path)
{
    CommandResult r = run("ffmpeg -v error -i '" + path + "' -map 0:a -ac 1 -f s16le -acodec pcm_s16le -");
    EXPECT_EQ(r.errors, "") << path;
    std::vector<int16_t> pcm(r.output.size() / 2);
    memcpy(pcm.data(), r.output.data(), pcm.size() * 2);
    return pcm;
}

int sampleRate(const std::string &path)
{
    CommandResult r = run(
        "ffprobe -v error -select_streams a:0 -show_entries stream=sample_rate -of csv=p=0 '" + path + "'");
    return atoi(r.output.c_str());
}

// Beep onsets in seconds: the test sound is a quiet 440 Hz tone with a loud
// 1 kHz beep for the first 100 ms of every second, so an onset is the first
// loud sample after at least 300 ms of quiet (the start of the file counts as
// quiet).
std::vector<double> beepOnsets(const std::vector<int16_t> &pcm, int rate)
{
    std::vector<double> onsets;
    const int threshold = 10000; // the beep peaks near 16400, the tone near 3900
    int64_t quiet = rate;
    for (size_t i = 0; i < pcm.size(); ++i) {
        if (std::abs(int(pcm[i])) >= threshold) {
            if (quiet >= int64_t(rate) * 3 / 10)
                onsets.push_back(double(i) / rate);
            quiet = 0;
        } else {
            ++quiet;
        }
    }
    return onsets;
}

// Presentation times (s) of the video pictures with the capture time each
// picture shows (read from its stamp), in order.
struct Picture
{
    double pts;
    int64_t stamp;
};

std::vector<Picture> pictures(const std::string &path, int w, int h)
{
    CommandResult p =
        run("ffprobe -v error -select_streams v:0 -show_entries packet=pts_time -of csv=p=0 '" + path + "'");
    CommandResult s = run("ffmpeg -v error -i '" + path + "' -map 0:v -f rawvideo -pix_fmt gray - | " +
                          nivra::test::stampreadPath() + " " + std::to_string(w) + " " + std::to_string(h));
    std::vector<std::string> pts = lines(p.output), stamps = lines(s.output);
    EXPECT_EQ(pts.size(), stamps.size()) << path;
    std::vector<Picture> out;
    for (size_t i = 0; i < pts.size() && i < stamps.size(); ++i)
        out.push_back(Picture{atof(pts[i].c_str()), atoll(stamps[i].c_str())});
    return out;
}

// Checks that each picture showing a whole second has a beep onset within one
// audio frame (frameSamples) of its presentation time, and that no beep lies
// anywhere else. The first skipSeconds of the file are left out (where the
// card's sound starts inside a beep).
void expectBeepsOnWholeSeconds(const std::string &path, int frameSamples, double skipSeconds = 0)
{
    const int rate = sampleRate(path);
    ASSERT_GT(rate, 0) << path;
    std::vector<double> onsets;
    for (double o : beepOnsets(decodeAudio(path), rate))
        if (o >= skipSeconds)
            onsets.push_back(o);
    std::vector<Picture> pics = pictures(path, 320, 240);
    ASSERT_FALSE(pics.empty()) << path;
    const double tolerance = double(frameSamples) / rate;
    int seconds = 0;
    for (const Picture &p : pics) {
        if (p.stamp % 1000 != 0 || p.pts < skipSeconds)
            continue;
        ++seconds;
        double nearest = 1e9;
        for (double o : onsets)
            if (std::abs(o - p.pts) < std::abs(nearest - p.pts))
                nearest = o;
        EXPECT_LE(std::abs(nearest - p.pts), tolerance)
            << path << ": the picture of " << p.stamp << " at " << p.pts << " s, nearest beep at " << nearest;
    }
    EXPECT_GE(seconds, 10) << path;
    // Every beep belongs to a whole-second picture, except one that the last
    // audio frame may carry past the last picture.
    for (double o : onsets) {
        if (o > pics.back().pts)
            continue;
        bool matched = false;
        for (const Picture &p : pics)
            matched = matched || (p.stamp % 1000 == 0 && std::abs(o - p.pts) <= tolerance);
        EXPECT_TRUE(matched) << path << ": a beep at " << o << " s belongs to no whole second";
    }
    EXPECT_GE(onsets.size(), size_t(seconds)) << path;
    EXPECT_LE(onsets.size(), size_t(seconds) + 1) << path;
}

class ExportSyncTest : public ::testing::Test
{
protected:
    void SetUp() override { m_out = makeTempDir(); }
    void TearDown() override { removeTree(m_out); }
    std::string m_out;
};

// ---- The beep lines up with the picture of its second ---------------------------------

TEST_F(ExportSyncTest, BeepOfEverySecondLinesUpWithItsPicture)
{
    {
        // AAC, part of one recording, from a keyframe. The card's first
        // sound frame after it starts 48 ms later, inside the beep, and goes
        // after one silent frame.
        Reader card(SMALL_CARD_DIR);
        Files f;
        ASSERT_EQ(exportInto(card.card, m_out, kSmallStart + 10000, kSmallStart + 49999, &f), 0);
        ASSERT_EQ(f.paths.size(), 1u);
        EXPECT_EQ(f.infos[0].silenceInsertions, 1u);
        expectBeepsOnWholeSeconds(f.paths[0], 1024, 0.5);
    }
    {
        // AAC in a merged MP4: the gap is cut out of both tracks alike.
        Reader card(SMALL_CARD_DIR);
        Files f;
        ASSERT_EQ(exportInto(card.card, m_out, kSmallStart + 40000, kSmallStart + 150000, &f, 1, 1), 0);
        ASSERT_EQ(f.paths.size(), 1u);
        EXPECT_EQ(f.infos[0].chapters, 2u);
        expectBeepsOnWholeSeconds(f.paths[0], 1024);
    }
    {
        // G.711 at 8 kHz in 20 ms frames.
        Reader card(H265_G711_CARD_DIR);
        Files f;
        ASSERT_EQ(exportInto(card.card, m_out, kG711Start, kG711Start + 39999, &f), 0);
        ASSERT_EQ(f.paths.size(), 1u);
        expectBeepsOnWholeSeconds(f.paths[0], 160);
    }
}

// ---- Drift correction on byte-built cards ---------------------------------------------

using cardtest::Frame;

// The frames of [from, to) of a simulator card, payloads included, in card
// order.
std::vector<Frame> cardFrames(const std::string &dir, int64_t from, int64_t to)
{
    Reader card(dir);
    std::vector<Frame> out;
    card_cursor *c = nullptr;
    EXPECT_EQ(cursor_open(card.card, &c), 0);
    EXPECT_EQ(cursor_seek(c, uint64_t(from), nullptr), 0);
    card_frame f;
    while (cursor_next(c, &f) == 0 && f.time_ms < to) {
        Frame fr;
        fr.type = f.type;
        fr.time_ms = f.time_ms;
        fr.offset_min = f.utc_offset_min;
        fr.payload.resize(f.size);
        EXPECT_EQ(cursor_read(c, fr.payload.data(), fr.payload.size()), 0);
        if (f.time_ms >= from)
            out.push_back(std::move(fr));
    }
    cursor_close(c);
    return out;
}

// Video before audio at equal times, so the first audio frame finds the file
// open.
void videoFirst(std::vector<Frame> &frames)
{
    std::stable_sort(frames.begin(), frames.end(), [](const Frame &a, const Frame &b) {
        if (a.time_ms != b.time_ms)
            return a.time_ms < b.time_ms;
        return a.type != CARD_FRAME_AUDIO && b.type == CARD_FRAME_AUDIO;
    });
}

// Writes frames as segment 1 of a byte-built card with an index entry for
// every keyframe.
void writeCard(cardtest::Card &card, const std::vector<Frame> &frames)
{
    std::vector<uint32_t> offsets = card.write_segment(1, frames);
    int64_t first = frames.front().time_ms, last = frames.front().time_ms;
    for (size_t i = 0; i < frames.size(); ++i) {
        first = std::min(first, frames[i].time_ms);
        last = std::max(last, frames[i].time_ms);
        if (frames[i].type != CARD_FRAME_KEY)
            continue;
        cardtest::IndexMark m;
        m.second = uint32_t(frames[i].time_ms / 1000);
        m.ms = uint16_t(frames[i].time_ms % 1000);
        m.frame_offset = offsets[i];
        m.offset_min = frames[i].offset_min;
        card.blocks[1].push_back(m);
    }
    card.table.push_back({uint32_t(first / 1000), uint32_t(last / 1000), 1, 1, 0});
    card.write();
}

// Indexes of the audio frames in order.
std::vector<size_t> audioAt(const std::vector<Frame> &frames)
{
    std::vector<size_t> out;
    for (size_t i = 0; i < frames.size(); ++i)
        if (frames[i].type == CARD_FRAME_AUDIO)
            out.push_back(i);
    return out;
}

struct DriftOutcome
{
    int rc = -100;
    ExportFileInfo info{};
    std::string path;
};

DriftOutcome exportCard(const cardtest::Card &card, const std::string &out, int64_t from)
{
    DriftOutcome d;
    Reader reader(card.dir);
    Files f;
    d.rc = exportInto(reader.card, out, from, from + 60000, &f);
    if (f.paths.size() == 1) {
        d.info = f.infos[0];
        d.path = f.paths[0];
    }
    return d;
}

uint64_t audioPackets(const std::string &path)
{
    CommandResult r = run("ffprobe -v error -select_streams a:0 -count_packets -show_entries "
                          "stream=nb_read_packets -of csv=p=0 '" +
                          path + "'");
    return uint64_t(atoll(r.output.c_str()));
}

TEST_F(ExportSyncTest, AacDriftIsCorrectedBeyondToleranceOnly)
{
    // A keyframe (one every 2 s) that is also the start of an AAC frame (one
    // every 64 ms), so the sound starts with the picture.
    const int64_t from = kSmallStart + 16000;
    std::vector<Frame> source = cardFrames(SMALL_CARD_DIR, from, from + 8000);
    videoFirst(source);
    const std::vector<size_t> audio = audioAt(source);
    ASSERT_GT(audio.size(), 100u);
    const uint64_t n = audio.size(); // 64 ms frames at 16 kHz
    const size_t k = 50;             // the frame where the shift begins
    ASSERT_EQ(source[audio[0]].time_ms, from);
    ASSERT_EQ(source[audio[k]].time_ms - source[audio[0]].time_ms, int64_t(k) * 64);

    struct Case
    {
        const char *what;
        int64_t shift;     // applied to audio frames k and later
        uint64_t packets;  // audio packets in the file
        uint32_t silences; // silence insertions
    };
    // 16 kHz: tolerance 512 samples (32 ms). 100 ms late gets 1600 samples
    // of silence first, written as two silent AAC frames; 20 ms either way
    // stays as it is.
    const Case cases[] = {
        {"100 ms late", 100, n + 2, 1},
        {"20 ms late", 20, n, 0},
        {"20 ms early", -20, n, 0},
    };
    for (const Case &c : cases) {
        std::vector<Frame> frames = source;
        for (size_t i = k; i < audio.size(); ++i)
            frames[audio[i]].time_ms += c.shift;
        cardtest::Card card;
        writeCard(card, frames);
        DriftOutcome d = exportCard(card, m_out, from);
        ASSERT_EQ(d.rc, 0) << c.what;
        ASSERT_FALSE(d.path.empty()) << c.what;
        EXPECT_EQ(d.info.silenceInsertions, c.silences) << c.what;
        EXPECT_EQ(d.info.audioCount, c.packets) << c.what;
        EXPECT_EQ(audioPackets(d.path), c.packets) << c.what;
        EXPECT_EQ(run("ffmpeg -v error -i '" + d.path + "' -f null -").errors, "") << c.what;
    }

    // One extra frame 100 ms before the end of the sound already written is
    // dropped; everything else stays.
    std::vector<Frame> frames = source;
    Frame extra = frames[audio[k - 1]];
    extra.time_ms = source[audio[k]].time_ms - 100;
    frames.insert(frames.begin() + long(audio[k - 1]) + 1, extra);
    cardtest::Card card;
    writeCard(card, frames);
    DriftOutcome d = exportCard(card, m_out, from);
    ASSERT_FALSE(d.path.empty());
    EXPECT_EQ(d.info.silenceInsertions, 0u);
    EXPECT_EQ(d.info.audioCount, n);
    EXPECT_EQ(audioPackets(d.path), n);
}

TEST_F(ExportSyncTest, AdtsSoundThatStartsLateKeepsItsPlace)
{
    // The file opens at a keyframe whose sound on the card starts 192 ms
    // (three AAC frames) later. The configuration comes from the probe, not
    // from the first ADTS header, so silence can go first: 3072 samples as
    // three silent frames, and every later beep stays on its picture.
    const int64_t from = kSmallStart + 16000;
    std::vector<Frame> frames = cardFrames(SMALL_CARD_DIR, from, from + 12000);
    videoFirst(frames);
    const std::vector<size_t> audio = audioAt(frames);
    ASSERT_GT(audio.size(), 100u);
    const uint64_t n = audio.size();
    ASSERT_EQ(frames[audio[0]].time_ms, from);
    ASSERT_EQ(frames[audio[3]].time_ms, from + 192);
    for (size_t i = 3; i-- > 0;)
        frames.erase(frames.begin() + long(audio[i]));
    cardtest::Card card;
    writeCard(card, frames);
    DriftOutcome d = exportCard(card, m_out, from);
    ASSERT_EQ(d.rc, 0);
    ASSERT_FALSE(d.path.empty());
    EXPECT_EQ(d.info.silenceInsertions, 1u);
    EXPECT_EQ(d.info.audioCount, n);
    EXPECT_EQ(audioPackets(d.path), n);
    // The silence comes first: nothing is heard before the card's first
    // frame, which starts 3072 samples in.
    const std::vector<int16_t> pcm = decodeAudio(d.path);
    ASSERT_GT(pcm.size(), 4096u);
    int loudest = 0;
    for (size_t i = 0; i < 3072; ++i)
        loudest = std::max(loudest, std::abs(int(pcm[i])));
    EXPECT_LT(loudest, 100);
    expectBeepsOnWholeSeconds(d.path, 1024, 0.5);
}

TEST_F(ExportSyncTest, G711EarlyFramesLoseTheirHeadOrAreDropped)
{
    const int64_t from = kG711Start + 10000; // a keyframe
    std::vector<Frame> twenty = cardFrames(H265_G711_CARD_DIR, from, from + 8000);
    // The camera's 20 ms frames joined in pairs: 320-byte frames of 40 ms.
    std::vector<Frame> source;
    const Frame *pending = nullptr;
    for (const Frame &f : twenty) {
        if (f.type != CARD_FRAME_AUDIO) {
            source.push_back(f);
        } else if (!pending) {
            pending = &f;
        } else {
            Frame joined = *pending;
            joined.payload.insert(joined.payload.end(), f.payload.begin(), f.payload.end());
            ASSERT_EQ(joined.payload.size(), 320u);
            source.push_back(joined);
            pending = nullptr;
        }
    }
    videoFirst(source);
    const std::vector<size_t> audio = audioAt(source);
    ASSERT_GT(audio.size(), 100u);
    const int64_t n = int64_t(audio.size());
    const size_t k = 50;
    ASSERT_EQ(source[audio[0]].time_ms, from);
    ASSERT_EQ(source[audio[k]].time_ms - source[audio[0]].time_ms, int64_t(k) * 40);

    struct Case
    {
        const char *what;
        int64_t shift;
        int64_t samples; // decoded samples in the file
        uint32_t silences;
    };
    // 8 kHz mono, 320-byte frames: tolerance 160 samples (20 ms).
    const Case cases[] = {
        {"25 ms early: the first 200 bytes go", -25, n * 320 - 200, 0},
        {"40 ms early: the frame goes", -40, (n - 1) * 320, 0},
        {"10 ms early: kept whole", -10, n * 320, 0},
        {"100 ms late: 800 samples of silence first", 100, n * 320 + 800, 1},
    };
    for (const Case &c : cases) {
        std::vector<Frame> frames = source;
        for (size_t i = k; i < audio.size(); ++i)
            frames[audio[i]].time_ms += c.shift;
        cardtest::Card card;
        writeCard(card, frames);
        DriftOutcome d = exportCard(card, m_out, from);
        ASSERT_EQ(d.rc, 0) << c.what;
        ASSERT_FALSE(d.path.empty()) << c.what;
        EXPECT_EQ(d.info.silenceInsertions, c.silences) << c.what;
        EXPECT_EQ(int64_t(decodeAudio(d.path).size()), c.samples) << c.what;
    }
}

// ---- A keyframe the MOV/MP4 writer would refuse opens no file ---------------------------

TEST_F(ExportSyncTest, KeyframeWithMoreThanEightParameterSetsOpensNoFile)
{
    // The first keyframe carries its SPS and PPS and eight more copies of the
    // PPS: more units than a file's parameter sets may hold. The export waits
    // for the next keyframe (2 s later) without creating a ".part" file for
    // this one; the folder is watched with inotify to see every file created.
    const int64_t from = kSmallStart + 16000;
    std::vector<Frame> frames = cardFrames(SMALL_CARD_DIR, from, from + 6000);
    videoFirst(frames);
    ASSERT_EQ(frames[0].type, CARD_FRAME_KEY);
    Bytes crowded;
    int pps = 0;
    for (const Nal &n : splitNals(frames[0].payload)) {
        const int copies = nalType(n, 1) == 8 ? 9 : 1;
        pps += copies == 9;
        for (int i = 0; i < copies; ++i) {
            crowded.insert(crowded.end(), {0, 0, 0, 1});
            crowded.insert(crowded.end(), n.bytes.begin(), n.bytes.end());
        }
    }
    ASSERT_EQ(pps, 1);
    frames[0].payload = crowded;
    cardtest::Card card;
    writeCard(card, frames);

    const int watch = inotify_init1(IN_NONBLOCK);
    ASSERT_GE(watch, 0);
    ASSERT_GE(inotify_add_watch(watch, m_out.c_str(), IN_CREATE), 0);
    DriftOutcome d = exportCard(card, m_out, from);
    std::vector<std::string> created;
    alignas(inotify_event) char events[16384];
    ssize_t got;
    while ((got = read(watch, events, sizeof events)) > 0) {
        for (char *p = events; p < events + got;) {
            const inotify_event *e = reinterpret_cast<const inotify_event *>(p);
            created.push_back(e->name);
            p += sizeof(inotify_event) + e->len;
        }
    }
    close(watch);
    ASSERT_EQ(d.rc, 0);
    EXPECT_EQ(d.info.firstMs, from + 2000);
    // The one ".part" file, then its final name (linked into place).
    EXPECT_EQ(created, (std::vector<std::string>{"NIVRA_20240305_110018.mov.part",
                                                 "NIVRA_20240305_110018-110021.mov"}));
}

// ---- The index reservation of a file that starts past its run --------------------

// Sum of the top-level boxes between ftyp and mdat: the space reserved for the
// index (a free box, or the moov and what is left of the reservation).
uint64_t reservedBytes(const std::vector<uint8_t> &file)
{
    auto u32 = [&](size_t at) {
        return uint64_t(file[at]) << 24 | uint64_t(file[at + 1]) << 16 | uint64_t(file[at + 2]) << 8 |
               file[at + 3];
    };
    if (file.size() < 8)
        return 0;
    uint64_t pos = u32(0), sum = 0;
    while (pos + 8 <= file.size() &&
           std::string(file.begin() + long(pos) + 4, file.begin() + long(pos) + 8) != "mdat") {
        uint64_t size = u32(size_t(pos));
        if (size < 8)
            return 0;
        sum += size;
        pos += size;
    }
    return sum;
}

TEST_F(ExportSyncTest, KeyframePastItsRunReservesForWhatIsLeftOnTheCard)
{
    // The segment table says the recording ends 9 s after `from`, but its file
    // holds 5 s of frames, a pause and 3.5 s more. A keyframe after the pause
    // up to 3000 ms past the end of its run is still that run's, with nothing
    // of it left; one further out belongs to no run, and the rest of the range
    // is cut at the card's last recorded second, however far the range goes
    // (up to the 64-bit limit). Either way the file reserves for 0 + 10 s of
    // video.
    struct Case
    {
        const char *what;
        int64_t pauseMs; // from the end of the first 5 s to the keyframe
        int64_t toMs;
    };
    const int64_t from = kSmallStart + 16000;
    const Case cases[] = {
        {"2.5 s past its run", 7500, from + 60000},
        {"6 s past, range to the 64-bit limit", 11000, INT64_MAX},
    };
    for (const Case &c : cases) {
        std::vector<Frame> frames = cardFrames(SMALL_CARD_DIR, from, from + 5000);
        std::vector<Frame> later = cardFrames(SMALL_CARD_DIR, from + 16000, from + 19500);
        ASSERT_FALSE(later.empty());
        ASSERT_EQ(later.front().type, CARD_FRAME_KEY);
        for (Frame &f : later) {
            f.time_ms += 5000 + c.pauseMs - 16000;
            frames.push_back(f);
        }
        videoFirst(frames);
        cardtest::Card card;
        std::vector<uint32_t> offsets = card.write_segment(1, frames);
        for (size_t i = 0; i < frames.size(); ++i) {
            if (frames[i].type != CARD_FRAME_KEY)
                continue;
            cardtest::IndexMark m;
            m.second = uint32_t(frames[i].time_ms / 1000);
            m.ms = uint16_t(frames[i].time_ms % 1000);
            m.frame_offset = offsets[i];
            card.blocks[1].push_back(m);
        }
        card.table.push_back({uint32_t(from / 1000), uint32_t(from / 1000 + 9), 1, 1, 0});
        card.write();

        Reader reader(card.dir);
        ExportRuns runs{};
        ASSERT_EQ(buildRuns(reader.card, from, c.toMs, &runs, nullptr), 0) << c.what;
        ASSERT_EQ(runs.count, 1) << c.what;
        EXPECT_EQ(runs.items[0].endMs, from + 9999) << c.what;
        exportRunsFree(&runs);
        card_stream stream;
        ASSERT_EQ(card_probe_stream(reader.card, uint64_t(from), &stream), 0) << c.what;

        ExportOptions o;
        memset(&o, 0, sizeof o);
        o.folder = m_out.c_str();
        o.fileDone = onFileDone;
        Files files;
        o.context = &files;
        ExportResult r;
        const int rc = exportRange(reader.card, nullptr, from, c.toMs, &o, &r);
        ASSERT_EQ(rc, 0) << c.what << ": " << exportErrorName(rc) << " " << r.message;
        ASSERT_EQ(files.paths.size(), 2u) << c.what;
        EXPECT_EQ(files.infos[1].firstMs, from + 5000 + c.pauseMs) << c.what;
        EXPECT_EQ(files.infos[1].endReason, 0) << c.what;

        MovWriterConfig mc;
        memset(&mc, 0, sizeof mc);
        mc.videoCodec = stream.video_codec;
        mc.frameIntervalMs = stream.video_interval_ms < 1 ? 67 : stream.video_interval_ms;
        const uint64_t expected = movWriterReserve(&mc, 10000, stream.audio_interval_ms, 0);
        EXPECT_EQ(reservedBytes(readFile(files.paths[1])), expected) << c.what;
        EXPECT_EQ(run("ffmpeg -v error -i '" + files.paths[1] + "' -f null -").errors, "") << c.what;
        removeTree(m_out);
        m_out = makeTempDir();
    }
}

} // namespace
