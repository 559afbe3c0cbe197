// The export writer on simulator cards; every exported file is checked with
// ffprobe/ffmpeg (structure, stamps of the decoded pictures, coded samples)
// and mediainfo.
#include "export/export_file.h"
#include "export/export_writer.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <string.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <regex>
#include <string>
#include <tuple>
#include <vector>

#include "simcard.h"
#include "storage/file_io.h"
#include "tool_helpers.h"

using namespace exporttest;

namespace {

// 2024-03-05 10:00:00 UTC: the small card's first span (offset +60 min).
constexpr int64_t kSmallStart = 1709632800000;

struct Card
{
    card_reader *reader = nullptr;
    explicit Card(const char *dir) { EXPECT_EQ(card_open(dir, &reader), 0) << dir; }
    ~Card() { card_close(reader); }
};

struct Collected
{
    std::vector<std::string> paths;
    std::vector<ExportFileInfo> infos;
    int progressCalls = 0;
    int cancelAfterFiles = -1; // progress answers "stop" once this many files exist
};

void onFileDone(void *context, const char *path, const ExportFileInfo *info)
{
    Collected *c = static_cast<Collected *>(context);
    c->paths.push_back(path);
    c->infos.push_back(*info);
}

int onProgress(void *context, uint64_t, int64_t)
{
    Collected *c = static_cast<Collected *>(context);
    c->progressCalls++;
    return c->cancelAfterFiles >= 0 && int(c->paths.size()) >= c->cancelAfterFiles ? 1 : 0;
}

ExportOptions options(const std::string &folder, Collected *c, int container = 0, int merge = 0,
                      int audio = 1)
{
    ExportOptions o;
    memset(&o, 0, sizeof o);
    o.folder = folder.c_str();
    o.container = container;
    o.merge = merge;
    o.audio = audio;
    o.progress = onProgress;
    o.fileDone = onFileDone;
    o.context = c;
    return o;
}

std::string base(const std::string &path)
{
    return path.substr(path.rfind('/') + 1);
}

// Stamps of the decoded pictures, one per line.
std::vector<std::string> stamps(const std::string &path, int w, int h)
{
    CommandResult r = run("ffmpeg -v error -i '" + path + "' -map 0:v -f rawvideo -pix_fmt gray - | " +
                          nivra::test::stampreadPath() + " " + std::to_string(w) + " " + std::to_string(h));
    std::vector<std::string> out;
    size_t pos = 0;
    while (pos < r.output.size()) {
        size_t nl = r.output.find('\n', pos);
        out.push_back(r.output.substr(pos, nl - pos));
        pos = nl == std::string::npos ? r.output.size() : nl + 1;
    }
    return out;
}

std::vector<std::string> expectedStamps(int64_t from, int count, int64_t step)
{
    std::vector<std::string> v;
    for (int i = 0; i < count; ++i)
        v.push_back(std::to_string(from + i * step));
    return v;
}

// The card's video payload units (without parameter sets) of [from, to].
std::vector<std::vector<uint8_t>> cardUnits(card_reader *card, int64_t from, int64_t to, int codec)
{
    std::vector<std::vector<uint8_t>> units;
    card_cursor *c = nullptr;
    EXPECT_EQ(cursor_open(card, &c), 0);
    EXPECT_EQ(cursor_seek(c, uint64_t(from), nullptr), 0);
    card_frame f;
    std::vector<uint8_t> buf;
    bool started = false;
    while (cursor_next(c, &f) == 0) {
        if (f.type == CARD_FRAME_AUDIO || f.time_ms < from || (!started && f.type != CARD_FRAME_KEY)) {
            cursor_skip(c);
            continue;
        }
        if (f.time_ms > to)
            break;
        started = true;
        buf.resize(f.size);
        EXPECT_EQ(cursor_read(c, buf.data(), buf.size()), 0);
        for (const Nal &n : splitNals(buf)) {
            int t = nalType(n, codec);
            bool ps = codec == 1 ? (t == 7 || t == 8) : (t >= 32 && t <= 34);
            if (!ps)
                units.push_back(n.bytes);
        }
    }
    cursor_close(c);
    return units;
}

std::vector<std::vector<uint8_t>> fileUnits(const std::string &path, int codec, const std::string &tmp)
{
    std::string out = tmp + "/units.es";
    run("ffmpeg -v error -y -i '" + path + "' -map 0:v -c copy -bsf:v " +
        (codec == 1 ? "h264_mp4toannexb -f h264 " : "hevc_mp4toannexb -f hevc ") + out);
    std::vector<std::vector<uint8_t>> units;
    for (const Nal &n : splitNals(readFile(out))) {
        int t = nalType(n, codec);
        bool ps = codec == 1 ? (t == 7 || t == 8) : (t >= 32 && t <= 34);
        if (!ps)
            units.push_back(n.bytes);
    }
    remove(out.c_str());
    return units;
}

bool anyPart(const std::string &folder)
{
    for (const std::string &n : listDir(folder))
        if (n.size() > 5 && n.compare(n.size() - 5, 5, ".part") == 0)
            return true;
    return false;
}

class ExportWriterTest : public ::testing::Test
{
protected:
    void SetUp() override { m_out = makeTempDir(); }
    void TearDown() override { removeTree(m_out); }
    std::string m_out;
};

// ---- One file per recording, checked end to end ------------------------------------

TEST_F(ExportWriterTest, OneFilePerRecordingHoldsExactlyTheRecordedFrames)
{
    Card card(SMALL_CARD_DIR);
    Collected c;
    ExportOptions o = options(m_out, &c);
    ExportResult r;
    int rc = exportRange(card.reader, nullptr, kSmallStart, kSmallStart + 179999, &o, &r);
    ASSERT_EQ(rc, 0) << exportErrorName(rc) << " " << r.message;
    ASSERT_EQ(r.files, 2);
    ASSERT_EQ(c.paths.size(), 2u);
    EXPECT_EQ(base(c.paths[0]), "NIVRA_20240305_110000-110059.mov");
    EXPECT_EQ(base(c.paths[1]), "NIVRA_20240305_110200-110259.mov");
    EXPECT_EQ(c.infos[0].endReason, EXPORT_END_GAP);
    EXPECT_EQ(c.infos[1].endReason, EXPORT_END_RANGE);
    EXPECT_EQ(r.audioLeftOut, 0);
    EXPECT_GT(r.bytes, 0u);
    EXPECT_GE(c.progressCalls, 3);
    EXPECT_FALSE(anyPart(m_out));

    for (int i = 0; i < 2; ++i) {
        const std::string &p = c.paths[size_t(i)];
        CommandResult pr =
            run("ffprobe -v warning -of default -count_packets -show_streams -show_format '" + p + "'");
        EXPECT_EQ(pr.errors, "") << p;
        EXPECT_EQ(fields(pr.output, "codec_tag_string"), (std::vector<std::string>{"avc1", "mp4a"}));
        EXPECT_EQ(fields(pr.output, "nb_read_packets")[0], "600");
        EXPECT_EQ(field(pr.output, "r_frame_rate"), "10/1");
        EXPECT_EQ(field(pr.output, "TAG:com.apple.quicktime.creationdate"),
                  i == 0 ? "2024-03-05T11:00:00+0100" : "2024-03-05T11:02:00+0100");
        // About 60 s of sound: 16000 Hz in frames of 1024 samples.
        double audio = std::stod(fields(pr.output, "duration")[1]);
        EXPECT_NEAR(audio, 60.0, 0.07) << p;
        int64_t start = kSmallStart + i * 120000;
        EXPECT_EQ(stamps(p, 320, 240), expectedStamps(start, 600, 100)) << p;
        EXPECT_EQ(fileUnits(p, 1, m_out), cardUnits(card.reader, start, start + 59999, 1)) << p;
        CommandResult mi = run("mediainfo --Inform='Video;%Format%|%FrameCount%' '" + p + "'");
        EXPECT_EQ(mi.output, "AVC|600\n");
    }

    // The same range again: the names get "_1".
    Collected again;
    ExportOptions o2 = options(m_out, &again);
    ASSERT_EQ(exportRange(card.reader, nullptr, kSmallStart, kSmallStart + 179999, &o2, &r), 0);
    ASSERT_EQ(again.paths.size(), 2u);
    EXPECT_EQ(base(again.paths[0]), "NIVRA_20240305_110000-110059_1.mov");
    EXPECT_EQ(base(again.paths[1]), "NIVRA_20240305_110200-110259_1.mov");
    EXPECT_EQ(listDir(m_out).size(), 4u);
}

TEST_F(ExportWriterTest, MergedFileCutsTheGapAndMarksChapters)
{
    Card card(SMALL_CARD_DIR);
    Collected c;
    ExportOptions o = options(m_out, &c, 1, 1);
    ExportResult r;
    // From the middle of the first recording (10:00:30.5) into the second.
    int rc = exportRange(card.reader, nullptr, kSmallStart + 30500, kSmallStart + 150000, &o, &r);
    ASSERT_EQ(rc, 0) << exportErrorName(rc) << " " << r.message;
    ASSERT_EQ(c.paths.size(), 1u);
    // The first keyframe at or after 10:00:30.5 is at 10:00:32 (one every 2 s).
    EXPECT_EQ(base(c.paths[0]), "NIVRA_20240305_110032-110230.mp4");
    EXPECT_EQ(c.infos[0].chapters, 2u);
    CommandResult pr = run("ffprobe -v error -of default -show_chapters '" + c.paths[0] + "'");
    EXPECT_EQ(fields(pr.output, "TAG:title"),
              (std::vector<std::string>{"2024-03-05 11:00:32", "2024-03-05 11:02:00"}));
    // 28 s of the first part, then the second part right after its last frame.
    EXPECT_EQ(fields(pr.output, "start_time"), (std::vector<std::string>{"0.000000", "28.000000"}));
    std::vector<std::string> want = expectedStamps(kSmallStart + 32000, 280, 100);
    std::vector<std::string> second = expectedStamps(kSmallStart + 120000, 301, 100);
    want.insert(want.end(), second.begin(), second.end());
    EXPECT_EQ(stamps(c.paths[0], 320, 240), want);
    CommandResult p = run("ffprobe -v warning -of default -show_streams '" + c.paths[0] + "'");
    EXPECT_EQ(fields(p.output, "codec_tag_string").size(), 3u);
    EXPECT_EQ(fields(p.output, "codec_tag_string")[0], "avc1");
    EXPECT_EQ(fields(p.output, "codec_tag_string")[1], "mp4a");
}

// ---- Streams and containers ----------------------------------------------------------------

TEST_F(ExportWriterTest, G711CannotGoIntoMp4ButIntoMov)
{
    Card card(H265_G711_CARD_DIR);
    const int64_t from = 1717243200000; // 2024-06-01 12:00:00 UTC
    Collected c;
    ExportOptions o = options(m_out, &c, 1);
    ExportResult r;
    EXPECT_EQ(exportRange(card.reader, nullptr, from, from + 200000, &o, &r), EXPORT_ERR_MP4_ALAW);
    EXPECT_TRUE(listDir(m_out).empty());
    EXPECT_EQ(c.progressCalls, 0);

    o.audio = 0;
    ASSERT_EQ(exportRange(card.reader, nullptr, from, from + 200000, &o, &r), 0);
    ASSERT_EQ(c.paths.size(), 2u);
    EXPECT_EQ(base(c.paths[0]), "NIVRA_20240601_070000-070039.mp4"); // offset -300 min
    CommandResult p = run("ffprobe -v warning -of default -show_streams '" + c.paths[0] + "'");
    EXPECT_EQ(p.errors, "");
    EXPECT_EQ(fields(p.output, "codec_tag_string"), (std::vector<std::string>{"hvc1"}));
    EXPECT_EQ(stamps(c.paths[0], 320, 240), expectedStamps(from, 400, 100));
    EXPECT_EQ(fileUnits(c.paths[0], 2, m_out), cardUnits(card.reader, from, from + 39999, 2));

    Collected m;
    ExportOptions mo = options(m_out, &m, 0);
    ASSERT_EQ(exportRange(card.reader, nullptr, from, from + 39999, &mo, &r), 0);
    ASSERT_EQ(m.paths.size(), 1u);
    p = run("ffprobe -v warning -of default -show_streams '" + m.paths[0] + "'");
    EXPECT_EQ(p.errors, "");
    EXPECT_EQ(fields(p.output, "codec_tag_string"), (std::vector<std::string>{"hvc1", "alaw"}));
    EXPECT_EQ(field(p.output, "sample_rate"), "8000");
    EXPECT_NEAR(std::stod(fields(p.output, "duration")[1]), 40.0, 0.03);
}

TEST_F(ExportWriterTest, RawAacGetsItsConfigurationBuilt)
{
    Card card(RAWAAC_CARD_DIR);
    const int64_t from = 1721462400000; // 2024-07-20 08:00:00 UTC
    Collected c;
    ExportOptions o = options(m_out, &c, 1);
    ExportResult r;
    ASSERT_EQ(exportRange(card.reader, nullptr, from, from + 39999, &o, &r), 0);
    ASSERT_EQ(c.paths.size(), 1u);
    CommandResult p = run("ffprobe -v warning -of default -show_streams '" + c.paths[0] + "'");
    EXPECT_EQ(p.errors, "");
    EXPECT_EQ(fields(p.output, "codec_tag_string"), (std::vector<std::string>{"avc1", "mp4a"}));
    EXPECT_EQ(field(p.output, "sample_rate"), "16000");
    CommandResult a = run("ffmpeg -v error -i '" + c.paths[0] + "' -map 0:a -f null -");
    EXPECT_EQ(a.errors, "");
}

TEST_F(ExportWriterTest, ClockChangeKeepsOneFileNamedWithEachEndsOffset)
{
    Card card(CLOCKCHANGE_CARD_DIR);
    const int64_t from = 1711846760000; // 2024-03-31 00:59:20 UTC
    Collected c;
    ExportOptions o = options(m_out, &c);
    ExportResult r;
    ASSERT_EQ(exportRange(card.reader, nullptr, from, from + 79999, &o, &r), 0);
    ASSERT_EQ(c.paths.size(), 1u);
    EXPECT_EQ(base(c.paths[0]), "NIVRA_20240331_015920-030039.mov");
    EXPECT_EQ(stamps(c.paths[0], 320, 240), expectedStamps(from, 800, 100));
}

// The time track: one subtitle a second of the camera's clock, following the
// frames across a clock change (MOV) and across a cut gap (merged MP4).
TEST_F(ExportWriterTest, TheTimeTrackShowsTheCameraClockEverySecond)
{
    struct Case
    {
        const char *card;
        int container, merge;
        int64_t from, to;
        size_t cues;
        // (cue, its start in the file, its text)
        std::vector<std::tuple<size_t, std::string, std::string>> expected;
    } cases[] = {
        {CLOCKCHANGE_CARD_DIR,
         0,
         0,
         1711846760000,
         1711846760000 + 79999,
         80,
         {{0, "00:00:00,000", "2024-03-31 01:59:20 (UTC+1)"},
          {39, "00:00:39,000", "2024-03-31 01:59:59 (UTC+1)"},
          {40, "00:00:40,000", "2024-03-31 03:00:00 (UTC+2)"},
          {79, "00:01:19,000", "2024-03-31 03:00:39 (UTC+2)"}}},
        {SMALL_CARD_DIR,
         1,
         1,
         kSmallStart + 30500,
         kSmallStart + 150000,
         59,
         {{0, "00:00:00,000", "2024-03-05 11:00:32 (UTC+1)"},
          {27, "00:00:27,000", "2024-03-05 11:00:59 (UTC+1)"},
          {28, "00:00:28,000", "2024-03-05 11:02:00 (UTC+1)"},
          {58, "00:00:58,000", "2024-03-05 11:02:30 (UTC+1)"}}},
    };
    for (const Case &k : cases) {
        SCOPED_TRACE(k.card);
        Card card(k.card);
        Collected c;
        ExportOptions o = options(m_out, &c, k.container, k.merge);
        o.timeTrack = 1;
        ExportResult r;
        ASSERT_EQ(exportRange(card.reader, nullptr, k.from, k.to, &o, &r), 0) << r.message;
        ASSERT_EQ(c.paths.size(), 1u);
        CommandResult p =
            run("ffprobe -v error -select_streams s -show_entries stream=codec_name -of csv=p=0 '" +
                c.paths[0] + "'");
        EXPECT_EQ(p.output, "mov_text\n");
        CommandResult srt = run("ffmpeg -v error -i '" + c.paths[0] + "' -map 0:s:0 -f srt -");
        ASSERT_EQ(srt.status, 0) << srt.errors;
        // SRT: a number, "start --> end", the text, a blank line.
        std::vector<std::string> starts, texts;
        size_t pos = 0;
        std::vector<std::string> lines;
        while (pos < srt.output.size()) {
            size_t nl = srt.output.find('\n', pos);
            lines.push_back(srt.output.substr(pos, nl - pos));
            pos = nl == std::string::npos ? srt.output.size() : nl + 1;
        }
        for (size_t i = 1; i + 1 < lines.size(); ++i)
            if (lines[i].find(" --> ") != std::string::npos) {
                starts.push_back(lines[i].substr(0, 12));
                // The text without the font the SRT writer names from the
                // track's default style.
                texts.push_back(std::regex_replace(lines[i + 1], std::regex("<[^>]*>"), ""));
            }
        ASSERT_EQ(texts.size(), k.cues);
        for (const auto &[cue, start, text] : k.expected) {
            EXPECT_EQ(starts[cue], start) << cue;
            EXPECT_EQ(texts[cue], text) << cue;
        }
        removeTree(m_out);
        m_out = makeTempDir();
    }
}

// ---- Nothing to write, failures and cancel ----------------------------------------------

TEST_F(ExportWriterTest, NothingFailuresAndCancel)
{
    Card card(SMALL_CARD_DIR);
    Collected c;
    ExportOptions o = options(m_out, &c);
    ExportResult r;
    // Entirely inside the gap between the two recordings.
    EXPECT_EQ(exportRange(card.reader, nullptr, kSmallStart + 70000, kSmallStart + 110000, &o, &r),
              EXPORT_NOTHING);
    EXPECT_TRUE(listDir(m_out).empty());
    EXPECT_EQ(exportRange(card.reader, nullptr, 5, 4, &o, &r), CARD_ERR_ARGUMENT);

    // A folder that cannot be written: -21 with the path, no ".part" anywhere.
    std::string bad = m_out + "/no/such/folder";
    ExportOptions ob = options(bad, &c);
    EXPECT_EQ(exportRange(card.reader, nullptr, kSmallStart, kSmallStart + 10000, &ob, &r), EXPORT_ERR_WRITE);
    EXPECT_EQ(std::string(r.message), bad + "/NIVRA_20240305_110000.mov.part");
    EXPECT_TRUE(listDir(m_out).empty());

    // Cancel once the first file is finished: it stays, the second's ".part" goes.
    c = Collected();
    c.cancelAfterFiles = 1;
    EXPECT_EQ(exportRange(card.reader, nullptr, kSmallStart, kSmallStart + 179999, &o, &r), EXPORT_CANCELLED);
    EXPECT_EQ(r.files, 1);
    EXPECT_EQ(listDir(m_out), (std::vector<std::string>{"NIVRA_20240305_110000-110059.mov"}));
    EXPECT_EQ(run("ffprobe -v warning '" + c.paths[0] + "'").errors, "");
}

TEST_F(ExportWriterTest, CardPulledBeforeTheProbeIsAReadError)
{
    // The card opened, then its segment files went away (the card pulled
    // out): probing the stream fails to read, which is what the export
    // reports, not an unknown video format.
    const std::string dir = m_out + "/card";
    ASSERT_EQ(run("cp -r '" + std::string(SMALL_CARD_DIR) + "' '" + dir + "'").status, 0);
    Card card(dir.c_str());
    ASSERT_EQ(run("rm '" + dir + "'/seg_*.dat").status, 0);
    const std::string out = m_out + "/out";
    ASSERT_EQ(run("mkdir '" + out + "'").status, 0);
    Collected c;
    ExportOptions o = options(out, &c);
    ExportResult r;
    const int rc = exportRange(card.reader, nullptr, kSmallStart, kSmallStart + 59999, &o, &r);
    EXPECT_EQ(rc, CARD_ERR_READ) << exportErrorName(rc);
    EXPECT_TRUE(listDir(out).empty());
    EXPECT_EQ(r.files, 0);
}

TEST_F(ExportWriterTest, GapFreeMergedMovKeepsTheFrameRateAndCreationDate)
{
    Card card(SMALL_CARD_DIR);
    Collected c;
    ExportOptions o = options(m_out, &c, 0, 1);
    ExportResult r;
    ASSERT_EQ(exportRange(card.reader, nullptr, kSmallStart, kSmallStart + 179999, &o, &r), 0);
    ASSERT_EQ(c.paths.size(), 1u);
    EXPECT_EQ(base(c.paths[0]), "NIVRA_20240305_110000-110259.mov");
    // -v error: ffprobe warns that it has no decoder for the QuickTime chapter
    // (text) track of a MOV, which is no fault of the file.
    CommandResult p = run("ffprobe -v error -of default -count_packets -select_streams v:0 -show_streams "
                          "-show_format '" +
                          c.paths[0] + "'");
    EXPECT_EQ(p.errors, "");
    // The two minutes with the gap cut out: 1200 pictures, evenly 10 per second.
    EXPECT_EQ(field(p.output, "nb_read_packets"), "1200");
    EXPECT_EQ(field(p.output, "r_frame_rate"), "10/1");
    EXPECT_EQ(field(p.output, "avg_frame_rate"), "10/1");
    EXPECT_NEAR(std::stod(field(p.output, "duration")), 120.0, 0.001);
    EXPECT_EQ(field(p.output, "TAG:com.apple.quicktime.creationdate"), "2024-03-05T11:00:00+0100");
    EXPECT_EQ(field(p.output, "TAG:creation_time"), "2024-03-05T10:00:00.000000Z");
}

TEST_F(ExportWriterTest, RangeOfMissingFilesOnlyWritesNothing)
{
    Card card(MISSING_CARD_DIR);
    // 10:01:00 to 10:01:39 UTC: recorded, but the segment files are gone.
    const int64_t from = kSmallStart + 60000, to = kSmallStart + 99999;
    ExportRuns runs{};
    int missing = 0;
    ASSERT_EQ(buildRuns(card.reader, from, to, &runs, &missing), 0);
    EXPECT_EQ(runs.count, 0);
    EXPECT_EQ(missing, 1);
    exportRunsFree(&runs);
    ExportEstimate est{};
    ASSERT_EQ(estimateExport(card.reader, from, to, &est), 0);
    EXPECT_EQ(est.runs.count, 0);
    EXPECT_EQ(est.missing, 1);
    EXPECT_EQ(est.durationMs, 0);
    exportRunsFree(&est.runs);

    Collected c;
    ExportOptions o = options(m_out, &c);
    ExportResult r;
    int rc = exportRange(card.reader, nullptr, from, to, &o, &r);
    EXPECT_EQ(rc, EXPORT_NOTHING) << exportErrorName(rc);
    EXPECT_TRUE(listDir(m_out).empty());

    // With the recording before them, only that one is written.
    rc = exportRange(card.reader, nullptr, kSmallStart, to, &o, &r);
    EXPECT_EQ(rc, EXPORT_OK) << exportErrorName(rc);
    EXPECT_EQ(listDir(m_out), (std::vector<std::string>{"NIVRA_20240305_110000-110039.mov"}));
}

TEST_F(ExportWriterTest, FullDiskGivesWriteErrorWithPathAndNoPartFile)
{
    // A child whose files may not grow past 1 MiB: the disk is "full" once
    // the first file reaches that size (about 1.7 MB would be written).
    int pipeFds[2];
    ASSERT_EQ(pipe(pipeFds), 0);
    pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        close(pipeFds[0]);
        signal(SIGXFSZ, SIG_IGN);
        struct rlimit limit = {1 << 20, 1 << 20};
        setrlimit(RLIMIT_FSIZE, &limit);
        card_reader *reader = nullptr;
        ExportResult r;
        memset(&r, 0, sizeof r);
        int rc = card_open(SMALL_CARD_DIR, &reader);
        if (rc == 0) {
            ExportOptions o;
            memset(&o, 0, sizeof o);
            o.folder = m_out.c_str();
            o.audio = 1;
            rc = exportRange(reader, nullptr, kSmallStart, kSmallStart + 179999, &o, &r);
        }
        card_close(reader);
        std::string report = std::to_string(rc) + "\n" + r.message;
        ssize_t ignored = write(pipeFds[1], report.data(), report.size());
        (void)ignored;
        _exit(0);
    }
    close(pipeFds[1]);
    std::string report;
    char buf[4096];
    ssize_t n;
    while ((n = read(pipeFds[0], buf, sizeof buf)) > 0)
        report.append(buf, size_t(n));
    close(pipeFds[0]);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(report, "-21\n" + m_out + "/NIVRA_20240305_110000.mov.part");
    EXPECT_TRUE(listDir(m_out).empty());
}

