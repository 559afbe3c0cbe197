// MovWriter checked by tools that share no code with it: ffprobe/ffmpeg
// (structure, decoded pictures, extracted samples), mediainfo, mkvmerge and
// GStreamer's qtdemux. Inputs are real streams encoded by ffmpeg at test time.
#include "export/mov_writer.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <stdio.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <map>
#include <random>
#include <string>
#include <vector>

#include "tool_helpers.h"

using namespace exporttest;

namespace {

typedef std::vector<uint8_t> Bytes;

std::string g_dir;
std::map<std::string, std::vector<Bytes>> g_video; // name -> access units
std::map<std::string, std::vector<Bytes>> g_adts;  // name -> ADTS frames
Bytes g_alaw;

struct FileSink
{
    FILE *file = nullptr;
    uint64_t writes = 0;
    int failAt = -1; // write number that fails, -1 never
};

int fileWrite(void *context, uint64_t offset, const void *data, size_t length)
{
    FileSink *s = static_cast<FileSink *>(context);
    if (s->failAt >= 0 && s->writes == uint64_t(s->failAt))
        return 1;
    s->writes++;
    if (fseeko(s->file, off_t(offset), SEEK_SET) != 0)
        return 1;
    return fwrite(data, 1, length, s->file) == length ? 0 : 1;
}

MovWriterConfig baseConfig(int mp4, int codec, int audioMode)
{
    MovWriterConfig c;
    memset(&c, 0, sizeof c);
    c.mp4 = mp4;
    c.videoCodec = codec;
    c.audioMode = audioMode;
    c.frameIntervalMs = 67;
    c.startMs = 1709280930000; // 2024-03-01 08:15:30 UTC
    c.offsetMin = 60;
    return c;
}

struct Written
{
    int code = -99;
    MovWriterStats stats{};
    std::string path;
};

// Writes video (one access unit per 1000/15 ms) interleaved with audio frames
// of audioMs each, then chapters; finishes and closes.
Written writeMovie(const std::string &name, const MovWriterConfig &config, const std::vector<Bytes> &video,
                   int codec, const std::vector<Bytes> &audio = {}, double audioMs = 0,
                   const std::vector<std::pair<int64_t, std::string>> &chapters = {})
{
    Written out;
    out.path = g_dir + "/" + name;
    FileSink sink;
    sink.file = fopen(out.path.c_str(), "wb");
    MovWriter *w = nullptr;
    out.code = movWriterStart(&config, fileWrite, &sink, &w);
    if (out.code != 0) {
        fclose(sink.file);
        return out;
    }
    size_t a = 0;
    for (size_t i = 0; i < video.size(); ++i) {
        int64_t t = int64_t(i) * 1000 / 15;
        while (a < audio.size() && double(a) * audioMs < double(t)) {
            int rc = movWriterAddAudio(w, audio[a].data(), audio[a].size());
            EXPECT_EQ(rc, 0) << movWriterErrorName(rc);
            ++a;
        }
        int rc = movWriterAddVideo(w, video[i].data(), video[i].size(), t, isKeyframe(video[i], codec));
        EXPECT_EQ(rc, 0) << "frame " << i << ": " << movWriterErrorName(rc);
    }
    for (; a < audio.size(); ++a)
        EXPECT_EQ(movWriterAddAudio(w, audio[a].data(), audio[a].size()), 0);
    for (auto &c : chapters)
        EXPECT_EQ(movWriterAddChapter(w, c.first, c.second.c_str()), 0);
    out.code = movWriterFinish(w, &out.stats);
    movWriterFree(w);
    fclose(sink.file);
    return out;
}

CommandResult probe(const std::string &path, const std::string &what)
{
    return run("ffprobe -v warning -of default=nw=0 " + what + " '" + path + "'");
}

// NAL units of an Annex-B stream without parameter sets.
std::vector<Bytes> nonParamNals(const Bytes &stream, int codec)
{
    std::vector<Bytes> out;
    for (const Nal &n : splitNals(stream)) {
        int t = nalType(n, codec);
        bool ps = codec == 1 ? (t == 7 || t == 8) : (t >= 32 && t <= 34);
        if (!ps)
            out.push_back(n.bytes);
    }
    return out;
}

std::string framemd5(const std::string &input, const std::string &extra = "")
{
    CommandResult r = run("ffmpeg -v error -i '" + input + "' " + extra +
                          " -map 0:v -f framemd5 - | grep -v '^#' | awk -F, '{print $6}'");
    return r.output;
}

class MovWriterTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        g_dir = makeTempDir();
        ASSERT_FALSE(g_dir.empty());
        const std::string d = g_dir;
        const std::string src = "ffmpeg -v error -y -f lavfi -i testsrc2=size=320x180:rate=15 -t 4 ";
        ASSERT_EQ(
            run(src + "-c:v libx264 -preset ultrafast -g 15 -bf 0 -x264-params aud=1 -f h264 " + d + "/a.264")
                .status,
            0);
        ASSERT_EQ(run("ffmpeg -v error -y -f lavfi -i testsrc=size=160x120:rate=15 -t 1 -c:v libx264 "
                      "-preset ultrafast -g 15 -bf 0 -x264-params aud=1 -f h264 " +
                      d + "/b.264")
                      .status,
                  0);
        ASSERT_EQ(run(src +
                      "-c:v libx265 -preset ultrafast -g 15 -bf 0 -x265-params "
                      "aud=1:repeat-headers=1:log-level=error -f hevc " +
                      d + "/a.265")
                      .status,
                  0);
        ASSERT_EQ(run("ffmpeg -v error -y -f lavfi -i sine=frequency=1000:sample_rate=16000 -t 4 "
                      "-c:a aac -f adts " +
                      d + "/m16.aac")
                      .status,
                  0);
        ASSERT_EQ(run("ffmpeg -v error -y -f lavfi -i sine=frequency=500:sample_rate=48000 -t 4 "
                      "-ac 2 -c:a aac -f adts " +
                      d + "/s48.aac")
                      .status,
                  0);
        ASSERT_EQ(run("ffmpeg -v error -y -f lavfi -i sine=frequency=1000:sample_rate=8000 -t 4 "
                      "-c:a pcm_alaw -f alaw " +
                      d + "/a.alaw")
                      .status,
                  0);
        g_video["a264"] = splitAccessUnits(readFile(d + "/a.264"), 1);
        g_video["b264"] = splitAccessUnits(readFile(d + "/b.264"), 1);
        g_video["a265"] = splitAccessUnits(readFile(d + "/a.265"), 2);
        g_adts["m16"] = splitAdts(readFile(d + "/m16.aac"));
        g_adts["s48"] = splitAdts(readFile(d + "/s48.aac"));
        g_alaw = readFile(d + "/a.alaw");
        ASSERT_EQ(g_video["a264"].size(), 60u);
        ASSERT_EQ(g_video["a265"].size(), 60u);
        ASSERT_GT(g_adts["m16"].size(), 50u);
    }
    static void TearDownTestSuite() { removeTree(g_dir); }
};

