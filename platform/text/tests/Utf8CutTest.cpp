#include "platform/text/Utf8Cut.h"

#include <gtest/gtest.h>

#include <string>

TEST(Utf8Cut, AsciiIsCutAtTheLimit) {
    EXPECT_EQ(Utf8Cut("abcdef", 4), "abcd");
    EXPECT_EQ(Utf8Cut("abc", 4), "abc");
    EXPECT_EQ(Utf8Cut("abc", 0), "");
}

TEST(Utf8Cut, NeverSplitsACharacter) {
    const std::string text = "a\xE4\xB8\xAD\xE6\x96\x87";  // "a" and two 3-byte characters
    EXPECT_EQ(Utf8Cut(text, 1), "a");
    EXPECT_EQ(Utf8Cut(text, 2), "a");
    EXPECT_EQ(Utf8Cut(text, 3), "a");
    EXPECT_EQ(Utf8Cut(text, 4), "a\xE4\xB8\xAD");
    EXPECT_EQ(Utf8Cut(text, 6), "a\xE4\xB8\xAD");
    EXPECT_EQ(Utf8Cut(text, 7), text);
    const std::string emoji = "\xF0\x9F\x98\x80\xF0\x9F\x98\x80";
    EXPECT_EQ(Utf8Cut(emoji, 7), "\xF0\x9F\x98\x80");
}

TEST(Utf8Cut, InvalidBytesAreKeptOneByOne) {
    const std::string text = "\x80\x80\xFF\xC3";  // stray continuations, invalid lead, cut lead
    EXPECT_EQ(Utf8Cut(text, 2), "\x80\x80");
    EXPECT_EQ(Utf8Cut(text, 3), "\x80\x80\xFF");
}
