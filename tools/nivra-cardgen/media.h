// Encodes the simulated camera's video and sound with libavcodec.
#pragma once

#include "picture.h"
#include "scenario.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace cardgen {

struct VideoPacket
{
    std::vector<uint8_t> data; // one access unit, Annex B
    bool key = false;
};

// One video encoder for the whole card; pictures go in, access units come out
// in the same order (no B-frames, so decode order is capture order).
class VideoEncoder
{
public:
    VideoEncoder();
    ~VideoEncoder();
    VideoEncoder(const VideoEncoder &) = delete;
    VideoEncoder &operator=(const VideoEncoder &) = delete;

    // Returns false with *error when the encoder cannot be opened.
    bool open(const VideoParams &params, std::string *error);
    // Draws and encodes one picture; `key` starts a new closed GOP with an IDR
    // picture. Packets collect inside until finish().
    bool encode(const PictureInfo &info, bool key, std::string *error);
    // Drains the encoder; *out receives one packet per picture sent, in order.
    bool finish(std::vector<VideoPacket> *out, std::string *error);

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

struct AudioPacket
{
    std::vector<uint8_t> data; // as stored on the card (ADTS header included where asked)
    int64_t pts = 0;           // first sample, counted from the stretch's start
};

// Encodes `samples` samples of the test sound starting at capture time
// `startMs`: a steady tone with a 100 ms beep at every whole second, or when
// `scene` is given a quiet tone (about -45 dBFS) with the scene's bursts.
// Returns false with *error on failure.
bool encodeAudio(const AudioParams &params, const Scene *scene, int64_t startMs, int64_t samples,
                 std::vector<AudioPacket> *out, std::string *error);

// Builds the 7-byte ADTS header for an AAC LC frame of `payload` bytes.
void adtsHeader(int rate, int channels, size_t payload, uint8_t out[7]);

} // namespace cardgen
