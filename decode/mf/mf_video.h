// The Media Foundation video decoder without Qt: H.264 and H.265 through the
// transforms Windows lists, on the graphics card (Direct3D 11 textures copied
// out through a staging texture) or in software, always delivering NV12.
//
// Pictures go to a caller's sink, which supplies the planes to copy into; the
// Qt adapter (mf_video_decoder_win.cpp) makes QVideoFrames of them, the
// Windows test program plain buffers. All calls on one thread with COM
// initialised (multithreaded apartment).
#pragma once

#include "decode/mf/mf_formats.h"

#include <cstdint>
#include <memory>
#include <string>

namespace nivra::mf {

// The format of a converted picture.
struct PictureFormat
{
    int width = 0; // display size
    int height = 0;
    ColourSpace colourSpace = ColourBt601;
    bool fullRange = false;
};

// Receives converted pictures: begin() supplies planes of the display size
// (false drops the picture), end() follows every successful begin().
class PictureSink
{
public:
    virtual ~PictureSink() = default;
    virtual bool begin(const PictureFormat &format, Nv12Target *target) = 0;
    // ok: the planes were filled; timeMs: the picture's time.
    virtual void end(bool ok, int64_t timeMs) = 0;
};

class VideoDecoderCore
{
public:
    // Makes the decoder for codec 1 (H.264) or 2 (H.265) on the graphics card
    // or in software. Returns null with *reason filled in when Media
    // Foundation does not start, lists no decoder, or (graphics card) no
    // Direct3D 11 device can be made. The transform is chosen at the first
    // keyframe. sink and logger must outlive the decoder.
    static std::unique_ptr<VideoDecoderCore> make(int codec, bool graphicsCard, PictureSink *sink,
                                                  const Logger &logger, Message *reason);
    ~VideoDecoderCore();
    VideoDecoderCore(const VideoDecoderCore &) = delete;
    VideoDecoderCore &operator=(const VideoDecoderCore &) = delete;

    // Decodes one coded frame (Annex-B), handing finished pictures to the
    // sink. True when taken; false when refused (non-keyframe before the
    // first keyframe, an input failure) or when error() is set.
    bool send(const uint8_t *data, uint64_t size, int64_t timeMs);
    // Asks the transform for the pictures it still holds back.
    void drain();
    // Forgets queued input; the next input is marked as a discontinuity.
    void flush();

    // "Windows %1 decoder (Media Foundation, %2)" with codec name and mode.
    std::string info() const;
    // The failure that made the decoder give up; empty while it works.
    const Message &error() const;
    // "H.264" or "H.265".
    const char *codecName() const;
    bool graphicsCard() const;
    // The friendly name of the transform in use; empty before the start.
    const std::string &transformName() const;
    int picturesDecoded() const;

private:
    struct State;
    explicit VideoDecoderCore(std::unique_ptr<State> state);
    std::unique_ptr<State> d;
};

// Returns true when Windows lists at least one decoder for the codec; false
// also when Media Foundation does not start.
bool hasSystemDecoder(int codec);

// Initialises COM for the calling thread (multithreaded apartment) and
// undoes it on destruction when that succeeded.
class ComThreadScope
{
public:
    ComThreadScope();
    ~ComThreadScope();
    ComThreadScope(const ComThreadScope &) = delete;
    ComThreadScope &operator=(const ComThreadScope &) = delete;
    bool initialised() const { return m_initialised; }

private:
    bool m_initialised = false;
};

} // namespace nivra::mf
