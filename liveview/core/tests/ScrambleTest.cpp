#include "liveview/core/store/Scramble.h"

#include <gtest/gtest.h>

#include <string>

TEST(Scramble, ShiftsDownAndReversesOnlyTheGivenLength) {
    std::string text = "abcd";
    EXPECT_EQ(ScrambleString(text.data(), 3), 1);
    EXPECT_EQ(text,
              "\x5E\x5D\x5C"
              "d");
    EXPECT_EQ(UnscrambleString(text.data(), 3), 1);
    EXPECT_EQ(text, "abcd");
}

TEST(Scramble, TextComesBackButLowAndHighBytesAreOnlyReversed) {
    std::string text = "\x01\x05\x80\xFF";
    ScrambleString(text.data(), 4);
    EXPECT_EQ(text, "\xFF\x80\x05\x01");
    text = "Ad~min 9\xE4\xB8\xAD!";
    ScrambleString(text.data(), static_cast<int>(text.size()));
    UnscrambleString(text.data(), static_cast<int>(text.size()));
    EXPECT_EQ(text, "Ad~min 9\xE4\xB8\xAD!");
}

TEST(Scramble, BytesSixToTenDoNotComeBack) {
    std::string text = "a\x06\x0A";
    ScrambleString(text.data(), 3);
    UnscrambleString(text.data(), 3);
    EXPECT_EQ(text, "a\x01\x05");
}