// ---- Whole files read by independent parsers ----------------------------------------

TEST_F(MovWriterTest, H264WithAacInMovOpensEverywhereAndHoldsTheExactFrames)
{
    MovWriterConfig c = baseConfig(0, MOVW_VIDEO_H264, MOVW_AUDIO_AAC);
    c.reserve = movWriterReserve(&c, 5000, 64, 0);
    Written w = writeMovie("h264aac.mov", c, g_video["a264"], 1, g_adts["m16"], 64.0);
    ASSERT_EQ(w.code, 0) << movWriterErrorName(w.code);
    EXPECT_EQ(w.stats.videoSamples, 60u);
    EXPECT_EQ(w.stats.keyframes, 4u);
    EXPECT_EQ(w.stats.width, 320);
    EXPECT_EQ(w.stats.height, 180);
    EXPECT_EQ(w.stats.indexAtFront, 1);

    CommandResult p = probe(w.path, "-show_streams -show_format -count_packets");
    EXPECT_EQ(p.status, 0);
    EXPECT_EQ(p.errors, "") << "ffprobe complained";
    std::vector<std::string> tags = fields(p.output, "codec_tag_string");
    ASSERT_EQ(tags.size(), 2u);
    EXPECT_EQ(tags[0], "avc1");
    EXPECT_EQ(tags[1], "mp4a");
    EXPECT_EQ(fields(p.output, "nb_read_packets")[0], "60");
    EXPECT_EQ(fields(p.output, "nb_read_packets")[1], std::to_string(g_adts["m16"].size()));
    EXPECT_EQ(field(p.output, "width"), "320");
    EXPECT_EQ(field(p.output, "height"), "180");
    EXPECT_EQ(field(p.output, "r_frame_rate"), "15/1");
    EXPECT_EQ(field(p.output, "sample_rate"), "16000");
    EXPECT_EQ(field(p.output, "TAG:com.apple.quicktime.creationdate"), "2024-03-01T09:15:30+0100");

    // Decoded pictures equal those of the source stream.
    std::string ref = framemd5(g_dir + "/a.264");
    EXPECT_FALSE(ref.empty());
    EXPECT_EQ(framemd5(w.path), ref);

    // The coded samples equal the source units (parameter sets moved to avcC).
    ASSERT_EQ(run("ffmpeg -v error -y -i '" + w.path + "' -map 0:v -c copy -bsf:v h264_mp4toannexb -f h264 " +
                  g_dir + "/back.264")
                  .status,
              0);
    EXPECT_EQ(nonParamNals(readFile(g_dir + "/back.264"), 1), nonParamNals(readFile(g_dir + "/a.264"), 1));

    // The audio decodes cleanly to its full length.
    CommandResult a = run("ffmpeg -v error -i '" + w.path + "' -map 0:a -f s16le - | wc -c");
    EXPECT_EQ(a.errors, "");
    EXPECT_EQ(std::stoll(a.output), int64_t(g_adts["m16"].size()) * 1024 * 2);

    CommandResult mi =
        run("mediainfo --Inform='Video;%Format%|%Width%|%Height%|%FrameCount%' '" + w.path + "'");
    EXPECT_EQ(mi.output, "AVC|320|180|60\n");
    CommandResult mk = run("mkvmerge -J '" + w.path + "'");
    EXPECT_NE(mk.output.find("\"supported\": true"), std::string::npos) << mk.output;
    EXPECT_NE(mk.output.find("AVC/H.264"), std::string::npos);
    EXPECT_NE(mk.output.find("AAC"), std::string::npos);
    CommandResult gst = run("timeout 60 gst-launch-1.0 -q filesrc location='" + w.path +
                            "' ! qtdemux name=d d.video_0 ! queue ! fakesink d.audio_0 ! queue ! fakesink");
    EXPECT_EQ(gst.status, 0) << gst.output << gst.errors;
}

