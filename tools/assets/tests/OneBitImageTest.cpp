#include "tools/assets/OneBitImage.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

using skinart::OneBitImage;

TEST(OneBitImage, HeaderSplitsSidesIntoHundredsAndRemainder) {
    const std::vector<std::uint8_t> file = OneBitImage(720, 160).Encode();
    ASSERT_EQ(file.size(), 5u + 90 * 160);
    EXPECT_EQ(std::vector<std::uint8_t>(file.begin(), file.begin() + 5),
              (std::vector<std::uint8_t>{7, 20, 1, 60, 2}));
    EXPECT_EQ(OneBitImage(9, 3).Encode().size(), 5u + 2 * 3);  // a partial last byte per row
}

TEST(OneBitImage, LeftmostPixelIsTheMostSignificantBit) {
    OneBitImage image(20, 2);
    image.SetInk(0, 0);
    image.SetInk(18, 0);  // third byte, bit 5 from the top
    image.SetInk(9, 1);
    image.SetInk(20, 0);  // outside: ignored
    image.SetInk(-1, 1);
    const std::vector<std::uint8_t> file = image.Encode();
    EXPECT_EQ(std::vector<std::uint8_t>(file.begin() + 5, file.end()),
              (std::vector<std::uint8_t>{0x80, 0x00, 0x20, 0x00, 0x40, 0x00}));
    EXPECT_TRUE(image.Ink(18, 0));
    EXPECT_FALSE(image.Ink(17, 0));
    EXPECT_FALSE(image.Ink(20, 0));
}

TEST(OneBitImage, RefusesSidesTheHeaderCannotHold) {
    EXPECT_THROW(OneBitImage(0, 10), std::invalid_argument);
    EXPECT_THROW(OneBitImage(10000, 10), std::invalid_argument);
    EXPECT_NO_THROW(OneBitImage(9999, 1));
}

}  // namespace
