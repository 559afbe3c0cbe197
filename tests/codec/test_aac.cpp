// The AAC functions on streams that ffmpeg's AAC encoder writes at test time:
// every ADTS header of a stream read back, and the AudioSpecificConfig packed
// from the first one (as the export does) compared with the one ffmpeg stores
// when it puts the same stream into an MP4 file; then hand-built headers for
// the fields ffmpeg never writes, and the rate table.
#include "codec/aac.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tool_helpers.h"

using namespace exporttest;

namespace {

using Bytes = std::vector<uint8_t>;

// The bytes of the first "extradata=" dump in ffprobe -show_data output.
Bytes extradata(const std::string &text)
{
    Bytes out;
    size_t at = text.find("extradata=\n00000000: ");
    if (at == std::string::npos)
        return out;
    at += 21;
    const size_t end = text.find("  ", at);
    for (size_t i = at; i + 1 < end; i += 2) {
        if (text[i] == ' ')
            --i; // groups of two bytes are separated by one space
        else
            out.push_back(uint8_t(std::stoi(text.substr(i, 2), nullptr, 16)));
    }
    return out;
}

class AacTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        dir = makeTempDir();
        ASSERT_FALSE(dir.empty());
    }
    void TearDown() override { removeTree(dir); }
    std::string dir;
};

TEST_F(AacTest, AdtsHeadersAndConfigAgreeWithFfmpeg)
{
    const struct
    {
        int rate;
        int channels;
    } cases[] = {{8000, 1}, {16000, 1}, {22050, 2}, {44100, 2}, {48000, 1}};
    for (const auto &c : cases) {
        const std::string name = std::to_string(c.rate) + "x" + std::to_string(c.channels);
        const std::string adts = dir + "/" + name + ".aac", mp4 = dir + "/" + name + ".m4a";
        ASSERT_EQ(run("ffmpeg -hide_banner -loglevel error -f lavfi -i sine=frequency=440:sample_rate=" +
                      std::to_string(c.rate) + ":duration=1 -ac " + std::to_string(c.channels) +
                      " -c:a aac -f adts -y " + adts + " && ffmpeg -hide_banner -loglevel error -i " + adts +
                      " -c copy -y " + mp4)
                      .status,
                  0)
            << name;
        const Bytes stream = readFile(adts);
        ASSERT_TRUE(isAdtsHeader(stream.data(), stream.size())) << name;

        AdtsHeader first{};
        size_t pos = 0, frames = 0;
        while (pos < stream.size()) {
            AdtsHeader h{};
            ASSERT_TRUE(isAdtsHeader(stream.data() + pos, stream.size() - pos)) << name << " at " << pos;
            ASSERT_TRUE(adtsReadHeader(stream.data() + pos, stream.size() - pos, &h)) << name;
            EXPECT_EQ(h.objectType, 2) << name;
            EXPECT_EQ(h.sampleRate, c.rate) << name;
            EXPECT_EQ(kAacSampleRates[h.rateIndex], c.rate) << name;
            EXPECT_EQ(h.channelConfig, c.channels) << name;
            EXPECT_EQ(h.headerLength, 7u) << name;
            EXPECT_EQ(h.rawBlocks, 1) << name;
            ASSERT_GT(h.frameLength, h.headerLength) << name << " at " << pos;
            if (frames++ == 0)
                first = h;
            pos += h.frameLength;
        }
        EXPECT_EQ(pos, stream.size()) << name << ": the frame lengths add up to the stream";
        EXPECT_GT(frames, 5u) << name;

        uint8_t config[2];
        aacPackConfig(first.objectType, first.rateIndex, first.channelConfig, config);
        const Bytes expected =
            extradata(run("ffprobe -v error -select_streams a -show_streams -show_data " + mp4).output);
        EXPECT_EQ(Bytes(config, config + 2), expected) << name;
    }
}

TEST(Aac, HeaderFieldsFfmpegDoesNotWrite)
{
    const struct
    {
        const char *what;
        Bytes bytes;
        bool sync;
        bool read;
        int objectType, rateIndex, sampleRate, channelConfig;
        size_t headerLength, frameLength;
        int rawBlocks;
    } cases[] = {
        // Main profile, index 13 (no rate), channels in a PCE, CRC, 4 blocks, 8191 bytes.
        {"CRC and extremes", {0xFF, 0xF0, 0x34, 0x03, 0xFF, 0xFF, 0xFF}, true, true, 1, 13, 0, 0, 9, 8191, 4},
        // MPEG-2 ID bit set, HE profile code 3, 7350 Hz, 7 channels, 100 bytes.
        {"MPEG-2 ID", {0xFF, 0xF9, 0xF1, 0xC0, 0x0C, 0x80, 0xFC}, true, true, 4, 12, 7350, 7, 7, 100, 1},
        {"layer bits set", {0xFF, 0xF3, 0x50, 0x80, 0x02, 0x00, 0xFC}, false, true, 2, 4, 44100, 2, 7, 16, 1},
        {"six bytes", {0xFF, 0xF1, 0x50, 0x80, 0x02, 0x00}, false, false, 0, 0, 0, 0, 0, 0, 0},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(isAdtsHeader(c.bytes.data(), c.bytes.size()), c.sync) << c.what;
        AdtsHeader h{};
        ASSERT_EQ(adtsReadHeader(c.bytes.data(), c.bytes.size(), &h), c.read) << c.what;
        if (!c.read)
            continue;
        EXPECT_EQ(h.objectType, c.objectType) << c.what;
        EXPECT_EQ(h.rateIndex, c.rateIndex) << c.what;
        EXPECT_EQ(h.sampleRate, c.sampleRate) << c.what;
        EXPECT_EQ(h.channelConfig, c.channelConfig) << c.what;
        EXPECT_EQ(h.headerLength, c.headerLength) << c.what;
        EXPECT_EQ(h.frameLength, c.frameLength) << c.what;
        EXPECT_EQ(h.rawBlocks, c.rawBlocks) << c.what;
    }
}

TEST(Aac, ConfigKeepsAPceLayoutAndTakesLcForAnUnknownObject)
{
    uint8_t config[2];
    aacPackConfig(0, 8, 0, config); // unknown object, 16000 Hz, layout in a PCE
    EXPECT_EQ(config[0], 0x14);
    EXPECT_EQ(config[1], 0x00);
    aacPackConfig(5, 11, 2, config); // SBR, 8000 Hz, stereo
    EXPECT_EQ(config[0], 0x2D);
    EXPECT_EQ(config[1], 0x90);
}

TEST(AacRates, IndexOfEveryTableRateAndNoneElse)
{
    const int rates[13] = {96000, 88200, 64000, 48000, 44100, 32000, 24000,
                           22050, 16000, 12000, 11025, 8000,  7350};
    for (int i = 0; i < 13; ++i) {
        EXPECT_EQ(aacRateIndex(rates[i]), i) << rates[i];
        EXPECT_EQ(kAacSampleRates[i], rates[i]);
    }
    for (int rate : {0, -1, 50000, 44000, 192000})
        EXPECT_EQ(aacRateIndex(rate), -1) << rate;
}

} // namespace