TEST_F(MovWriterTest, H265WithAdtsInMp4)
{
    MovWriterConfig c = baseConfig(1, MOVW_VIDEO_H265, MOVW_AUDIO_AAC);
    Written w = writeMovie("h265.mp4", c, g_video["a265"], 2, g_adts["s48"], 1024000.0 / 48000);
    ASSERT_EQ(w.code, 0) << movWriterErrorName(w.code);
    EXPECT_EQ(w.stats.indexAtFront, 0);
    Bytes file = readFile(w.path);
    ASSERT_GT(file.size(), 32u);
    EXPECT_EQ(file[3], 28) << "an H.265 MP4 begins with a 28-byte ftyp";
    EXPECT_EQ(std::string(file.begin() + 4, file.begin() + 12), "ftypisom");

    CommandResult p = probe(w.path, "-show_streams -count_packets");
    EXPECT_EQ(p.errors, "");
    std::vector<std::string> tags = fields(p.output, "codec_tag_string");
    ASSERT_EQ(tags.size(), 2u);
    EXPECT_EQ(tags[0], "hvc1");
    EXPECT_EQ(tags[1], "mp4a");
    EXPECT_EQ(field(p.output, "width"), "320");
    EXPECT_EQ(field(p.output, "height"), "180");
    EXPECT_EQ(field(p.output, "channels"), "2");
    EXPECT_EQ(fields(p.output, "nb_read_packets")[0], "60");
    EXPECT_EQ(framemd5(w.path), framemd5(g_dir + "/a.265"));
    ASSERT_EQ(run("ffmpeg -v error -y -i '" + w.path + "' -map 0:v -c copy -bsf:v hevc_mp4toannexb -f hevc " +
                  g_dir + "/back.265")
                  .status,
              0);
    EXPECT_EQ(nonParamNals(readFile(g_dir + "/back.265"), 2), nonParamNals(readFile(g_dir + "/a.265"), 2));
    CommandResult mk = run("mkvmerge -J '" + w.path + "'");
    EXPECT_NE(mk.output.find("HEVC"), std::string::npos) << mk.output;
    CommandResult mi = run("mediainfo --Inform='Video;%Format%|%Width%|%Height%' '" + w.path + "'");
    EXPECT_EQ(mi.output, "HEVC|320|180\n");
}

