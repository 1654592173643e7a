// Date texts of the playback window and the recorder's camera count.
#include <gtest/gtest.h>

#include "playback/core/search/RecordTexts.h"

TEST(RecordTexts, RecordTimesInBothDateStyles) {
    EXPECT_EQ(DateStyleFor("chinese"), 1);
    EXPECT_EQ(DateStyleFor("Chinese"), 2);
    EXPECT_EQ(DateStyleFor("english"), 2);
    EXPECT_EQ(FormatRecordTime(1, 2009, 8, 5, 7, 3, 9), "2009/08/05 07:03");
    EXPECT_EQ(FormatRecordTime(2, 2009, 8, 5, 7, 3, 9), "05/08/2009 07:03");
    EXPECT_EQ(FormatRecordTime(7, 2009, 8, 5, 7, 3, 9), "2009/08/05 07:03");
    EXPECT_EQ(FormatRecordTime(1, -1, 8, 5, 7, 3, 9), "07:03:09");
    EXPECT_EQ(FormatRecordTime(2, -1, 8, 5, 7, 3, 9), "07:03:09");
}

TEST(RecordTexts, RangeOverEveryDiskAsTheRecordersClockShowsIt) {
    _DVR_MACHINE_INFO_ info{};
    EXPECT_EQ(RecordRangeText(info, 1), " No Disk! ");
    info.nDiskCount = 2;
    info.disk[0].nFirstTime = 1249113600;  // 2009-08-01 08:00
    info.disk[0].nLastTime = 1250789400;   // 2009-08-20 17:30
    info.disk[1].nFirstTime = 1247616000;  // 2009-07-15 00:00
    info.disk[1].nLastTime = 1251460800;   // 2009-08-28 12:00
    EXPECT_EQ(RecordRangeText(info, 1), " 2009/07/15 00:00 - 2009/08/28 12:00 ");
    EXPECT_EQ(RecordRangeText(info, 2), " 15/07/2009 00:00 - 28/08/2009 12:00 ");

    // A count beyond the record's eight disks reads only those eight.
    info.nDiskCount = 1000;
    for (int i = 2; i < kDvrMaxDisks; ++i)
        info.disk[i] = info.disk[0];
    EXPECT_EQ(RecordRangeText(info, 1), " 2009/07/15 00:00 - 2009/08/28 12:00 ");
    info.nDiskCount = -3;
    EXPECT_EQ(RecordRangeText(info, 1), " No Disk! ");
}

TEST(RecordTexts, CamerasOfATypeCode) {
    const std::pair<int, int> cases[] = {{1016, 16}, {4, 4}, {2008, 8}, {1000, 0}, {7004, 4}};
    for (auto [type_code, cameras] : cases)
        EXPECT_EQ(ChannelCountOf(type_code), cameras);
}
