// The AAC rate table and AudioSpecificConfig; see aac.h.
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

void aacPackConfig(int objectType, int rateIndex, int channelConfig, uint8_t out[2])
{
    const unsigned object = unsigned(objectType < 1 ? 2 : objectType) & 0x1F;
    const unsigned index = unsigned(rateIndex) & 0x0F;
    const unsigned channels = unsigned(channelConfig) & 0x0F;
    out[0] = uint8_t((object << 3) | (index >> 1));
    out[1] = uint8_t(((index & 1) << 7) | (channels << 3));
}
