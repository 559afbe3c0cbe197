// The parameter-set and SPS functions on their own: coded sizes and bit
// depths read from streams that ffmpeg's x264 and x265 encode at test time
// (sizes that need cropping, interlacing, every chroma format), the unit and
// byte limits of a frame's parameter sets and their completeness.
#include "codec/param_sets.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tool_helpers.h"

using namespace exporttest;

namespace {

using Bytes = std::vector<uint8_t>;

// One Annex-B frame from units given as their bytes (header byte(s) first).
Bytes frame(const std::vector<Bytes> &units)
{
    Bytes out;
    for (const Bytes &u : units) {
        out.insert(out.end(), {0, 0, 0, 1});
        out.insert(out.end(), u.begin(), u.end());
    }
    return out;
}

// A unit of the given H.264 type, `length` bytes long in all.
Bytes unit264(int type, size_t length = 6)
{
    Bytes u(length, 0x5A);
    u[0] = uint8_t(0x60 | type);
    return u;
}

// A unit of the given H.265 type, `length` bytes long in all.
Bytes unit265(int type, size_t length = 6)
{
    Bytes u(length, 0x5A);
    u[0] = uint8_t(type << 1);
    u[1] = 1;
    return u;
}

struct SpsCase
{
    const char *name;
    int codec;
    int width;
    int height;
    const char *pixFmt;
    const char *extra; // further encoder options
    int chroma;
    int depth;
};

void PrintTo(const SpsCase &c, std::ostream *os)
{
    *os << c.name;
}

class SpsTest : public ::testing::TestWithParam<SpsCase>
{
protected:
    void SetUp() override { m_dir = makeTempDir(); }
    void TearDown() override { removeTree(m_dir); }
    std::string m_dir;
};

// Sizes whose coded picture is larger than the shown one, so that the
// cropping window (in chroma units, and in field pairs when interlaced) is
// what brings them back.
const SpsCase kSpsCases[] = {
    {"h264_420_8bit_cropped_bottom", 1, 320, 180, "yuv420p", "", 1, 8},
    {"h264_420_8bit_cropped_right_and_bottom", 1, 200, 150, "yuv420p", "", 1, 8},
    {"h264_420_interlaced", 1, 320, 180, "yuv420p", "-flags +ildct+ilme -x264-params interlaced=1", 1, 8},
    {"h264_422_10bit", 1, 198, 100, "yuv422p10le", "", 2, 10},
    {"h264_444_8bit", 1, 100, 90, "yuv444p", "", 3, 8},
    {"h264_monochrome", 1, 120, 70, "gray", "", 0, 8},
    {"h265_420_8bit", 2, 320, 180, "yuv420p", "", 1, 8},
    {"h265_420_10bit", 2, 200, 150, "yuv420p10le", "", 1, 10},
    {"h265_422_12bit", 2, 202, 98, "yuv422p12le", "", 2, 12},
    {"h265_444_8bit", 2, 100, 90, "yuv444p", "", 3, 8},
};

TEST_P(SpsTest, CodedSizeChromaAndBitDepth)
{
    const SpsCase &c = GetParam();
    const std::string out = m_dir + (c.codec == 1 ? "/s.h264" : "/s.hevc");
    const std::string encoder = c.codec == 1 ? "-c:v libx264 " : "-c:v libx265 -x265-params log-level=error ";
    CommandResult r = run("ffmpeg -v error -y -f lavfi -i testsrc=size=" + std::to_string(c.width) + "x" +
                          std::to_string(c.height) + ":rate=5 -frames:v 1 -pix_fmt " + c.pixFmt + " " +
                          encoder + c.extra + " -f " + (c.codec == 1 ? "h264 " : "hevc ") + out);
    ASSERT_EQ(r.status, 0) << r.errors;
    const Bytes stream = readFile(out);

    // The whole keyframe, as the writers see it.
    ParamSets set;
    collectFrameParamSets(c.codec, stream.data(), stream.size(), &set);
    ASSERT_TRUE(paramSetsComplete(c.codec, set));
    SpsInfo sps;
    ASSERT_TRUE(readStreamParams(c.codec, set, &sps));
    ASSERT_TRUE(sps.parsed);
    EXPECT_EQ(sps.width, c.width);
    EXPECT_EQ(sps.height, c.height);
    EXPECT_EQ(sps.chromaFormat, c.chroma);
    EXPECT_EQ(sps.bitDepthLuma, c.depth);
    EXPECT_EQ(sps.bitDepthChroma, c.depth);
    if (c.codec == 2) {
        // The general profile: Main for 8-bit 4:2:0, Main 10, else range
        // extensions (4).
        const int profile = sps.ptl[0] & 0x1F;
        EXPECT_EQ(profile, c.chroma == 1 ? (c.depth == 8 ? 1 : 2) : 4);
        EXPECT_EQ(sps.maxSubLayers, 1);
        for (const Nal &n : splitNals(stream)) {
            if (nalType(n, 2) == 32) {
                EXPECT_EQ(vpsSubLayers(n.bytes.data(), n.bytes.size()), 1);
            }
        }
    }

    // An SPS cut before its size fields is refused rather than misread.
    for (const Nal &n : splitNals(stream)) {
        if (nalType(n, c.codec) != (c.codec == 1 ? 7 : 33))
            continue;
        SpsInfo cut;
        EXPECT_FALSE(c.codec == 1 ? parseSps264(n.bytes.data(), 5, &cut)
                                  : parseSps265(n.bytes.data(), 16, &cut));
    }
}

INSTANTIATE_TEST_SUITE_P(Encoded, SpsTest, ::testing::ValuesIn(kSpsCases),
                         [](const ::testing::TestParamInfo<SpsCase> &i) {
                             return std::string(i.param.name);
                         });

// ---- Splitting and the limits of one frame's parameter sets ------------------------

TEST(ParamSets, UnitsAreSplitAtThreeAndFourByteStartCodes)
{
    // Junk before the first start code, a 3-byte start code, trailing zeros
    // (the next 4-byte start code), an empty unit.
    const Bytes data = {9, 9, 0, 0, 1, 0x67, 1, 2, 0, 0, 0, 1, 0, 0, 1, 0x68, 3, 0, 0, 1, 0x65, 4, 0, 0};
    std::vector<Bytes> units;
    forEachNalUnit(data.data(), data.size(),
                   [&](const NalUnit &u) { units.emplace_back(u.data, u.data + u.length); });
    EXPECT_EQ(units, (std::vector<Bytes>{{0x67, 1, 2}, {0x68, 3}, {0x65, 4}}));
}

TEST(ParamSets, AtMostEightUnitsAnd4096Bytes)
{
    struct Case
    {
        const char *what;
        std::vector<Bytes> units;
        bool failed;
        size_t count;
    };
    std::vector<Bytes> eight = {unit264(7)};
    for (int i = 0; i < 7; ++i)
        eight.push_back(unit264(8));
    std::vector<Bytes> nine = eight;
    nine.push_back(unit264(8));
    // Slices and other units do not count.
    std::vector<Bytes> eightAndSlices = eight;
    eightAndSlices.insert(eightAndSlices.begin() + 1, unit264(6));
    eightAndSlices.push_back(unit264(5, 9000));
    const Case cases[] = {
        {"8 units", eight, false, 8},
        {"9 units", nine, true, 8},
        {"8 units among others", eightAndSlices, false, 8},
        {"4096 bytes", {unit264(7, 4000), unit264(8, 96)}, false, 2},
        {"4097 bytes", {unit264(7, 4000), unit264(8, 97)}, true, 1},
    };
    for (const Case &c : cases) {
        const Bytes f = frame(c.units);
        ParamSets set;
        collectFrameParamSets(PARAMS_H264, f.data(), f.size(), &set);
        EXPECT_EQ(set.failed, c.failed) << c.what;
        EXPECT_EQ(set.count, c.count) << c.what;
        // A failed collection never counts as complete, so neither writer
        // starts a file on it.
        EXPECT_EQ(paramSetsComplete(PARAMS_H264, set), !c.failed) << c.what;

        // The same units handed over as a list give the same collection.
        std::vector<NalUnit> list;
        forEachNalUnit(f.data(), f.size(), [&](const NalUnit &u) { list.push_back(u); });
        ParamSets again;
        collectParamSets(PARAMS_H264, list.data(), list.size(), &again);
        EXPECT_EQ(again.failed, set.failed) << c.what;
        EXPECT_TRUE(sameParamSets(again, set)) << c.what;
    }
}

TEST(ParamSets, CompletenessAndComparison)
{
    struct Case
    {
        const char *what;
        int codec;
        std::vector<Bytes> units;
        bool complete;
    };
    const Case cases[] = {
        {"H.264 SPS and PPS", PARAMS_H264, {unit264(7), unit264(8)}, true},
        {"H.264 without PPS", PARAMS_H264, {unit264(7), unit264(5)}, false},
        {"H.264 PPS only", PARAMS_H264, {unit264(8)}, false},
        {"H.265 VPS, SPS and PPS", PARAMS_H265, {unit265(32), unit265(33), unit265(34)}, true},
        {"H.265 without VPS", PARAMS_H265, {unit265(33), unit265(34), unit265(19)}, false},
        {"H.265 types read as H.264", PARAMS_H264, {unit265(32), unit265(33), unit265(34)}, false},
    };
    for (const Case &c : cases) {
        const Bytes f = frame(c.units);
        ParamSets set;
        collectFrameParamSets(c.codec, f.data(), f.size(), &set);
        EXPECT_EQ(paramSetsComplete(c.codec, set), c.complete) << c.what;
    }

    auto collect = [](const std::vector<Bytes> &units) {
        const Bytes f = frame(units);
        ParamSets set;
        collectFrameParamSets(PARAMS_H264, f.data(), f.size(), &set);
        return set;
    };
    Bytes otherPps = unit264(8);
    otherPps[3] = 0x11;
    const ParamSets base = collect({unit264(7), unit264(8)});
    EXPECT_TRUE(sameParamSets(base, collect({unit264(7), unit264(5), unit264(8)})));
    EXPECT_FALSE(sameParamSets(base, collect({unit264(8), unit264(7)})));
    EXPECT_FALSE(sameParamSets(base, collect({unit264(7), otherPps})));
    EXPECT_FALSE(sameParamSets(base, collect({unit264(7), unit264(8, 7)})));
    EXPECT_FALSE(sameParamSets(base, collect({unit264(7), unit264(8), unit264(8)})));
}

TEST(ParamSets, UnreadableSpsStartsAFileOnlyWhereTheRecordCanDoWithoutIt)
{
    // An SPS whose fields cannot be read (an exp-Golomb code with no end):
    // avcC of the Baseline, Main and Extended profiles copies the first bytes
    // only, every other record needs the fields.
    struct Case
    {
        const char *what;
        int codec;
        Bytes sps;
        bool usable;
    };
    const Case cases[] = {
        {"H.264 Baseline", PARAMS_H264, {0x67, 66, 0, 30, 0, 0, 0, 0, 0, 0}, true},
        {"H.264 Main", PARAMS_H264, {0x67, 77, 0, 30, 0, 0, 0, 0, 0, 0}, true},
        {"H.264 High", PARAMS_H264, {0x67, 100, 0, 30, 0, 0, 0, 0, 0, 0}, false},
        {"H.264 too short", PARAMS_H264, {0x67, 66, 0}, false},
        {"H.265", PARAMS_H265, Bytes(20, 0), false},
    };
    for (const Case &c : cases) {
        std::vector<Bytes> units;
        if (c.codec == PARAMS_H265) {
            Bytes sps = c.sps;
            sps[0] = 33 << 1;
            sps[1] = 1;
            units = {unit265(32), sps, unit265(34)};
        } else {
            units = {c.sps, unit264(8)};
        }
        const Bytes f = frame(units);
        ParamSets set;
        collectFrameParamSets(c.codec, f.data(), f.size(), &set);
        ASSERT_TRUE(paramSetsComplete(c.codec, set)) << c.what;
        SpsInfo sps;
        EXPECT_EQ(readStreamParams(c.codec, set, &sps), c.usable) << c.what;
        EXPECT_FALSE(sps.parsed) << c.what;
        EXPECT_EQ(sps.width, 0) << c.what;
    }
}

} // namespace
