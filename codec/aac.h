// AAC as cameras store it: the sampling-frequency table.
//
// Pure functions, no allocation, no Qt.
#pragma once

// AAC sampling frequencies by index 0..12 (ISO/IEC 14496-3).
extern const int kAacSampleRates[13];

// Returns the sampling-frequency index of rate, or -1 when it has none.
int aacRateIndex(int rate);
