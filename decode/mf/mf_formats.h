// The arithmetic of the Media Foundation decoders that needs no Windows:
// copying the displayed part of an NV12 picture out of a decoder buffer,
// choosing the colour space from a media type's attributes, the AAC user data
// of the decoder's input type, and the texts shown for result codes.
//
// Plain functions without Qt and without Windows headers, so they build and
// are tested on every platform.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace nivra::mf {

// Colour spaces a picture can be tagged with.
enum ColourSpace
{
    ColourBt601 = 0,
    ColourBt709 = 1,
    ColourBt2020 = 2,
};

// Values of MFVideoTransferMatrix and MFVideoPrimaries that the choice looks
// at (the Windows build checks them against the SDK's enums).
enum
{
    MatrixBt709 = 1,
    MatrixBt601 = 2,
    MatrixBt2020_10 = 4,
    MatrixBt2020_12 = 5,
    PrimariesBt709 = 2,
    PrimariesBt470_2_SysBG = 4,
    PrimariesSmpte170M = 5,
    PrimariesBt2020 = 9,
};

// Returns the colour space for a media type: from its YUV matrix when it has
// one that names a space, else from its primaries, else BT.601 below 720
// lines of display height and BT.709 from 720 up. A missing attribute is
// passed as -1.
ColourSpace chooseColourSpace(int yuvMatrix, int primaries, int displayHeight);

// The part of a decoded picture that is shown.
struct DisplayArea
{
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// The shown part of a decoder's picture: its minimum display aperture when it
// has one (aperture non-null), else the whole coded picture; in either case
// no larger than the stream's own cropped size (streamWidth and streamHeight,
// 0 when unknown), since some decoders (Wine's) report the padded rows as
// part of the picture.
DisplayArea chooseDisplayArea(const DisplayArea *aperture, int codedWidth, int codedHeight, int streamWidth,
                              int streamHeight);

// An NV12 source: luma rows at luma, interleaved chroma rows at chroma, both
// with the same pitch; the byte counts say how much may be read from each.
struct Nv12Source
{
    const uint8_t *luma = nullptr;
    size_t lumaBytes = 0;
    const uint8_t *chroma = nullptr;
    size_t chromaBytes = 0;
    int pitch = 0;
};

// An NV12 destination of the display size with its own line strides.
struct Nv12Target
{
    uint8_t *luma = nullptr;
    int lumaStride = 0;
    uint8_t *chroma = nullptr;
    int chromaStride = 0;
};

// Copies the display area out of source into target: luma from the even row
// and column at or above-left of the area's offset, area height rows of area
// width bytes; chroma from the same even column and row y / 2, (height + 1) / 2
// rows of (width + 1) rounded down to even bytes. Returns false, copying
// nothing, when the pitch is not positive, the area is empty, or a row would
// be read outside the source's bytes or written beyond a target stride.
bool copyNv12Area(const Nv12Source &source, const DisplayArea &area, const Nv12Target &target);

// The 14-byte MF_MT_USER_DATA of the AAC decoder's input type (the tail of
// HEAACWAVEINFO, 16-bit fields little-endian): payload type (0 raw, 1 ADTS),
// profile-level indication 0xFE, 8 zero bytes, then the AudioSpecificConfig
// of object type (2 when below 1), the rate's frequency index (8, 16000 Hz,
// when the rate is not in the AAC table) and the channel count (1 when below
// 1).
std::array<uint8_t, 14> aacUserData(bool headerless, int objectType, int sampleRate, int channels);

// Returns "0x" and the 32-bit code in 8 lower-case hexadecimal digits.
std::string hresultText(uint32_t code);

// The user-facing failure texts of the video decoder (their English form;
// the Qt side translates them in the context "Decoder"). %1 takes the detail.
enum TextId
{
    TextNone = 0,
    TextGraphicsCard,       // any failure on the graphics card
    TextCouldNotDecode,     // a software failure, with a code or detail
    TextNeedsHevcExtension, // no software H.265 decoder
    TextNoDecoder,          // no software H.264 decoder
};

// Returns the English template of a text (empty for TextNone).
const char *textTemplate(TextId id);

// A failure text: which one, and the detail for its %1.
struct Message
{
    TextId id = TextNone;
    std::string detail;
    bool empty() const { return id == TextNone; }
};

// Returns the English text of a message with its detail filled in.
std::string messageText(const Message &message);

} // namespace nivra::mf

namespace nivra::mf {

// Where the decoders' diagnostic lines go (the Qt side logs them at info
// level); a null function drops them.
struct Logger
{
    void (*write)(void *context, const char *line) = nullptr;
    void *context = nullptr;
};

// Formats one line and hands it to the logger.
#if defined(__GNUC__)
void logLine(const Logger &logger, const char *format, ...) __attribute__((format(printf, 2, 3)));
#else
void logLine(const Logger &logger, const char *format, ...);
#endif

} // namespace nivra::mf