TEST_F(MovWriterTest, FtypSizesAndAlawMov)
{
    Written mp4 = writeMovie("h264.mp4", baseConfig(1, 1, 0), g_video["a264"], 1);
    ASSERT_EQ(mp4.code, 0);
    EXPECT_EQ(readFile(mp4.path)[3], 32);

    // G.711 in 160-byte writes every 20 ms.
    std::vector<Bytes> alaw;
    for (size_t i = 0; i + 160 <= g_alaw.size(); i += 160)
        alaw.emplace_back(g_alaw.begin() + long(i), g_alaw.begin() + long(i + 160));
    MovWriterConfig c = baseConfig(0, 1, MOVW_AUDIO_ALAW);
    c.sampleRate = 8000;
    c.channels = 1;
    Written mov = writeMovie("alaw.mov", c, g_video["a264"], 1, alaw, 20.0);
    ASSERT_EQ(mov.code, 0);
    EXPECT_EQ(readFile(mov.path)[3], 20);
    CommandResult p = probe(mov.path, "-show_streams");
    EXPECT_EQ(p.errors, "");
    EXPECT_EQ(fields(p.output, "codec_tag_string")[1], "alaw");
    EXPECT_EQ(field(p.output, "sample_rate"), "8000");
    // Every byte written is one sample: the decoded length equals the input.
    size_t written = alaw.size() * 160;
    CommandResult a = run("ffmpeg -v error -i '" + mov.path + "' -map 0:a -f s16le - | wc -c");
    EXPECT_EQ(a.errors, "");
    EXPECT_EQ(std::stoull(a.output), written * 2);
    EXPECT_EQ(mov.stats.audioDurationMs, int64_t((written * 1000 + 7999) / 8000));
}

TEST_F(MovWriterTest, RejectsInvalidConfigurationsWithoutWriting)
{
    struct Case
    {
        const char *what;
        MovWriterConfig config;
    };
    std::vector<Case> cases;
    MovWriterConfig c = baseConfig(1, 1, MOVW_AUDIO_ALAW);
    c.sampleRate = 8000;
    cases.push_back({"MP4 with G.711", c});
    c = baseConfig(0, 3, 0);
    cases.push_back({"unknown codec", c});
    c = baseConfig(0, 1, 0);
    c.reserve = 7;
    cases.push_back({"reserve below a box header", c});
    c = baseConfig(0, 1, MOVW_AUDIO_ALAW);
    c.sampleRate = 0;
    cases.push_back({"G.711 without a rate", c});
    c = baseConfig(0, 1, 1);
    c.audioConfigLength = 17;
    cases.push_back({"overlong AudioSpecificConfig", c});
    for (const Case &k : cases) {
        FileSink sink;
        sink.file = tmpfile();
        MovWriter *w = reinterpret_cast<MovWriter *>(&sink);
        EXPECT_EQ(movWriterStart(&k.config, fileWrite, &sink, &w), MOVW_ERR_ARGUMENT) << k.what;
        EXPECT_EQ(w, nullptr) << k.what;
        EXPECT_EQ(sink.writes, 0u) << k.what;
        fclose(sink.file);
    }
}

// ---- Index placement ---------------------------------------------------------------------

TEST_F(MovWriterTest, IndexFillsTheReservationOrMovesToTheEnd)
{
    std::vector<Bytes> few(g_video["a264"].begin(), g_video["a264"].begin() + 20);
    Written probeRun = writeMovie("len.mov", baseConfig(0, 1, 0), few, 1);
    ASSERT_EQ(probeRun.code, 0);
    const uint64_t L = probeRun.stats.indexSize;
    struct Case
    {
        uint64_t reserve;
        int front;
        bool freeAfter;
    } cases[] = {{L, 1, false}, {L + 3, 0, false}, {L + 7, 0, false}, {L + 8, 1, true}, {L + 500, 1, true}};
    for (const Case &k : cases) {
        MovWriterConfig c = baseConfig(0, 1, 0);
        c.reserve = k.reserve;
        Written w = writeMovie("res.mov", c, few, 1);
        ASSERT_EQ(w.code, 0);
        EXPECT_EQ(w.stats.indexAtFront, k.front) << "reserve L+" << (k.reserve - L);
        EXPECT_EQ(w.stats.indexSize, L);
        Bytes f = readFile(w.path);
        EXPECT_EQ(f.size(), w.stats.fileSize);
        // ffprobe's trace names each top-level box in file order.
        CommandResult t =
            run("ffprobe -v trace '" + w.path + "' 2>&1 | grep -o \"type:'[a-z ]*' parent:'root'\"");
        std::string expect = k.front ? (k.freeAfter ? "moov,free,mdat," : "moov,mdat,") : "free,mdat,moov,";
        std::string got;
        size_t pos = 0;
        while ((pos = t.output.find("type:'", pos)) != std::string::npos) {
            got += t.output.substr(pos + 6, 4) + ",";
            pos += 6;
        }
        EXPECT_EQ(got, "ftyp," + expect) << "reserve L+" << (k.reserve - L);
        EXPECT_EQ(framemd5(w.path).size(), framemd5(probeRun.path).size());
        EXPECT_EQ(run("ffprobe -v warning '" + w.path + "'").errors, "");
    }
}