// ---- Runs, estimate and names --------------------------------------------------------------

TEST_F(ExportWriterTest, RunsEstimateAndNames)
{
    Card card(SMALL_CARD_DIR);
    ExportRuns runs{};
    int missing = -1;
    ASSERT_EQ(buildRuns(card.reader, kSmallStart - 5000, kSmallStart + 200000, &runs, &missing), 0);
    ASSERT_EQ(runs.count, 2);
    EXPECT_EQ(missing, 0);
    EXPECT_EQ(runs.items[0].startMs, kSmallStart);
    EXPECT_EQ(runs.items[0].endMs, kSmallStart + 59999);
    EXPECT_EQ(runs.items[1].startMs, kSmallStart + 120000);
    EXPECT_EQ(runs.items[1].offsetMin, 60);
    exportRunsFree(&runs);

    ExportEstimate est{};
    ASSERT_EQ(estimateExport(card.reader, kSmallStart + 1500, kSmallStart + 150000, &est), 0);
    ASSERT_EQ(est.runs.count, 2);
    EXPECT_EQ(est.runs.items[0].startMs, kSmallStart + 2000); // next keyframe
    EXPECT_EQ(est.durationMs, (59999 - 2000) + 30000);
    // The last pictures: the recording's own, and the one right at the end
    // of the range, which an export takes.
    EXPECT_EQ(est.runs.items[0].lastMs, kSmallStart + 59900);
    EXPECT_EQ(est.runs.items[1].lastMs, kSmallStart + 150000);
    // The estimate comes from keyframe spacing: within 25% of what an export reads.
    Collected c;
    ExportOptions o = options(m_out, &c);
    ExportResult r;
    ASSERT_EQ(exportRange(card.reader, nullptr, kSmallStart + 1500, kSmallStart + 150000, &o, &r), 0);
    EXPECT_NEAR(double(est.bytes), double(r.bytes), double(r.bytes) * 0.25);
    ASSERT_EQ(c.infos.size(), 2u);
    EXPECT_EQ(c.infos[0].lastMs, est.runs.items[0].lastMs);
    EXPECT_EQ(c.infos[1].lastMs, est.runs.items[1].lastMs);
    // One millisecond before that picture, the one before it.
    ASSERT_EQ(estimateExport(card.reader, kSmallStart + 1500, kSmallStart + 149999, &est), 0);
    ASSERT_EQ(est.runs.count, 2);
    EXPECT_EQ(est.runs.items[1].lastMs, kSmallStart + 149900);
    exportRunsFree(&est.runs);

    char name[64];
    ASSERT_EQ(formatExportName(nullptr, 1, 1709280930000, 1709284530999, 3600, 7200, name, sizeof name), 0);
    EXPECT_STREQ(name, "NIVRA_20240301_091530-111530.mp4");
    ASSERT_EQ(formatExportName("CAM", 0, -1000, -1, 0, 0, name, sizeof name), 0);
    EXPECT_STREQ(name, "CAM_19691231_235959-235959.mov");
    EXPECT_EQ(formatExportName("CAM", 0, 0, 0, 0, 0, name, 10), CARD_ERR_ARGUMENT);
}

} // namespace

