// The AAC functions: the rate table.
#include "codec/aac.h"

#include <gtest/gtest.h>

namespace {

TEST(AacRates, IndexOfEveryTableRateAndNoneElse)
{
    const int rates[13] = {96000, 88200, 64000, 48000, 44100, 32000, 24000,
                           22050, 16000, 12000, 11025, 8000,  7350};
    for (int i = 0; i < 13; ++i) {
        EXPECT_EQ(aacRateIndex(rates[i]), i) << rates[i];
        EXPECT_EQ(kAacSampleRates[i], rates[i]);
    }
    for (int rate : {0, -1, 50000, 44000, 192000})
        EXPECT_EQ(aacRateIndex(rate), -1) << rate;
}

} // namespace
