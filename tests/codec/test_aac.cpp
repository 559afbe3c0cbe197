// The AAC functions: the AudioSpecificConfig compared with the one ffmpeg
// stores when it puts an ADTS stream of its AAC encoder into an MP4 file
// (from the ADTS headers, as the export does), the fields ffmpeg never
// writes, and the rate table.
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

TEST_F(AacTest, ConfigAgreesWithFfmpeg)
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
        uint8_t config[2];
        aacPackConfig(2, aacRateIndex(c.rate), c.channels, config);
        const Bytes expected =
            extradata(run("ffprobe -v error -select_streams a -show_streams -show_data " + mp4).output);
        EXPECT_EQ(Bytes(config, config + 2), expected) << name;
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