namespace {

// ---- Damage and read failures: nothing reported as whole that is not -----------------

// No ".part" left, and every file handed over exists.
void expectOnlyFinishedFiles(const std::string &folder, const Collected &c, const char *what)
{
    EXPECT_EQ(listDir(folder).size(), c.paths.size()) << what;
    EXPECT_FALSE(anyPart(folder)) << what;
    for (const std::string &p : c.paths)
        EXPECT_TRUE(exists(p)) << what << ": " << p;
}

TEST_F(ExportWriterTest, AReadFailureAnywhereEndsTheExportWithTheReadError)
{
    // Every read from the n-th on fails as a card pulled out does. Wherever n
    // falls (a frame header, a payload, an index block, the probe), the export
    // ends with the read error; a recording finished before it stays whole.
    Card card(SMALL_CARD_DIR);
    nivra::storage::file_fail_reads_from(0);
    {
        Collected c;
        ExportOptions o = options(m_out, &c);
        ExportResult r;
        ASSERT_EQ(exportRange(card.reader, nullptr, kSmallStart, kSmallStart + 179999, &o, &r), EXPORT_OK);
        EXPECT_FALSE(exportIncomplete(&r)) << r.writtenMs << " of " << r.plannedMs;
    }
    const uint64_t reads = nivra::storage::file_read_calls();
    ASSERT_GT(reads, 100u);
    removeTree(m_out);
    std::vector<uint64_t> from = {1, 2, 3, 4, reads / 2, reads - 1, reads};
    for (uint64_t k = 1; k < 40; ++k)
        from.push_back(k * reads / 40 + k % 3);
    for (uint64_t n : from) {
        const std::string folder = makeTempDir();
        Collected c;
        ExportOptions o = options(folder, &c);
        ExportResult r;
        nivra::storage::file_fail_reads_from(n);
        const int rc = exportRange(card.reader, nullptr, kSmallStart, kSmallStart + 179999, &o, &r);
        nivra::storage::file_fail_reads_from(0);
        const std::string what = "failing from read " + std::to_string(n) + " of " + std::to_string(reads);
        EXPECT_EQ(rc, CARD_ERR_READ) << what << ": " << exportErrorName(rc);
        EXPECT_EQ(r.files, int(c.paths.size())) << what;
        EXPECT_LE(r.files, 1) << what;
        for (const ExportFileInfo &info : c.infos)
            EXPECT_GE(info.videoDurationMs, 59000) << what;
        expectOnlyFinishedFiles(folder, c, what.c_str());
        removeTree(folder);
    }
}

TEST_F(ExportWriterTest, DamageIsSkippedAndTheShortfallReported)
{
    // The small card with one kind of damage each, exported whole, one file
    // per recording.
    struct Case
    {
        const char *what;
        const char *damage;
        int files;
        uint64_t skipped;
        bool incomplete;
        int64_t firstMs; // of the first file
    };
    const Case cases[] = {
        {"intact", "{}", 2, 0, false, kSmallStart},
        // A valid checksum with a time a day ahead: left out, counted, and the
        // rest of both recordings still exported.
        {"frame a day ahead", R"({"frameTimeAhead": [{"segment": 0, "frame": 50}]})", 2, 1, true,
         kSmallStart},
        // The first keyframe garbled: the recording starts at the next one,
        // and the frame left out is said.
        {"first keyframe garbled", R"({"framePayloadGarbled": [{"segment": 0, "frame": 0}]})", 2, 1, true,
         kSmallStart + 2000},
        // A broken frame header ends its file's data: 27 s of it are lost,
        // and the recording goes on in a file of its own after the hole.
        {"rest of a file unreadable", R"({"frameBadChecksum": [{"segment": 0, "frame": 100}]})", 3, 0, true,
         kSmallStart},
    };
    for (const Case &k : cases) {
        nivra::test::TempDir dir("damage");
        std::string log;
        ASSERT_TRUE(nivra::test::generateDamagedPresetCard("small", k.damage, dir.path(), &log))
            << k.what << log;
        Card card(dir.path().c_str());
        card_stream stream;
        ASSERT_EQ(card_probe_stream(card.reader, uint64_t(kSmallStart), &stream), 0) << k.what;
        EXPECT_EQ(stream.video_codec, CARD_CODEC_H264) << k.what;
        const std::string folder = makeTempDir();
        Collected c;
        ExportOptions o = options(folder, &c);
        ExportResult r;
        const int rc = exportRange(card.reader, nullptr, kSmallStart, kSmallStart + 179999, &o, &r);
        EXPECT_EQ(rc, EXPORT_OK) << k.what << ": " << exportErrorName(rc);
        EXPECT_EQ(r.files, k.files) << k.what;
        EXPECT_EQ(r.skippedFrames, k.skipped) << k.what;
        EXPECT_EQ(exportIncomplete(&r) != 0, k.incomplete)
            << k.what << ": " << r.writtenMs << " of " << r.plannedMs << " ms written";
        ASSERT_FALSE(c.infos.empty()) << k.what;
        EXPECT_EQ(c.infos[0].firstMs, k.firstMs) << k.what;
        for (const std::string &p : c.paths)
            EXPECT_EQ(run("ffmpeg -v error -i '" + p + "' -f null -").errors, "") << k.what << ": " << p;
        expectOnlyFinishedFiles(folder, c, k.what);
        removeTree(folder);
    }
}

} // namespace