TEST(MovWriterReserve, NeverShrinksForALongerDurationUpToThe64BitLimit)
{
    // The largest factors (1 ms frames, 1 ms AAC frames) and the usual ones;
    // a duration near the limit must not wrap into a small reservation.
    const int64_t durations[] = {
        0, 10000, 3600000, int64_t(1) << 40, int64_t(1) << 50, int64_t(1) << 61, int64_t(1) << 62, INT64_MAX};
    for (int interval : {1, 67}) {
        MovWriterConfig c;
        memset(&c, 0, sizeof c);
        c.videoCodec = MOVW_VIDEO_H264;
        c.audioMode = MOVW_AUDIO_AAC;
        c.frameIntervalMs = interval;
        uint64_t previous = 0;
        for (int64_t d : durations) {
            const uint64_t r = movWriterReserve(&c, d, interval == 1 ? 1 : 64, 3);
            EXPECT_GE(r, previous) << "interval " << interval << ", " << d << " ms";
            previous = r;
        }
        // Beyond 4 GiB the writer refuses to start rather than reserve it.
        EXPECT_GE(previous, uint64_t(1) << 32) << "interval " << interval;
    }
}

// ---- Chapters, timing and parameter sets ------------------------------------------------

TEST_F(MovWriterTest, ChaptersBecomeATextTrackWithTheRightTimes)
{
    std::vector<std::pair<int64_t, std::string>> chapters = {{2500, "second part"},
                                                             {700, "first part"},
                                                             {2500, "second part, later text"},
                                                             {90000, "after the end"},
                                                             {-5, "negative"}};
    for (int mp4 = 0; mp4 <= 1; ++mp4) {
        Written w = writeMovie(mp4 ? "chap.mp4" : "chap.mov", baseConfig(mp4, 1, 1), g_video["a264"], 1,
                               g_adts["m16"], 64.0, chapters);
        ASSERT_EQ(w.code, 0);
        EXPECT_EQ(w.stats.chapters, 3u);
        CommandResult p = run("ffprobe -v warning -of default -show_chapters '" + w.path + "'");
        // ffprobe names the chapter track's codec (bin_data) as one it cannot
        // decode, for chapter tracks of any writer; nothing else may appear.
        EXPECT_EQ(p.errors, "Unsupported codec with id 98314 for input stream 2\n");
        EXPECT_EQ(fields(p.output, "TAG:title"),
                  (std::vector<std::string>{"negative", "first part", "second part, later text"}));
        EXPECT_EQ(fields(p.output, "start_time"),
                  (std::vector<std::string>{"0.000000", "0.700000", "2.500000"}));
        EXPECT_EQ(fields(p.output, "end_time").back(), "4.000000");
        // Video and audio keep their places; the chapter text track comes last.
        CommandResult s = probe(w.path, "-show_streams");
        EXPECT_EQ(fields(s.output, "codec_type"), (std::vector<std::string>{"video", "audio", "data"}));
        EXPECT_EQ(fields(s.output, "codec_tag_string").back(), "text");
    }
}

