// FFmpeg's libavcodec as a video decoder: on the graphics card through one of
// the hardware paths, or (as Linux's system decoder) in software.
#pragma once

#include "decode/decoder.h"

struct AVFrame;

namespace nivra {

// Makes the decoder for codec 1 or 2. With hardware, it tries the hardware
// paths the codec supports in a fixed order; without, it decodes in software.
// Returns null with *reason on failure.
std::unique_ptr<VideoDecoder> makeFfmpegVideoDecoder(int codec, bool hardware, QString *reason);

// Decoding threads of the software decoder: the processor's cores, at most
// four (one in a ThreadSanitizer build). set with 0 returns to that; other
// values are clamped to 1..16.
int softwareDecoderThreads();
void setSoftwareDecoderThreads(int threads);

// Copies a system-memory YUV420P, YUVJ420P or NV12 frame into a new
// QVideoFrame with its colour space and range. False for other formats or
// when the frame cannot be mapped.
bool convertFrame(const AVFrame *source, QVideoFrame *out);

} // namespace nivra
