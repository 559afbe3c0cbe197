// The Media Foundation AAC decoder without Qt: AAC with or without ADTS
// headers through the first AAC transform Windows lists, delivering
// interleaved float samples in plain buffers. The Qt adapter
// (mf_aac_decoder_win.cpp) turns them into AudioChunks. All calls on one
// thread with COM initialised.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace nivra::mf {

// Decoded sound: interleaved floats, nominal range -1..1.
struct AudioSamples
{
    std::vector<float> samples;
    int sampleRate = 0;
    int channels = 0;
    int64_t timeMs = 0; // time of the first sample
};

class AacDecoderCore
{
public:
    // Makes the decoder. Returns null with *reason (English) when Media
    // Foundation does not start, Windows lists no AAC decoder, or it takes
    // neither the stream nor gives a float or 16-bit output.
    static std::unique_ptr<AacDecoderCore> make(bool headerless, int sampleRate, int channels, int objectType,
                                                std::string *reason);
    ~AacDecoderCore();
    AacDecoderCore(const AacDecoderCore &) = delete;
    AacDecoderCore &operator=(const AacDecoderCore &) = delete;

    // Decodes one coded frame, appending the sound that comes out (none
    // empty) to *out. False when the transform does not take the frame.
    bool decode(const uint8_t *data, uint64_t size, int64_t timeMs, std::vector<AudioSamples> *out);
    // Forgets the sound held for earlier frames.
    void flush();
    // "Windows AAC decoder (Media Foundation)".
    static const char *info();

    // The negotiated output (tests look at it).
    int sampleRate() const;
    int channels() const;
    bool floatOutput() const;

private:
    struct State;
    explicit AacDecoderCore(std::unique_ptr<State> state);
    std::unique_ptr<State> d;
};

} // namespace nivra::mf