TEST_F(MovWriterTest, DecodeTimesDurationsAndParameterSetChanges)
{
    MovWriterConfig c = baseConfig(0, 1, 1);
    std::string path = g_dir + "/times.mov";
    FileSink sink;
    sink.file = fopen(path.c_str(), "wb");
    MovWriter *w = nullptr;
    ASSERT_EQ(movWriterStart(&c, fileWrite, &sink, &w), 0);
    const std::vector<Bytes> &v = g_video["a264"];
    // Audio before the first video frame is dropped without error.
    EXPECT_EQ(movWriterAddAudio(w, g_adts["m16"][0].data(), g_adts["m16"][0].size()), 0);
    EXPECT_EQ(movWriterAudioSamples(w), 0);
    // An inter frame cannot start the file.
    EXPECT_EQ(movWriterAddVideo(w, v[1].data(), v[1].size(), 0, 0), MOVW_ERR_NOT_READY);
    int64_t times[] = {0, 0, 66, 132, 199, 265, 332};
    for (int i = 0; i < 7; ++i)
        ASSERT_EQ(movWriterAddVideo(w, v[i].data(), v[i].size(), times[i], i == 0), 0);
    // A frame of parameter sets only adds no sample.
    Bytes psOnly;
    for (const Nal &n : splitNals(v[0]))
        if (nalType(n, 1) == 7 || nalType(n, 1) == 8) {
            psOnly.insert(psOnly.end(), {0, 0, 0, 1});
            psOnly.insert(psOnly.end(), n.bytes.begin(), n.bytes.end());
        }
    EXPECT_EQ(movWriterAddVideo(w, psOnly.data(), psOnly.size(), 400, 0), 0);
    // A keyframe of another stream (other SPS) is refused and changes nothing.
    const Bytes &other = g_video["b264"][0];
    EXPECT_EQ(movWriterAddVideo(w, other.data(), other.size(), 400, 1), MOVW_PARAMS_CHANGED);
    MovWriterStats st;
    ASSERT_EQ(movWriterFinish(w, &st), 0);
    movWriterFree(w);
    fclose(sink.file);
    EXPECT_EQ(st.videoSamples, 7u);
    CommandResult p = run(
        "ffprobe -v warning -of default -select_streams v -show_entries packet=dts,duration '" + path + "'");
    EXPECT_EQ(p.errors, "");
    // Equal times become t and t + 1 ms; 1/30000 s units; the last frame keeps the last step.
    EXPECT_EQ(fields(p.output, "dts"),
              (std::vector<std::string>{"0", "30", "1980", "3960", "5970", "7950", "9960"}));
    EXPECT_EQ(fields(p.output, "duration"),
              (std::vector<std::string>{"30", "1950", "1980", "2010", "1980", "2010", "2010"}));
    EXPECT_EQ(framemd5(path), framemd5(g_dir + "/a.264", "-frames:v 7"));
}

TEST_F(MovWriterTest, SilenceDecodesCleanly)
{
    for (const char *name : {"m16", "s48"}) {
        MovWriterConfig c = baseConfig(0, 1, 1);
        std::string path = g_dir + "/silence.mov";
        FileSink sink;
        sink.file = fopen(path.c_str(), "wb");
        MovWriter *w = nullptr;
        ASSERT_EQ(movWriterStart(&c, fileWrite, &sink, &w), 0);
        const std::vector<Bytes> &v = g_video["a264"];
        const std::vector<Bytes> &a = g_adts[name];
        ASSERT_EQ(movWriterAddVideo(w, v[0].data(), v[0].size(), 0, 1), 0);
        int64_t inserted = -1;
        // Without a configuration no silence can be made yet.
        EXPECT_EQ(movWriterAddSilence(w, 4096, &inserted), 0);
        EXPECT_EQ(inserted, 0);
        ASSERT_EQ(movWriterAddAudio(w, a[0].data(), a[0].size()), 0);
        EXPECT_EQ(movWriterAddSilence(w, 100 * 1024 + 600, &inserted), 0);
        EXPECT_EQ(inserted, 101 * 1024);
        ASSERT_EQ(movWriterAddAudio(w, a[1].data(), a[1].size()), 0);
        EXPECT_EQ(movWriterAudioSamples(w), 103 * 1024);
        for (int i = 1; i < 30; ++i)
            ASSERT_EQ(movWriterAddVideo(w, v[i].data(), v[i].size(), i * 67, 0), 0);
        MovWriterStats st;
        ASSERT_EQ(movWriterFinish(w, &st), 0);
        movWriterFree(w);
        fclose(sink.file);
        EXPECT_EQ(st.silenceInsertions, 1u);
        EXPECT_EQ(st.audioCount, 103u);
        CommandResult d = run("ffmpeg -v error -i '" + path + "' -map 0:a -f s16le - | wc -c");
        EXPECT_EQ(d.errors, "") << name;
        int ch = std::string(name) == "s48" ? 2 : 1;
        EXPECT_EQ(std::stoll(d.output), 103LL * 1024 * 2 * ch) << name;
    }
}

