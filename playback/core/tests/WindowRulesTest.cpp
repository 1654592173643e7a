// Rules of the playback window: the rows of a search, the play position's following and the
// background repaint after a move.
#include <gtest/gtest.h>

#include "playback/core/search/DayRecordSearch.h"
#include "playback/core/search/SearchRows.h"
#include "playback/core/window/PlayFollow.h"
#include "playback/core/window/WindowDrag.h"

TEST(WindowRules, SearchRowsDropRepeatedCamerasAndMarkTheirRecords) {
    struct Case {
        std::array<int, 4> selections;
        std::array<int, 4> channels;
        int mask;
        std::array<std::string, 4> labels;
    };
    const Case cases[] = {
        {{3, 3, 3, 3}, {3, 0, 0, 0}, 0x4, {"CAM03", "NONE", "NONE", "NONE"}},
        {{-1, -1, -1, -1}, {0, 0, 0, 0}, 0, {"NONE", "NONE", "NONE", "NONE"}},
        {{1, 2, 1, 16}, {1, 2, 0, 16}, 0x8003, {"CAM01", "CAM02", "NONE", "CAM16"}},
        {{0, 5, 0, 5}, {0, 5, 0, 0}, 0x10, {"NONE", "CAM05", "NONE", "NONE"}},
        {{40, 0, 0, 0}, {40, 0, 0, 0}, 0, {"CAM40", "NONE", "NONE", "NONE"}},  // no bit 39
    };
    for (const Case& c : cases) {
        const SearchRows rows = MakeSearchRows(c.selections);
        EXPECT_EQ(rows.channels, c.channels);
        EXPECT_EQ(rows.channel_mask, c.mask);
        EXPECT_EQ(rows.labels, c.labels);
    }

    constexpr std::time_t kDay = 1251417600;  // 2009-08-28
    RecordPage page{};
    page[0] = {{}, 0x3, {}, static_cast<int32_t>(kDay + 600), static_cast<int32_t>(kDay + 700), {}};
    page[1] = {{}, 0x4, {}, 0, static_cast<int32_t>(kDay + 3600), {}};  // empty entry
    page[7] = {{}, 0x4, {}, static_cast<int32_t>(kDay + 3600), static_cast<int32_t>(kDay + 3660),
               {}};
    CTimelineSlots timeline;
    MarkRecordPage(page, MakeSearchRows({2, 3, 1, 0}), 28, timeline);
    EXPECT_TRUE(timeline.Marked(0, 2));   // camera 2 in the first entry
    EXPECT_TRUE(timeline.Marked(2, 2));   // camera 1 in it too
    EXPECT_TRUE(timeline.Marked(1, 12));  // camera 3 at 01:00
    EXPECT_FALSE(timeline.Marked(1, 0));
    EXPECT_FALSE(timeline.Marked(3, 2));
}

TEST(WindowRules, SliderFollowsThePlayTimeAndWaitsOutJumps) {
    CPlayFollow follow;
    // Within 1440 / 50 = 28 minutes of the slider: every look.
    for (int look = 0; look < 6; ++look)
        EXPECT_TRUE(follow.ShouldFollow(600, 627, 0, 1440));
    EXPECT_TRUE(follow.ShouldFollow(600, 573, 0, 1440));
    // Farther: every fourth look in a row; a near look starts the count again.
    const bool far_looks[] = {false, false, false, true, false, false};
    for (bool expected : far_looks)
        EXPECT_EQ(follow.ShouldFollow(600, 628, 0, 1440), expected);
    EXPECT_TRUE(follow.ShouldFollow(600, 601, 0, 1440));
    EXPECT_FALSE(follow.ShouldFollow(0, 900, 0, 1440));
}

TEST(WindowRules, BackgroundRepaintsOnceAfterStartAndAfterEveryMove) {
    std::atomic<int> flag{0};
    CWindowDrag drag(flag);
    EXPECT_TRUE(drag.OnDragWatch());  // about 200 ms after start-up
    EXPECT_FALSE(drag.OnDragWatch());

    drag.Press();
    EXPECT_EQ(flag.load(), 1);
    drag.OnTimerMessage();  // still moving: the flag stays
    EXPECT_EQ(flag.load(), 1);
    EXPECT_FALSE(drag.OnDragWatch());
    drag.Release();
    EXPECT_EQ(flag.load(), 1);
    drag.OnTimerMessage();
    EXPECT_EQ(flag.load(), 0);
    EXPECT_TRUE(drag.OnDragWatch());
    EXPECT_FALSE(drag.OnDragWatch());
}
