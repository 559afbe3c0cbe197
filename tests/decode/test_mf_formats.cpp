// The Media Foundation decoders' plain arithmetic: the NV12 plane copy out of
// a decoder buffer, the colour-space choice, the AAC decoder's user data and
// the failure texts. The decoders themselves run under Wine (tests/win).
#include "decode/mf/mf_formats.h"

#include <gtest/gtest.h>

#include <vector>

using namespace nivra::mf;

namespace {

// Source pixels encode their own place: row * 16 + column for luma, and
// 0x80 | (row * 16 + column) for chroma (all test planes are under 8 x 16).
struct Planes
{
    int pitch;
    std::vector<uint8_t> luma;
    std::vector<uint8_t> chroma;
    Planes(int pitchBytes, int rows) : pitch(pitchBytes)
    {
        luma.resize(size_t(pitch) * size_t(rows));
        chroma.resize(size_t(pitch) * size_t((rows + 1) / 2));
        for (size_t i = 0; i < luma.size(); ++i)
            luma[i] = uint8_t((i / size_t(pitch)) * 16 + i % size_t(pitch));
        for (size_t i = 0; i < chroma.size(); ++i)
            chroma[i] = uint8_t(0x80 | ((i / size_t(pitch)) * 16 + i % size_t(pitch)));
    }
    Nv12Source source() const { return {luma.data(), luma.size(), chroma.data(), chroma.size(), pitch}; }
};

constexpr uint8_t kUntouched = 0xEE;
constexpr int kTargetStride = 12;

struct CopyCase
{
    const char *name;
    int pitch, rows; // source
    DisplayArea area;
    // Expected: first luma row and column, first chroma row, chroma rows and
    // bytes per chroma row.
    int lumaRow, column, chromaRow, chromaRows, chromaBytes;
};

} // namespace

TEST(MfPlaneCopy, TakesTheAreaFromEvenRowsAndColumns)
{
    const CopyCase cases[] = {
        {"whole frame", 8, 6, {0, 0, 8, 6}, 0, 0, 0, 3, 8},
        {"pitch wider than the picture", 16, 4, {0, 0, 6, 4}, 0, 0, 0, 2, 6},
        {"odd x offset", 16, 8, {3, 2, 8, 6}, 2, 2, 1, 3, 8},
        {"odd y offset", 16, 8, {2, 5, 6, 3}, 4, 2, 2, 2, 6},
        {"odd width and height", 8, 6, {0, 0, 7, 5}, 0, 0, 0, 3, 8},
        {"odd offsets and size", 16, 8, {1, 1, 5, 3}, 0, 0, 0, 2, 6},
        {"odd size at the far edge", 12, 8, {4, 2, 7, 5}, 2, 4, 1, 3, 8},
    };
    for (const CopyCase &c : cases) {
        SCOPED_TRACE(c.name);
        const Planes planes(c.pitch, c.rows);
        std::vector<uint8_t> luma(size_t(kTargetStride) * 8, kUntouched);
        std::vector<uint8_t> chroma(size_t(kTargetStride) * 4, kUntouched);
        ASSERT_TRUE(copyNv12Area(planes.source(), c.area,
                                 Nv12Target{luma.data(), kTargetStride, chroma.data(), kTargetStride}));
        for (int r = 0; r < 8; ++r) {
            for (int x = 0; x < kTargetStride; ++x) {
                const bool inside = r < c.area.height && x < c.area.width;
                const int expected = inside ? (c.lumaRow + r) * 16 + c.column + x : kUntouched;
                ASSERT_EQ(luma[size_t(r * kTargetStride + x)], expected) << "luma row " << r << " byte " << x;
            }
        }
        for (int r = 0; r < 4; ++r) {
            for (int x = 0; x < kTargetStride; ++x) {
                const bool inside = r < c.chromaRows && x < c.chromaBytes;
                const int expected = inside ? 0x80 | ((c.chromaRow + r) * 16 + c.column + x) : kUntouched;
                ASSERT_EQ(chroma[size_t(r * kTargetStride + x)], expected)
                    << "chroma row " << r << " byte " << x;
            }
        }
    }
}

