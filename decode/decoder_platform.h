// What each platform supplies to the decoder chain, the audio factory and the
// decode worker. Linux: decoder_platform_linux.cpp and graphics_probe_linux.cpp
// (FFmpeg software decoders, VA-API probe); Windows: the Media Foundation files.
#pragma once

#include "decode/decoder.h"

#include <vector>

extern "C" {
#include <libavutil/hwcontext.h>
#include <libavutil/pixfmt.h>
}

namespace nivra {

// Labels of the chain's two system entries (graphics card, software).
QString systemGpuEntryLabel();
QString systemSoftwareEntryLabel();

// Makes the system video decoder on the graphics card or in software, or
// returns null with *reason.
std::unique_ptr<VideoDecoder> makeSystemVideoDecoder(int codec, bool graphicsCard, QString *reason);

// Whether the platform has system AAC decoding at all; without it the audio
// factory does not warn about its absence.
bool platformHasSystemAac();
// Makes the system AAC decoder, or returns null with *reason.
std::unique_ptr<AudioDecoder> makeSystemAacDecoder(bool headerless, int sampleRate, int channels,
                                                   int objectType, QString *reason);

// Runs the one-time graphics capability probe.
GraphicsCapability probeGraphicsCapability();

// FFmpeg hardware paths the platform adds after the common ones.
struct HwPath
{
    AVHWDeviceType type;
    AVPixelFormat format;
    const char *label;
};
std::vector<HwPath> platformHwPaths();

// Per-thread set-up the decoders need on the worker thread (COM on Windows);
// the destructor undoes it.
class DecoderThreadScope
{
public:
    DecoderThreadScope();
    ~DecoderThreadScope();
    DecoderThreadScope(const DecoderThreadScope &) = delete;
    DecoderThreadScope &operator=(const DecoderThreadScope &) = delete;

private:
    bool m_initialised = false;
};

} // namespace nivra
