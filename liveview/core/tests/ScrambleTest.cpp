#include "Scramble.h"

#include <gtest/gtest.h>

#include <string>

TEST(Scramble, ShiftsDownAndReverses) {
    std::string text = "abc";
    EXPECT_EQ(ScrambleString(text.data(), 3), 1);
    EXPECT_EQ(text, "\x5E\x5D\x5C");
    EXPECT_EQ(UnscrambleString(text.data(), 3), 1);
    EXPECT_EQ(text, "abc");
}

TEST(Scramble, LowAndHighBytesAreOnlyReversed) {
    std::string text = "\x01\x05\x80\xE4\xFF";
    ScrambleString(text.data(), static_cast<int>(text.size()));
    EXPECT_EQ(text, "\xFF\xE4\x80\x05\x01");
    UnscrambleString(text.data(), static_cast<int>(text.size()));
    EXPECT_EQ(text, "\x01\x05\x80\xE4\xFF");
}

TEST(Scramble, PrintableTextAndUtf8ComeBack) {
    std::string text = "Ad~min 9\xE4\xB8\xAD!";
    const std::string original = text;
    ScrambleString(text.data(), static_cast<int>(text.size()));
    EXPECT_NE(text, original);
    UnscrambleString(text.data(), static_cast<int>(text.size()));
    EXPECT_EQ(text, original);
}

TEST(Scramble, BytesSixToTenDoNotComeBack) {
    std::string text = "a\x06\x0A";
    ScrambleString(text.data(), 3);
    UnscrambleString(text.data(), 3);
    EXPECT_EQ(text, "a\x01\x05");
}

TEST(Scramble, OnlyTheGivenLengthChanges) {
    std::string text = "abcd";
    ScrambleString(text.data(), 2);
    EXPECT_EQ(text,
              "\x5D\x5C"
              "cd");
    ScrambleString(text.data(), 0);
    EXPECT_EQ(text,
              "\x5D\x5C"
              "cd");
}