TEST(MfPlaneCopy, RefusesWhatWouldLeaveTheBuffers)
{
    const Planes planes(8, 6);
    std::vector<uint8_t> luma(64, kUntouched);
    std::vector<uint8_t> chroma(64, kUntouched);
    const Nv12Target target{luma.data(), 8, chroma.data(), 8};
    struct Case
    {
        const char *name;
        int pitch;
        size_t lumaBytes, chromaBytes;
        DisplayArea area;
        int targetStride;
    } cases[] = {
        {"pitch zero", 0, planes.luma.size(), planes.chroma.size(), {0, 0, 8, 6}, 8},
        {"negative pitch", -8, planes.luma.size(), planes.chroma.size(), {0, 0, 8, 6}, 8},
        {"empty area", 8, planes.luma.size(), planes.chroma.size(), {0, 0, 0, 6}, 8},
        {"negative offset", 8, planes.luma.size(), planes.chroma.size(), {-2, 0, 4, 4}, 8},
        {"luma rows past the buffer", 8, planes.luma.size(), planes.chroma.size(), {0, 2, 8, 6}, 8},
        {"chroma shorter than the rows", 8, planes.luma.size(), 16, {0, 0, 8, 6}, 8},
        {"row past the pitch", 8, planes.luma.size(), planes.chroma.size(), {2, 0, 7, 2}, 8},
        {"target stride too small", 8, planes.luma.size(), planes.chroma.size(), {0, 0, 8, 6}, 6},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const Nv12Source source{planes.luma.data(), c.lumaBytes, planes.chroma.data(), c.chromaBytes,
                                c.pitch};
        Nv12Target t = target;
        t.lumaStride = t.chromaStride = c.targetStride;
        EXPECT_FALSE(copyNv12Area(source, c.area, t));
        EXPECT_EQ(luma, std::vector<uint8_t>(64, kUntouched));
        EXPECT_EQ(chroma, std::vector<uint8_t>(64, kUntouched));
    }
}

TEST(MfColourSpace, MatrixThenPrimariesThenHeight)
{
    const struct
    {
        int matrix, primaries, height;
        ColourSpace expected;
    } cases[] = {
        {MatrixBt709, PrimariesBt2020, 480, ColourBt709},
        {MatrixBt601, PrimariesBt709, 1080, ColourBt601},
        {MatrixBt2020_10, -1, 480, ColourBt2020},
        {MatrixBt2020_12, -1, 480, ColourBt2020},
        {3 /* SMPTE 240M */, PrimariesBt709, 480, ColourBt709},
        {-1, PrimariesBt709, 480, ColourBt709},
        {-1, PrimariesBt470_2_SysBG, 1080, ColourBt601},
        {-1, PrimariesSmpte170M, 1080, ColourBt601},
        {-1, PrimariesBt2020, 480, ColourBt2020},
        {-1, 3 /* BT.470-2 System M */, 719, ColourBt601},
        {-1, -1, 719, ColourBt601},
        {-1, -1, 720, ColourBt709},
        {0 /* unknown */, 0, 1080, ColourBt709},
    };
    for (const auto &c : cases)
        EXPECT_EQ(chooseColourSpace(c.matrix, c.primaries, c.height), c.expected)
            << "matrix " << c.matrix << " primaries " << c.primaries << " height " << c.height;
}

