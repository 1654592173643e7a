#include <gtest/gtest.h>

#include "common/ui/core/LabelText.h"
#include "common/ui/core/SkinImageOffset.h"
#include "common/ui/core/SnapshotName.h"

TEST(LabelTextTest, TextsReachingTheWidthAreCutAndEndInASpace) {
    EXPECT_EQ(CutLabelText("12345678901234567", 18), "12345678901234567");
    EXPECT_EQ(CutLabelText("123456789012345678", 18), "1234567890123456 ");
    EXPECT_EQ(CutLabelText(std::string(40, 'x'), 18), std::string(16, 'x') + " ");
    EXPECT_EQ(CutLabelText("", 18), "");
    EXPECT_EQ(CutLabelText("abc", 2), " ");
}

TEST(LabelTextTest, TheCutNeverSplitsACharacter) {
    // "é" is two bytes; the cut at 16 bytes would fall inside the eighth one.
    std::string text = "a";
    for (int i = 0; i < 10; ++i)
        text += "\xC3\xA9";
    EXPECT_EQ(CutLabelText(text, 18), "a" +
                                          std::string("\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9"
                                                      "\xC3\xA9\xC3\xA9\xC3\xA9") +
                                          " ");
}

TEST(SkinImageOffsetTest, ImagesLargerThanTheFaceAreReadFromTheirMiddleOrEnd) {
    // A 40 x 40 button has a 36 x 36 face; a 40 x 40 image is read from its pixel (2, 2).
    EXPECT_EQ(SkinImageOffset(SkinAlign::kCenter, 36, 40, 1), 2);
    EXPECT_EQ(SkinImageOffset(SkinAlign::kStart, 36, 40, 1), 0);
    EXPECT_EQ(SkinImageOffset(SkinAlign::kEnd, 36, 40, 1), 4);
    EXPECT_EQ(SkinImageOffset(SkinAlign::kCenter, 36, 37, 1), 0);  // (-1) / 2 truncates to 0
    EXPECT_EQ(SkinImageOffset(SkinAlign::kCenter, 36, 20, 1), 0);
    EXPECT_EQ(SkinImageOffset(SkinAlign::kEnd, 36, 20, 1), 0);
    EXPECT_EQ(SkinImageOffset(SkinAlign::kEnd, 36, 35, 1), -1);
}

TEST(SnapshotNameTest, LocalTimeGivesDateAndTimeDigits) {
    std::tm t{};
    t.tm_year = 2024 - 1900;
    t.tm_mon = 0;
    t.tm_mday = 5;
    t.tm_hour = 7;
    t.tm_min = 8;
    t.tm_sec = 9;
    EXPECT_EQ(SnapshotName(t), "20240105_070809.bmp");
    EXPECT_EQ(SnapshotNameNow().size(), std::string("20240105_070809.bmp").size());
}
