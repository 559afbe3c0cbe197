// The audio decoders that do not come from the platform: G.711 A-law and
// FFmpeg's AAC decoder, with the pieces of them that tests look at.
#pragma once

#include "decode/decoder.h"

#include <array>

namespace nivra {

// The G.711 A-law expansion of code, scaled by 1/32768.
float alawSample(uint8_t code);

// The MPEG-4 sampling-frequency index of a rate (8, 16000 Hz, when the rate
// is not in the table).
int aacFrequencyIndex(int sampleRate);

// The 2-byte AudioSpecificConfig for raw AAC: object type (2 when below 1),
// frequency index and channel configuration (1 when below 1).
std::array<uint8_t, 2> aacAudioSpecificConfig(int objectType, int sampleRate, int channels);

// Makes FFmpeg's AAC decoder; headerless streams get the configuration above.
// Returns null with *reason (possibly empty) on failure.
std::unique_ptr<AudioDecoder> makeFfmpegAacDecoder(bool headerless, int sampleRate, int channels,
                                                   int objectType, QString *reason);

// Makes the G.711 A-law decoder (8000 Hz when the rate is 0 or less).
std::unique_ptr<AudioDecoder> makeG711ADecoder(int sampleRate);

} // namespace nivra