TEST(MfDisplayArea, ApertureElseCodedSizeNeverBeyondTheStream)
{
    const DisplayArea aperture{0, 0, 1920, 1080};
    const DisplayArea padded{0, 0, 1920, 1088};
    const struct
    {
        const DisplayArea *aperture;
        int streamWidth, streamHeight;
        int width, height;
    } cases[] = {
        {&aperture, 1920, 1080, 1920, 1080}, // the normal case
        {nullptr, 1920, 1080, 1920, 1080},   // no aperture: the SPS crops the padding
        {&padded, 1920, 1080, 1920, 1080},   // an aperture with the padding (Wine)
        {nullptr, 0, 0, 1920, 1088},         // nothing known: the coded picture
        {&aperture, 0, 0, 1920, 1080},
    };
    for (const auto &c : cases) {
        const DisplayArea area = chooseDisplayArea(c.aperture, 1920, 1088, c.streamWidth, c.streamHeight);
        EXPECT_EQ(area.width, c.width);
        EXPECT_EQ(area.height, c.height);
    }
}

TEST(MfAacUserData, AudioSpecificConfigForEveryTableRate)
{
    const struct
    {
        int rate;
        uint8_t config[2]; // AAC LC, one channel
    } rates[] = {
        {96000, {0x10, 0x08}}, {88200, {0x10, 0x88}}, {64000, {0x11, 0x08}}, {48000, {0x11, 0x88}},
        {44100, {0x12, 0x08}}, {32000, {0x12, 0x88}}, {24000, {0x13, 0x08}}, {22050, {0x13, 0x88}},
        {16000, {0x14, 0x08}}, {12000, {0x14, 0x88}}, {11025, {0x15, 0x08}}, {8000, {0x15, 0x88}},
        {7350, {0x16, 0x08}},
    };
    for (const auto &r : rates) {
        const std::array<uint8_t, 14> data = aacUserData(false, 2, r.rate, 1);
        const std::array<uint8_t, 14> expected = {1, 0, 0xFE, 0, 0, 0,           0,
                                                  0, 0, 0,    0, 0, r.config[0], r.config[1]};
        EXPECT_EQ(data, expected) << r.rate << " Hz";
    }
}

TEST(MfAacUserData, PayloadTypeAndFallbacks)
{
    const struct
    {
        const char *name;
        bool headerless;
        int objectType, rate, channels;
        uint8_t payload, config0, config1;
    } cases[] = {
        {"raw payload", true, 2, 16000, 1, 0, 0x14, 0x08},
        {"stereo 48 kHz", false, 2, 48000, 2, 1, 0x11, 0x90},
        {"object type 0 counts as LC", false, 0, 16000, 1, 1, 0x14, 0x08},
        {"HE-AAC object type", false, 5, 24000, 1, 1, 0x2B, 0x08},
        {"rate outside the table", false, 2, 17000, 1, 1, 0x14, 0x08},
        {"no channel count", true, 2, 8000, 0, 0, 0x15, 0x88},
    };
    for (const auto &c : cases) {
        const std::array<uint8_t, 14> data = aacUserData(c.headerless, c.objectType, c.rate, c.channels);
        EXPECT_EQ(data[0], c.payload) << c.name;
        EXPECT_EQ(data[1], 0) << c.name;
        EXPECT_EQ(data[2], 0xFE) << c.name;
        for (int i = 3; i < 12; ++i)
            EXPECT_EQ(data[size_t(i)], 0) << c.name << " byte " << i;
        EXPECT_EQ(data[12], c.config0) << c.name;
        EXPECT_EQ(data[13], c.config1) << c.name;
    }
}

TEST(MfTexts, CodesAndMessages)
{
    EXPECT_EQ(hresultText(0x887A0004u), "0x887a0004");
    EXPECT_EQ(hresultText(0xC00D36B4u), "0xc00d36b4");
    EXPECT_EQ(hresultText(0), "0x00000000");
    EXPECT_EQ(messageText(Message{TextCouldNotDecode, "0xc00d36b5"}),
              "Windows could not decode this video (0xc00d36b5).");
    EXPECT_EQ(messageText(Message{TextGraphicsCard, "ignored"}),
              "Your graphics card cannot decode this video.");
    EXPECT_EQ(messageText(Message{TextNoDecoder, {}}), "Windows has no decoder for this video format.");
    EXPECT_EQ(messageText(Message{}), "");
    EXPECT_TRUE(Message{}.empty());
}
