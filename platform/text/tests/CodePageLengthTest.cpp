#include "platform/text/CodePageLength.h"

#include <gtest/gtest.h>

#include <string>

TEST(CodePageLength, AsciiCountsOneAndEveryOtherCharacterTwo) {
    const struct {
        std::string text;
        std::size_t length;
    } cases[] = {
        {"", 0},
        {"470319", 6},
        {"\xE5\xAF\x86\xE7\xA0\x81\xE9\x94\x81", 6},  // three Chinese characters
        {"a\xC3\xA9", 3},                             // a two-byte character
        {"\xF0\x9F\x98\x80", 2},                      // a four-byte character
        {"\x80\x80", 4},                              // stray continuations: one each
        {"\xE5\xAF", 2},                              // a character cut short
        {"\xE5"
         "a",
         3},  // a lead byte without its tail
    };
    for (const auto& c : cases)
        EXPECT_EQ(CodePageLength(c.text), c.length) << c.text;
}