TEST_F(MovWriterTest, WriteFailureIsSticky)
{
    MovWriterConfig c = baseConfig(0, 1, 0);
    FileSink sink;
    sink.file = tmpfile();
    sink.failAt = 3; // ftyp, free? no reserve: ftyp, mdat header, first chunk -> fails
    MovWriter *w = nullptr;
    ASSERT_EQ(movWriterStart(&c, fileWrite, &sink, &w), 0);
    const std::vector<Bytes> &v = g_video["a264"];
    int rc = 0;
    size_t i = 0;
    for (; i < v.size() && rc == 0; ++i)
        rc = movWriterAddVideo(w, v[i].data(), v[i].size(), int64_t(i) * 67, isKeyframe(v[i], 1));
    EXPECT_EQ(rc, MOVW_ERR_WRITE);
    EXPECT_LT(i, v.size());
    EXPECT_EQ(movWriterAddVideo(w, v[0].data(), v[0].size(), 99999, 1), MOVW_ERR_WRITE);
    EXPECT_EQ(movWriterAddChapter(w, 0, "x"), MOVW_ERR_WRITE);
    MovWriterStats st;
    EXPECT_EQ(movWriterFinish(w, &st), MOVW_ERR_WRITE);
    EXPECT_EQ(st.fileSize, 0u);
    movWriterFree(w);
    fclose(sink.file);
}

// ---- Past 4 GiB: co64 ---------------------------------------------------------------------

// Keeps every write except media chunks past the first 16 MiB, so the file on
// disk is sparse; its apparent size and all offsets are real.
struct SparseSink
{
    int fd = -1;
    bool finishing = false;
    uint64_t discarded = 0;
};

int sparseWrite(void *context, uint64_t offset, const void *data, size_t length)
{
    SparseSink *s = static_cast<SparseSink *>(context);
    if (!s->finishing && offset > (16u << 20)) {
        s->discarded += length;
        return 0;
    }
    return pwrite(s->fd, data, length, off_t(offset)) == ssize_t(length) ? 0 : 1;
}

TEST_F(MovWriterTest, FilePast4GiBSwitchesToCo64PerTrack)
{
    std::string path = g_dir + "/big.mov";
    SparseSink sink;
    sink.fd = open(path.c_str(), O_CREAT | O_TRUNC | O_WRONLY, 0644);
    ASSERT_GE(sink.fd, 0);
    MovWriterConfig c = baseConfig(0, 1, 1);
    MovWriter *w = nullptr;
    ASSERT_EQ(movWriterStart(&c, sparseWrite, &sink, &w), 0);
    const std::vector<Bytes> &v = g_video["a264"];
    const std::vector<Bytes> &a = g_adts["m16"];
    for (size_t i = 0; i < 15; ++i) { // one second of real frames with sound
        ASSERT_EQ(movWriterAddVideo(w, v[i].data(), v[i].size(), int64_t(i) * 67, isKeyframe(v[i], 1)), 0);
        for (size_t k = i * 16 / 15; k < (i + 1) * 16 / 15; ++k)
            ASSERT_EQ(movWriterAddAudio(w, a[k].data(), a[k].size()), 0);
    }
    // Then large inter frames (a slice unit of 24 MiB each) until past 4 GiB.
    Bytes big(24u << 20, 0x5A);
    big[0] = 0;
    big[1] = 0;
    big[2] = 1;
    big[3] = 0x01;
    int64_t t = 15 * 67;
    int frames = 0;
    for (uint64_t total = 0; total < (uint64_t(4) << 30) + (100u << 20); total += big.size(), ++frames)
        ASSERT_EQ(movWriterAddVideo(w, big.data(), big.size(), t += 1000, 0), 0);
    sink.finishing = true;
    MovWriterStats st;
    ASSERT_EQ(movWriterFinish(w, &st), 0);
    movWriterFree(w);
    close(sink.fd);
    EXPECT_GT(st.fileSize, uint64_t(4) << 30);
    EXPECT_EQ(st.videoSamples, uint32_t(15 + frames));
    struct stat sb;
    ASSERT_EQ(stat(path.c_str(), &sb), 0);
    EXPECT_EQ(uint64_t(sb.st_size), st.fileSize);
    EXPECT_LT(uint64_t(sb.st_blocks) * 512, uint64_t(64) << 20) << "the file must stay sparse";

    // ffprobe finds the moov behind the media and reads 64-bit offsets for the
    // video and 32-bit offsets for the audio, whose chunks all lie below 4 GiB.
    CommandResult tr = run("ffprobe -v trace '" + path + "' 2>&1 | grep -o \"type:'\\(stco\\|co64\\)'\"");
    EXPECT_EQ(tr.output, "type:'co64'\ntype:'stco'\n");
    CommandResult p = run("ffprobe -v error -of csv=p=0 -select_streams v -show_entries packet=pos '" + path +
                          "' | tail -1");
    ASSERT_FALSE(p.output.empty());
    EXPECT_GT(std::stoull(p.output), uint64_t(4) << 30);
    CommandResult mi = run("mediainfo --Inform='Video;%FrameCount%' '" + path + "'");
    EXPECT_EQ(mi.output, std::to_string(15 + frames) + "\n");
    unlink(path.c_str());
}

