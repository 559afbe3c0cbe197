// AAC as cameras store it: the sampling-frequency table, the 2-byte
// AudioSpecificConfig that MP4/MOV sample entries and decoders take, and the
// header of an ADTS frame.
//
// Pure functions on caller-owned records, no allocation, no Qt. The card
// probe, the MOV/MP4 writer and the decoders all read and pack these fields
// here, so they never disagree about a stream.
#pragma once

#include <stddef.h>
#include <stdint.h>

// AAC sampling frequencies by index 0..12 (ISO/IEC 14496-3).
extern const int kAacSampleRates[13];

// Returns the sampling-frequency index of rate, or -1 when it has none.
int aacRateIndex(int rate);

// Packs the 2-byte AudioSpecificConfig into out: object type (2, AAC LC,
// when below 1), sampling-frequency index (0..15) and channel configuration
// (0..15; 0 leaves the layout to a program config element).
void aacPackConfig(int objectType, int rateIndex, int channelConfig, uint8_t out[2]);

// The fields of one ADTS frame header.
struct AdtsHeader
{
    int objectType;      // profile + 1 (2: AAC LC)
    int rateIndex;       // sampling-frequency index, 0..15
    int sampleRate;      // Hz from the table, 0 for the indexes 13..15
    int channelConfig;   // 0..7; 0: the layout is in a program config element
    size_t headerLength; // 7, or 9 with a CRC
    size_t frameLength;  // the whole frame, header included
    int rawBlocks;       // raw data blocks in the frame, 1..4
};

// Returns true when data starts with an ADTS header: at least 7 bytes, the
// 12-bit syncword and layer 0.
bool isAdtsHeader(const uint8_t *data, size_t length);

// Reads the header at data into *out without checking the syncword (see
// isAdtsHeader). Returns false, leaving *out, when fewer than 7 bytes are
// given. The frame length is as written: it may be shorter than the header
// or longer than the bytes at hand.
bool adtsReadHeader(const uint8_t *data, size_t length, AdtsHeader *out);
