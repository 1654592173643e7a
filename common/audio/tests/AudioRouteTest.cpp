#include "common/audio/AudioRoute.h"

#include <gtest/gtest.h>

TEST(AudioRoute, LowestChannelOfTheMaskAndPlayerByLength) {
    EXPECT_EQ(AudioChannelOfMask(0), -1);
    EXPECT_EQ(AudioChannelOfMask(0x1), 0);
    EXPECT_EQ(AudioChannelOfMask(0x0c), 2);
    EXPECT_EQ(AudioChannelOfMask(0x80000000u), 31);
    EXPECT_TRUE(IsStereoBlock(4096));
    EXPECT_FALSE(IsStereoBlock(4095));
}