namespace {

// ---- The one rule: complete only when every run was written whole -----------------

// Six events over two recordings of 90 s, in 30 s segments, a key frame
// every 2 s: each segment truncated somewhere takes a different part away.
constexpr const char *kSweepCard = R"({
  "video": {"codec": "h264", "width": 320, "height": 240, "fps": 5, "keyint": 10, "bitrate": 60000},
  "audio": {"format": "aac-adts", "rate": 16000, "channels": 1},
  "spans": [
    {"start": "2024-03-05T10:00:00Z", "seconds": 90, "offsetMin": 60},
    {"start": "2024-03-05T10:03:00Z", "seconds": 90, "offsetMin": 60}
  ],
  "segments": {"seconds": 30, "slots": 16},
  "events": [
    {"start": "2024-03-05T10:00:05Z", "seconds": 6, "kinds": 1},
    {"start": "2024-03-05T10:00:44Z", "seconds": 6, "kinds": 2},
    {"start": "2024-03-05T10:01:12Z", "seconds": 6, "kinds": 4},
    {"start": "2024-03-05T10:03:06Z", "seconds": 6, "kinds": 1},
    {"start": "2024-03-05T10:03:47Z", "seconds": 6, "kinds": 16},
    {"start": "2024-03-05T10:04:15Z", "seconds": 6, "kinds": 1}
  ]
})";
constexpr int64_t kSweepKeyMs = 2000;
constexpr int64_t kSweepFrameMs = 200;

