// The AAC rate table, AudioSpecificConfig and ADTS headers; see aac.h.
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

bool isAdtsHeader(const uint8_t *data, size_t length)
{
    return length >= 7 && data[0] == 0xFF && (data[1] & 0xF6) == 0xF0;
}

bool adtsReadHeader(const uint8_t *h, size_t length, AdtsHeader *out)
{
    if (length < 7)
        return false;
    out->objectType = (h[2] >> 6) + 1;
    out->rateIndex = (h[2] >> 2) & 0x0F;
    out->sampleRate = out->rateIndex < 13 ? kAacSampleRates[out->rateIndex] : 0;
    out->channelConfig = ((h[2] & 1) << 2) | (h[3] >> 6);
    out->headerLength = (h[1] & 1) ? 7 : 9;
    out->frameLength = (size_t(h[3] & 3) << 11) | (size_t(h[4]) << 3) | (h[5] >> 5);
    out->rawBlocks = (h[6] & 3) + 1;
    return true;
}
