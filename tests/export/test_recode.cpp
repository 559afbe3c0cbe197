// Re-coded exports made by nivra-card on simulator cards and read back with
// ffmpeg and ffprobe: the burned-in copy keeps every picture (the
// simulator's stamps, frame for frame), draws the clock in its corner only
// and copies the sound bit for bit; the share copy of an H.265 card with
// G.711 sound is one 720p H.264 + AAC MP4 under the size asked for, its index
// first; a range too long for the size is refused before anything is written.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <cstdlib>
#include <string>
#include <vector>

#include "stamp.h"
#include "tool_helpers.h"

using namespace exporttest;
using Json = nlohmann::json;

namespace {

// export_events: 2024-10-27 09:00:00 UTC, 240 s of 320x240 H.264 at 5 fps
// with AAC. The share card: 30 s of 1600x900 H.265 at 10 fps with G.711.
constexpr int64_t kEventsStart = 1730019600000;
constexpr int64_t kShareStart = 1717225200000;

std::string quoted(const std::string &s)
{
    return "'" + s + "'";
}

CommandResult nivraCard(const std::string &arguments)
{
    return run(quoted(NIVRA_CARD_PATH) + " " + arguments);
}

std::string exportArgs(const std::string &card, int64_t from, int64_t to, const std::string &out)
{
    return "export " + quoted(card) + " --from " + std::to_string(from) + " --to " + std::to_string(to) +
           " --out " + quoted(out) + " --json";
}

// The clip's pictures as 8-bit luma, one vector per picture.
std::vector<std::vector<uint8_t>> lumaPictures(const std::string &clip, int width, int height)
{
    const CommandResult r = run("ffmpeg -v error -i " + quoted(clip) + " -f rawvideo -pix_fmt gray -");
    EXPECT_EQ(r.status, 0) << r.errors;
    const size_t size = size_t(width) * size_t(height);
    std::vector<std::vector<uint8_t>> pictures;
    for (size_t at = 0; at + size <= r.output.size(); at += size)
        pictures.emplace_back(r.output.begin() + long(at), r.output.begin() + long(at + size));
    return pictures;
}

std::string soundBytes(const std::string &clip)
{
    return run("ffmpeg -v error -i " + quoted(clip) + " -map 0:a -c copy -f adts -").output;
}

// Mean absolute difference of two pictures over a rectangle.
double meanDifference(const std::vector<uint8_t> &a, const std::vector<uint8_t> &b, int width, int x0, int y0,
                      int x1, int y1)
{
    double sum = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            sum += std::abs(int(a[size_t(y * width + x)]) - int(b[size_t(y * width + x)]));
    return sum / double((x1 - x0) * (y1 - y0));
}

// The top-level boxes of an MP4, in order.
std::vector<std::string> topBoxes(const std::vector<uint8_t> &file)
{
    std::vector<std::string> boxes;
    for (size_t at = 0; at + 8 <= file.size();) {
        uint64_t size = (uint64_t(file[at]) << 24) | (uint64_t(file[at + 1]) << 16) |
                        (uint64_t(file[at + 2]) << 8) | file[at + 3];
        if (size == 1 && at + 16 <= file.size()) {
            size = 0;
            for (int i = 0; i < 8; ++i)
                size = (size << 8) | file[at + 8 + size_t(i)];
        }
        boxes.emplace_back(reinterpret_cast<const char *>(&file[at + 4]), 4);
        if (size < 8)
            break;
        at += size;
    }
    return boxes;
}

class Recode : public ::testing::Test
{
protected:
    void SetUp() override { m_out = makeTempDir(); }
    void TearDown() override { removeTree(m_out); }
    std::string m_out;
};

TEST_F(Recode, TheBurnedInClockKeepsEveryPictureAndTheSound)
{
    const int64_t to = kEventsStart + 19999;
    const CommandResult copied = nivraCard(exportArgs(EVENTS_CARD_DIR, kEventsStart, to, m_out + "/copy"));
    const CommandResult burned =
        nivraCard(exportArgs(EVENTS_CARD_DIR, kEventsStart, to, m_out + "/burn") + " --burn-time");
    ASSERT_EQ(copied.status, 0) << copied.output << copied.errors;
    ASSERT_EQ(burned.status, 0) << burned.output << burned.errors;
    EXPECT_EQ(burned.errors, "") << "the encoders' chatter reached the user";
    const Json jc = Json::parse(copied.output), jb = Json::parse(burned.output);
    ASSERT_EQ(jb["files"].size(), 1u);
    EXPECT_EQ(jb["complete"], true);
    const std::string copy = jc["files"][0], burn = jb["files"][0];
    EXPECT_EQ(
        run("ffprobe -v error -select_streams v -show_entries stream=codec_name -of csv=p=0 " + quoted(burn))
            .output,
        "h264\n");

    const int w = 320, h = 240;
    const auto source = lumaPictures(copy, w, h), drawn = lumaPictures(burn, w, h);
    ASSERT_EQ(source.size(), 100u);
    ASSERT_EQ(drawn.size(), source.size());
    int stamped = 0;
    for (size_t i = 0; i < source.size(); ++i) {
        int64_t want = 0, got = 0;
        ASSERT_TRUE(nivra::test::readStamp(source[i].data(), w, w, h, &want)) << i;
        ASSERT_TRUE(nivra::test::readStamp(drawn[i].data(), w, w, h, &got)) << "picture " << i;
        EXPECT_EQ(got, want) << "picture " << i;
        stamped += got == want;
        // The clock in the bottom-right corner: a dimmed box with light
        // text; the rest of the picture as the card has it.
        const auto &a = source[i], &b = drawn[i];
        EXPECT_GT(meanDifference(a, b, w, w / 2, h - h / 8, w - 8, h - 8), 20.0) << "no clock in " << i;
        EXPECT_LT(meanDifference(a, b, w, 0, h / 2, w / 3, h - h / 8), 4.0) << "picture " << i << " changed";
        int light = 0;
        for (int y = h - h / 8; y < h - 8; ++y)
            for (int x = w / 2; x < w - 8; ++x)
                light += b[size_t(y * w + x)] > 200;
        EXPECT_GT(light, 50) << "no text in " << i;
    }
    EXPECT_EQ(stamped, 100);

    const std::string sound = soundBytes(copy);
    EXPECT_GT(sound.size(), 10000u);
    EXPECT_TRUE(soundBytes(burn) == sound) << "the sound was not copied bit for bit";
}

TEST_F(Recode, TheShareCopyOfAnH265CardFitsItsSizeAndPlaysAnywhere)
{
    const CommandResult r = nivraCard(exportArgs(SHARE_CARD_DIR, kShareStart, kShareStart + 29999, m_out) +
                                      " --share --share-mb 1");
    ASSERT_EQ(r.status, 0) << r.output << r.errors;
    const Json j = Json::parse(r.output);
    ASSERT_EQ(j["files"].size(), 1u);
    EXPECT_EQ(j["complete"], true);
    const std::string clip = j["files"][0];
    EXPECT_EQ(clip.substr(clip.size() - 4), ".mp4");
    const std::vector<uint8_t> bytes = readFile(clip);
    EXPECT_LT(bytes.size(), 1000000u);
    EXPECT_GT(bytes.size(), 300000u) << "far below its budget: the rate control is off";
    const std::vector<std::string> boxes = topBoxes(bytes);
    ASSERT_GE(boxes.size(), 3u);
    EXPECT_EQ(boxes[0], "ftyp");
    EXPECT_EQ(boxes[1], "moov") << "the index is not first";

    const CommandResult probe = run("ffprobe -v error -show_entries stream=codec_name,profile,width,height,"
                                    "sample_rate,duration -of flat " +
                                    quoted(clip));
    EXPECT_EQ(field(probe.output, "streams.stream.0.codec_name"), "\"h264\"");
    EXPECT_EQ(field(probe.output, "streams.stream.0.width"), "1280");
    EXPECT_EQ(field(probe.output, "streams.stream.0.height"), "720");
    EXPECT_EQ(field(probe.output, "streams.stream.1.codec_name"), "\"aac\"");
    EXPECT_EQ(field(probe.output, "streams.stream.1.sample_rate"), "\"8000\"");
    const double video = std::atof(field(probe.output, "streams.stream.0.duration").c_str() + 1);
    const double sound = std::atof(field(probe.output, "streams.stream.1.duration").c_str() + 1);
    EXPECT_NEAR(video, 30.0, 0.2);
    EXPECT_NEAR(sound, video, 0.2) << "the sound does not last as long as the picture";
    const CommandResult decoded = run("ffmpeg -v error -i " + quoted(clip) + " -f null -");
    EXPECT_EQ(decoded.status, 0);
    EXPECT_EQ(decoded.errors, "");
}

TEST_F(Recode, RefusedBeforeAnythingIsWritten)
{
    const std::string range = exportArgs(EVENTS_CARD_DIR, kEventsStart, kEventsStart + 239999, m_out);
    // 240 s do not fit into 1 MB at a picture worth watching.
    for (const char *options :
         {" --share --share-mb 1", " --share --share-mb 0", " --share-mb 8", " --share --share-mb x"}) {
        const CommandResult r = nivraCard(range + options);
        EXPECT_EQ(r.status, 2) << options << r.output;
        EXPECT_NE(r.errors, "") << options;
        EXPECT_TRUE(listDir(m_out).empty()) << options;
    }
}

} // namespace
