#include "tools/recorder-emulator/ConfigValues.h"
#include "tools/recorder-emulator/DayKey.h"
#include "tools/recorder-emulator/DaySchedule.h"

#include <gtest/gtest.h>

namespace {

TEST(DayKey, NamesCalendarDays) {
    const auto day = DayNumberOfKey(1090728);
    ASSERT_TRUE(day);
    EXPECT_EQ(*day * kSecondsPerDay, 1251417600);  // 2009-08-28 00:00 UTC
    EXPECT_EQ(KeyOfDayNumber(*day), 1090728);
    EXPECT_EQ(DayNumberOfKey(700001), 0);   // month counts from 0
    EXPECT_TRUE(DayNumberOfKey(1000129));   // 29 February 2000
    EXPECT_FALSE(DayNumberOfKey(1010129));  // 29 February 2001
    EXPECT_FALSE(DayNumberOfKey(1091200));  // month 13
    EXPECT_FALSE(DayNumberOfKey(1090300));  // day 0
    EXPECT_FALSE(DayNumberOfKey(1090331));  // 31 April
    EXPECT_FALSE(DayNumberOfKey(-1));
    for (int64_t d = -1000; d < 40000; d += 37)
        EXPECT_EQ(DayNumberOfKey(KeyOfDayNumber(d)), d);
}

TEST(DaySchedule, RecordsOnRecordedDaysOnly) {
    const int64_t first = DayNumberOf({2009, 8, 1});
    const DaySchedule schedule({{13 * 3600, 14 * 3600, 0xff}, {8 * 3600, 9 * 3600, 0x30003}}, first,
                               first + 1, 4);
    EXPECT_TRUE(schedule.RecordsOfDay(first - 1).empty());
    EXPECT_TRUE(schedule.RecordsOfDay(first + 2).empty());
    const auto records = schedule.RecordsOfDay(first + 1);
    ASSERT_EQ(records.size(), 2u);
    const int64_t midnight = (first + 1) * kSecondsPerDay;
    EXPECT_EQ(records[0].start_time, midnight + 8 * 3600);  // start order
    EXPECT_EQ(records[0].channel_mask, 0x3u);               // only the recorder's channels
    EXPECT_EQ(records[1].end_time, midnight + 14 * 3600);
    EXPECT_EQ(schedule.EarliestTime(), first * kSecondsPerDay + 8 * 3600);
    EXPECT_EQ(schedule.LatestTime(), midnight + 14 * 3600);
}

TEST(DaySchedule, PagesOfThreeHundred) {
    const auto segments = ParseSchedule("00:00-24:00/0xffff @120x100");  // 720 a day
    ASSERT_TRUE(segments);
    const DaySchedule schedule(*segments, 10, 10, 16);
    const auto records = schedule.RecordsOfDay(10);
    ASSERT_EQ(records.size(), 720u);
    EXPECT_EQ(DaySchedule::PageCount(records.size()), 3);
    EXPECT_EQ(DaySchedule::PageCount(0), 0);
    EXPECT_EQ(DaySchedule::PageCount(300), 1);
    EXPECT_EQ(DaySchedule::PageCount(301), 2);
    EXPECT_EQ(DaySchedule::Page(records, 0).size(), 300u);
    const auto last = DaySchedule::Page(records, 2);
    ASSERT_EQ(last.size(), 120u);
    EXPECT_EQ(last.front().start_time, records[600].start_time);
    EXPECT_TRUE(DaySchedule::Page(records, 3).empty());
    EXPECT_TRUE(DaySchedule::Page(records, -1).empty());
}

TEST(DaySchedule, PlaybackFindsRecordedTimes) {
    const DaySchedule schedule({{100, 200, 0x1}, {150, 300, 0x2}, {1000, 1100, 0x4}}, 0, 0, 4);
    EXPECT_EQ(schedule.ChannelsRecordingAt(0, 160, 0xf), 0x3u);
    EXPECT_EQ(schedule.ChannelsRecordingAt(0, 160, 0x2), 0x2u);
    EXPECT_EQ(schedule.ChannelsRecordingAt(0, 200, 0xf), 0x2u);  // end is exclusive
    EXPECT_EQ(schedule.ChannelsRecordingAt(1, kSecondsPerDay + 160, 0xf), 0u);
    EXPECT_EQ(schedule.NextRecordedTime(0, 0, 86400, 0x1), 100);
    EXPECT_EQ(schedule.NextRecordedTime(0, 250, 86400, 0xf), 250);
    EXPECT_EQ(schedule.NextRecordedTime(0, 300, 86400, 0xf), 1000);  // a gap is skipped
    EXPECT_EQ(schedule.NextRecordedTime(0, 300, 86400, 0x3), std::nullopt);
    EXPECT_EQ(schedule.NextRecordedTime(0, 300, 1000, 0xf), std::nullopt);  // past the span
}

}  // namespace
