#include "decode/mf/mf_formats.h"

#include "codec/aac.h"

#include <algorithm>

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace nivra::mf {

ColourSpace chooseColourSpace(int yuvMatrix, int primaries, int displayHeight)
{
    switch (yuvMatrix) {
    case MatrixBt709:
        return ColourBt709;
    case MatrixBt601:
        return ColourBt601;
    case MatrixBt2020_10:
    case MatrixBt2020_12:
        return ColourBt2020;
    default:
        break;
    }
    switch (primaries) {
    case PrimariesBt709:
        return ColourBt709;
    case PrimariesBt470_2_SysBG:
    case PrimariesSmpte170M:
        return ColourBt601;
    case PrimariesBt2020:
        return ColourBt2020;
    default:
        break;
    }
    return displayHeight < 720 ? ColourBt601 : ColourBt709;
}

DisplayArea chooseDisplayArea(const DisplayArea *aperture, int codedWidth, int codedHeight, int streamWidth,
                              int streamHeight)
{
    DisplayArea area{0, 0, codedWidth, codedHeight};
    if (aperture && aperture->width > 0 && aperture->height > 0)
        area = *aperture;
    if (streamWidth > 0 && streamHeight > 0) {
        area.width = std::min(area.width, streamWidth);
        area.height = std::min(area.height, streamHeight);
    }
    return area;
}

bool copyNv12Area(const Nv12Source &source, const DisplayArea &area, const Nv12Target &target)
{
    if (source.pitch <= 0 || area.width < 1 || area.height < 1 || area.x < 0 || area.y < 0 || !source.luma ||
        !source.chroma || !target.luma || !target.chroma)
        return false;
    // Chroma samples cover 2 x 2 luma pixels, so the copy starts on an even
    // column and row to keep the planes aligned with each other.
    const uint64_t pitch = uint64_t(source.pitch);
    const uint64_t x = uint64_t(area.x) & ~uint64_t(1);
    const uint64_t lumaRow0 = uint64_t(area.y) & ~uint64_t(1);
    const uint64_t chromaRow0 = uint64_t(area.y) / 2;
    const uint64_t width = uint64_t(area.width);
    const uint64_t chromaWidth = (width + 1) & ~uint64_t(1);
    const uint64_t rows = uint64_t(area.height);
    const uint64_t chromaRows = (rows + 1) / 2;
    if (x + chromaWidth > pitch || width > uint64_t(target.lumaStride) ||
        chromaWidth > uint64_t(target.chromaStride))
        return false;
    if ((lumaRow0 + rows - 1) * pitch + x + width > source.lumaBytes ||
        (chromaRow0 + chromaRows - 1) * pitch + x + chromaWidth > source.chromaBytes)
        return false;
    for (uint64_t r = 0; r < rows; ++r)
        memcpy(target.luma + r * uint64_t(target.lumaStride), source.luma + (lumaRow0 + r) * pitch + x,
               size_t(width));
    for (uint64_t r = 0; r < chromaRows; ++r)
        memcpy(target.chroma + r * uint64_t(target.chromaStride),
               source.chroma + (chromaRow0 + r) * pitch + x, size_t(chromaWidth));
    return true;
}

std::array<uint8_t, 14> aacUserData(bool headerless, int objectType, int sampleRate, int channels)
{
    const int index = aacRateIndex(sampleRate);
    std::array<uint8_t, 14> data{};
    data[0] = headerless ? 0 : 1; // wPayloadType
    data[2] = 0xFE;               // wAudioProfileLevelIndication: unknown
    // wStructType, wReserved1 and dwReserved2 stay zero.
    aacPackConfig(objectType, index < 0 ? 8 : index, channels < 1 ? 1 : channels, &data[12]);
    return data;
}

std::string hresultText(uint32_t code)
{
    char text[16];
    snprintf(text, sizeof text, "0x%08x", unsigned(code));
    return text;
}

const char *textTemplate(TextId id)
{
    switch (id) {
    case TextNone:
        return "";
    case TextGraphicsCard:
        return "Your graphics card cannot decode this video.";
    case TextCouldNotDecode:
        return "Windows could not decode this video (%1).";
    case TextNeedsHevcExtension:
        return "Windows needs Microsoft's HEVC Video Extensions to decode H.265 without the graphics card. "
               "Install them from the Microsoft Store, then try again.";
    case TextNoDecoder:
        return "Windows has no decoder for this video format.";
    }
    return "";
}

std::string messageText(const Message &message)
{
    std::string text = textTemplate(message.id);
    const size_t at = text.find("%1");
    if (at != std::string::npos)
        text.replace(at, 2, message.detail);
    return text;
}

} // namespace nivra::mf

namespace nivra::mf {

void logLine(const Logger &logger, const char *format, ...)
{
    if (!logger.write)
        return;
    char line[1024];
    va_list args;
    va_start(args, format);
    vsnprintf(line, sizeof line, format, args);
    va_end(args);
    logger.write(logger.context, line);
}

} // namespace nivra::mf