// ---- Property test of the input side ---------------------------------------------------

TEST_F(MovWriterTest, RandomInputNeverMakesAnInvalidFile)
{
    std::mt19937 rng(20240301);
    const std::vector<Bytes> &a = g_video["a264"];
    const std::vector<Bytes> &b = g_video["b264"];
    for (int round = 0; round < 12; ++round) {
        MovWriterConfig c = baseConfig(round % 2, 1, round % 3 == 0 ? 1 : 0);
        c.reserve = (round % 4 == 1) ? 4096 : 0;
        std::string path = g_dir + "/fuzz" + std::to_string(round) + (c.mp4 ? ".mp4" : ".mov");
        FileSink sink;
        sink.file = fopen(path.c_str(), "wb");
        MovWriter *w = nullptr;
        ASSERT_EQ(movWriterStart(&c, fileWrite, &sink, &w), 0);
        int64_t t = int64_t(rng() % 1000);
        for (int step = 0; step < 120; ++step) {
            Bytes frame;
            int kind = int(rng() % 10);
            const Bytes &src = (rng() % 6 == 0) ? b[rng() % b.size()] : a[rng() % a.size()];
            if (kind < 6) {
                frame = src;
            } else if (kind == 6) { // random bytes with start codes sprinkled in
                frame.resize(rng() % 300);
                for (auto &x : frame)
                    x = uint8_t(rng());
                for (size_t k = 0; k + 3 < frame.size(); k += 1 + rng() % 40) {
                    frame[k] = 0;
                    frame[k + 1] = 0;
                    frame[k + 2] = 1;
                }
            } else if (kind == 7) { // truncated unit
                frame.assign(src.begin(), src.begin() + long(rng() % (src.size() + 1)));
            } else if (kind == 8) { // empty or zeros only
                frame.assign(rng() % 8, 0);
            } else { // a corrupted copy: flipped bytes anywhere, parameter sets included
                frame = src;
                for (int k = 0; k < 3 && !frame.empty(); ++k)
                    frame[rng() % frame.size()] ^= uint8_t(1 + rng() % 255);
            }
            t += int64_t(rng() % 200) - 40;
            bool key = rng() % 3 == 0;
            int rc = movWriterAddVideo(w, frame.data(), frame.size(), t, key);
            EXPECT_TRUE(rc == 0 || rc == MOVW_PARAMS_CHANGED || rc == MOVW_ERR_NOT_READY)
                << "round " << round << " step " << step << ": " << movWriterErrorName(rc);
            if (rng() % 4 == 0) {
                Bytes audio(rng() % 400);
                for (auto &x : audio)
                    x = uint8_t(rng());
                if (rng() % 2 && !g_adts["m16"].empty())
                    audio = g_adts["m16"][rng() % g_adts["m16"].size()];
                rc = movWriterAddAudio(w, audio.data(), audio.size());
                EXPECT_TRUE(rc == 0 || rc == MOVW_ERR_NOT_READY) << movWriterErrorName(rc);
            }
        }
        MovWriterStats st;
        int rc = movWriterFinish(w, &st);
        movWriterFree(w);
        fclose(sink.file);
        ASSERT_TRUE(rc == 0 || rc == MOVW_ERR_NOT_READY) << movWriterErrorName(rc);
        if (rc != 0)
            continue;
        // Structure only: the samples are garbage, so nothing is decoded.
        CommandResult p =
            run("ffprobe -v error -probesize 32 -analyzeduration 0 -of default "
                "-select_streams v -count_packets -show_entries stream=nb_read_packets,codec_tag_string '" +
                path +
                "' 2>&1 | grep -v -i 'decod\\|slice\\|mmco\\|ref\\|PPS\\|SPS\\|nal\\|missing\\|error "
                "while\\|non-existing\\|concealing\\|Invalid NAL\\|no frame'");
        EXPECT_EQ(field(p.output, "nb_read_packets"), std::to_string(st.videoSamples)) << path << "\n"
                                                                                       << p.output;
        CommandResult mk = run("mkvmerge -J '" + path + "'");
        EXPECT_NE(mk.output.find("\"recognized\": true"), std::string::npos) << path;
        CommandResult mi = run("mediainfo --Inform='Video;%FrameCount%' '" + path + "'");
        EXPECT_EQ(mi.output, std::to_string(st.videoSamples) + "\n") << path;
    }
}

} // namespace