struct LostCollected : Collected
{
    std::vector<ExportLostRun> lost;
};

void onRunLost(void *context, const ExportLostRun *run)
{
    static_cast<LostCollected *>(context)->lost.push_back(*run);
}

// The time a run's pictures span in the files, read from the simulator's
// stamps in the decoded pictures; pictures more than 1 s apart leave a hole.
int64_t coveredByStamps(const std::vector<int64_t> &shown, const ExportRun &run)
{
    int64_t covered = 0, last = -1;
    for (int64_t t : shown) {
        if (t < run.startMs - 3000 || t > run.endMs + 3000 || t <= last)
            continue;
        covered += last >= 0 && t - last <= 1000 ? t - last : kSweepFrameMs;
        last = t;
    }
    return covered < run.endMs - run.startMs ? covered : run.endMs - run.startMs;
}

// One export of [from, to] checked against the rule: a run short by more than
// a key-frame interval makes the result incomplete and is named; a whole run
// is not named. The stamps say what was written, not the writer.
void exportAndHold(card_reader *card, int64_t from, int64_t to, int merge, const std::string &what)
{
    ExportRuns plan{};
    ASSERT_EQ(buildRuns(card, from, to, &plan, nullptr), 0) << what;
    const std::string folder = makeTempDir();
    LostCollected c;
    ExportOptions o = options(folder, &c, 0, merge);
    o.runLost = onRunLost;
    ExportResult r;
    const int rc = exportRange(card, nullptr, from, to, &o, &r);
    if (rc == EXPORT_OK || rc == EXPORT_NOTHING) {
        std::vector<int64_t> shown;
        for (const std::string &p : c.paths)
            for (const std::string &s : stamps(p, 320, 240))
                if (!s.empty() && s != "-")
                    shown.push_back(std::stoll(s));
        std::sort(shown.begin(), shown.end());
        const bool complete = rc == EXPORT_OK && !exportIncomplete(&r);
        const int64_t slack = kSweepKeyMs + kSweepFrameMs + 100;
        for (int i = 0; i < plan.count; ++i) {
            const ExportRun &run = plan.items[i];
            const int64_t lost = run.endMs - run.startMs - coveredByStamps(shown, run);
            const bool named = std::any_of(c.lost.begin(), c.lost.end(), [&](const ExportLostRun &l) {
                return l.startMs == run.startMs && l.endMs == run.endMs;
            });
            const std::string where = what + ", run " + std::to_string(run.startMs) + "-" +
                                      std::to_string(run.endMs) + ": " + std::to_string(lost) + " ms lost";
            // A margin either way for pictures that do not decode at a cut.
            if (lost > slack + 500) {
                EXPECT_FALSE(complete) << where;
                EXPECT_TRUE(named) << where;
            } else if (lost < slack - 500) {
                EXPECT_FALSE(named) << where;
            }
        }
        EXPECT_EQ(int(c.lost.size()), r.lostRuns) << what;
    }
    exportRunsFree(&plan);
    removeTree(folder);
}

