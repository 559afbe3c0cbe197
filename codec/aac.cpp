// The AAC rate table; see aac.h.
#include "codec/aac.h"

const int kAacSampleRates[13] = {96000, 88200, 64000, 48000, 44100, 32000, 24000,
                                 22050, 16000, 12000, 11025, 8000,  7350};

int aacRateIndex(int rate)
{
    for (int i = 0; i < 13; ++i)
        if (kAacSampleRates[i] == rate)
            return i;
    return -1;
}
