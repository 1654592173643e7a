// The timeline's slots and conversions.
#include <gtest/gtest.h>

#include <set>

#include "playback/core/search/TimelineSlots.h"
#include "playback/core/window/PlayTime.h"

namespace {

constexpr std::time_t kDay = 1251417600;  // 2009-08-28 00:00:00 by the recorder's clock
constexpr int kMday = 28;

std::time_t At(int hour, int minute, int second) {
    return kDay + hour * 3600 + minute * 60 + second;
}

std::set<int> MarkedSlots(const CTimelineSlots& timeline, int row) {
    std::set<int> marked;
    for (int k = 0; k < CTimelineSlots::kSlots; ++k) {
        if (timeline.Marked(row, k)) marked.insert(k);
    }
    return marked;
}

}  // namespace

TEST(TimelineSlots, ARecordMarksEverySlotItsClosedSpanTouches) {
    struct Case {
        std::time_t start, end;
        std::set<int> slots;
    };
    std::set<int> to_midnight;
    for (int k = 287; k < CTimelineSlots::kSlots; ++k)
        to_midnight.insert(k);
    const Case cases[] = {
        {At(10, 2, 0), At(10, 2, 30), {120}},
        {At(9, 59, 59), At(10, 5, 0), {119, 120, 121}},
        {At(9, 58, 0), At(10, 0, 0), {119, 120}},  // ending on a slot's start marks it too
        {At(0, 0, 0), At(0, 0, 0), {0}},
        {At(23, 58, 0), At(23, 58, 0) + 3600, to_midnight},  // past midnight: to the day's end
        {At(12, 0, 0), At(10, 0, 0), {120, 144}},  // ending before it starts: its two ends only
        {At(0, 1, 0), At(0, 1, 0) - 3600, {0}},    // ending on the day before
    };
    for (const Case& c : cases) {
        CTimelineSlots timeline;
        EXPECT_EQ(timeline.AddSegment(c.start, c.end, 2, kMday), 86400);
        EXPECT_EQ(MarkedSlots(timeline, 2), c.slots) << c.start;
        EXPECT_TRUE(MarkedSlots(timeline, 1).empty());
        EXPECT_EQ(timeline.DayBase(), kDay);
    }
}

TEST(TimelineSlots, RefusedRecordsChangeNothingAndClearKeepsTheDayBase) {
    CTimelineSlots timeline;
    EXPECT_EQ(timeline.SecondsOfDay(12345), 12345);  // no day base yet
    EXPECT_EQ(timeline.AddSegment(At(1, 0, 0), At(2, 0, 0), -1, kMday), -1);
    EXPECT_EQ(timeline.AddSegment(At(1, 0, 0), At(2, 0, 0), 4, kMday), -1);
    EXPECT_EQ(timeline.AddSegment(At(1, 0, 0) - 86400, At(2, 0, 0), 0, kMday), 0);
    EXPECT_EQ(timeline.AddSegment(-5, At(2, 0, 0), 0, kMday), 0);
    EXPECT_EQ(timeline.DayBase(), 0);
    for (int row = 0; row < CTimelineSlots::kRows; ++row) {
        EXPECT_TRUE(MarkedSlots(timeline, row).empty());
    }

    ASSERT_EQ(timeline.AddSegment(At(8, 0, 0), At(9, 0, 0), 3, kMday), 86400);
    // Marks only accumulate; another record of the day adds to the row.
    ASSERT_EQ(timeline.AddSegment(At(20, 0, 0), At(20, 1, 0), 3, kMday), 86400);
    EXPECT_EQ(MarkedSlots(timeline, 3).size(), 13u + 1u);
    timeline.Clear();
    EXPECT_TRUE(MarkedSlots(timeline, 3).empty());
    EXPECT_EQ(timeline.DayBase(), kDay);
    EXPECT_EQ(timeline.SecondsOfDay(At(13, 45, 30)), 49530);
}

TEST(TimelineSlots, ConversionsBetweenMinutesAndSecondsOfTheDay) {
    CTimelineSlots timeline;
    timeline.SetRange(0, 1440);
    ASSERT_EQ(timeline.AddSegment(kDay, kDay + 60, 0, kMday), 86400);
    const std::pair<int, int> to_seconds[] = {
        {0, 0}, {600, 36000}, {720, 43200}, {1440, 86400}, {1, 60}};
    for (auto [position, seconds] : to_seconds) {
        EXPECT_EQ(timeline.PosToSeconds(position), seconds) << position;
    }
    // Every minute of the slider is its exact minute, and the picker's minute leads back to it.
    for (int position = 0; position <= 1440; ++position) {
        ASSERT_EQ(timeline.PosToSeconds(position), position * 60) << position;
        ASSERT_EQ(play_time::SliderPosition(position * 60), position) << position;
    }
    // 1/86400 in single precision lies a little low: whole minutes land a position lower.
    const std::pair<int, int> to_position[] = {
        {0, 0}, {3600, 59}, {3630, 60}, {43200, 719}, {86399, 1439}};
    for (auto [seconds, position] : to_position) {
        EXPECT_EQ(timeline.SecondsToPos(kDay + seconds), position) << seconds;
    }
    // An empty range has no positions: no division by zero.
    timeline.SetRange(5, 5);
    EXPECT_EQ(timeline.PosToSeconds(5), 0);
    EXPECT_EQ(timeline.SecondsToPos(kDay + 600), 0);
}
