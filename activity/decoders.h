// The index's decoders, with libavcodec's cheapest settings that keep a grid
// of means exact: key frames alone, no loop filter, one thread (a key frame
// at a time gains nothing from frame threads), software decoding.
#pragma once

#include "activity/activity.h"

#include <map>
#include <vector>

struct AVCodecContext;
struct AVFrame;
struct AVPacket;

namespace nivra::activity {

class GridDecoder
{
public:
    GridDecoder() = default;
    ~GridDecoder();
    GridDecoder(const GridDecoder &) = delete;
    GridDecoder &operator=(const GridDecoder &) = delete;

    // Opens the decoder for CARD_CODEC_H264 or CARD_CODEC_H265. Returns
    // ACT_OK or ACT_ERR_DECODER.
    int open(int codec);
    // Decodes one key frame (its parameter sets included) into grid. False
    // when it does not decode.
    bool decode(const uint8_t *data, size_t size, uint8_t grid[kCells]);

private:
    AVCodecContext *m_context = nullptr;
    AVPacket *m_packet = nullptr;
    AVFrame *m_frame = nullptr;
};

// The RMS loudness of every second of sound fed to it.
class LoudnessMeter
{
public:
    LoudnessMeter() = default;
    ~LoudnessMeter();
    LoudnessMeter(const LoudnessMeter &) = delete;
    LoudnessMeter &operator=(const LoudnessMeter &) = delete;

    // Opens the decoder for the card's sound. Returns ACT_OK, or
    // ACT_ERR_DECODER when it has none or none that decodes.
    int open(const card_stream &stream);
    // Decodes one frame of sound recorded at time_ms; a frame that does not
    // decode counts as nothing.
    void add(const uint8_t *data, size_t size, int64_t time_ms);
    // The seconds met so far, in time order.
    std::vector<SoundSecond> seconds() const;

private:
    struct Sum
    {
        double squares = 0.0;
        int64_t samples = 0;
    };
    AVCodecContext *m_context = nullptr;
    AVPacket *m_packet = nullptr;
    AVFrame *m_frame = nullptr;
    std::map<int64_t, Sum> m_sums; // by UTC second
};

} // namespace nivra::activity