// Each export of the card: one file per recording, one merged file, and one
// file per event padded by 5 s.
void holdEveryExport(card_reader *reader, const std::string &what)
{
    const int64_t from = kSmallStart, to = kSmallStart + 299999;
    exportAndHold(reader, from, to, 0, what + ", per recording");
    exportAndHold(reader, from, to, 1, what + ", merged");
    std::vector<card_event> events(32);
    int count = 0;
    if (card_events(reader, uint32_t(from / 1000), uint32_t(to / 1000), events.data(), 32, &count) != 0)
        return; // a read failure in the index: nothing to export
    std::vector<ExportEventPiece> pieces(size_t(count) + 1);
    std::vector<ExportSkippedEvent> skipped(size_t(count) + 1);
    int made = 0, left = 0;
    if (exportEventPieces(reader, events.data(), count, 0x1F, 5, 5, from, to, pieces.data(), &made,
                          skipped.data(), &left) < 0)
        return;
    for (int i = 0; i < made; ++i)
        exportAndHold(reader, pieces[size_t(i)].fromMs, pieces[size_t(i)].toMs, 1,
                      what + ", event piece " + std::to_string(i));
}

TEST(ExportCompleteness, TruncatedSegmentsAreNeverReportedWhole)
{
    nivra::test::TempDir source("sweep");
    std::string log;
    ASSERT_TRUE(nivra::test::generateScenarioCard(kSweepCard, source.path(), &log)) << log;
    {
        Card card(source.path().c_str());
        holdEveryExport(card.reader, "intact");
    }
    std::vector<std::string> segments;
    for (const std::string &name : listDir(source.path()))
        if (name.rfind("seg_", 0) == 0)
            segments.push_back(name);
    std::sort(segments.begin(), segments.end());
    ASSERT_GE(segments.size(), 6u);
    for (const std::string &segment : segments) {
        const int64_t size = int64_t(readFile(source.path() + "/" + segment).size());
        for (const int64_t at : {int64_t(200), size / 2}) {
            nivra::test::TempDir copy("sweepcut");
            ASSERT_EQ(run("cp -a '" + source.path() + "/.' '" + copy.path() + "'").status, 0);
            ASSERT_EQ(truncate((copy.path() + "/" + segment).c_str(), at), 0);
            Card card(copy.path().c_str());
            if (card.reader)
                holdEveryExport(card.reader, segment + " cut at " + std::to_string(at));
        }
    }
}

