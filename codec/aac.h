// AAC as cameras store it: the sampling-frequency table and the 2-byte
// AudioSpecificConfig that MP4/MOV sample entries and decoders take.
//
// Pure functions, no allocation, no Qt. The MOV/MP4 writer and the decoders
// all pack the configuration here, so they never disagree about a stream.
#pragma once

#include <stdint.h>

// AAC sampling frequencies by index 0..12 (ISO/IEC 14496-3).
extern const int kAacSampleRates[13];

// Returns the sampling-frequency index of rate, or -1 when it has none.
int aacRateIndex(int rate);

// Packs the 2-byte AudioSpecificConfig into out: object type (2, AAC LC,
// when below 1), sampling-frequency index (0..15) and channel configuration
// (0..15; 0 leaves the layout to a program config element).
void aacPackConfig(int objectType, int rateIndex, int channelConfig, uint8_t out[2]);