TEST(ExportCompleteness, ReadErrorsAnywhereAreNeverReportedWhole)
{
    nivra::test::TempDir source("sweepread");
    std::string log;
    ASSERT_TRUE(nivra::test::generateScenarioCard(kSweepCard, source.path(), &log)) << log;
    Card card(source.path().c_str());
    nivra::storage::file_fail_reads_from(0);
    holdEveryExport(card.reader, "counting");
    const uint64_t reads = nivra::storage::file_read_calls();
    ASSERT_GT(reads, 100u);
    for (uint64_t k = 1; k <= 12; ++k) {
        const uint64_t n = k * reads / 13 + k % 5;
        nivra::storage::file_fail_reads_from(n);
        holdEveryExport(card.reader, "reads failing from " + std::to_string(n));
        nivra::storage::file_fail_reads_from(0);
    }
}

} // namespace

namespace {

// ---- The card is never written to -----------------------------------------------------

TEST(ExportFolders, AFolderInsideTheCardIsKnownWithLinksFollowed)
{
    nivra::test::TempDir root("inside");
    const std::string r = root.path();
    ASSERT_EQ(run("mkdir -p '" + r + "/card/DCIM' '" + r + "/cardboard' '" + r + "/out' && ln -s '" + r +
                  "/card/DCIM' '" + r + "/out/link'")
                  .status,
              0);
    const struct
    {
        std::string path;
        int inside;
    } cases[] = {
        {r + "/card", 1},           {r + "/card/", 1},     {r + "/card/DCIM/new/deeper", 1}, // not made yet
        {r + "/out/link/clips", 1},                        // through a link into the card
        {r + "/out/../card/x", 1},  {r + "/cardboard", 0}, // a name that only begins like it
        {r + "/card/../out", 0},    {r + "/out", 0},
    };
    for (const auto &c : cases)
        EXPECT_EQ(exportPathIsInside(c.path.c_str(), (r + "/card").c_str()), c.inside) << c.path;
}

} // namespace
