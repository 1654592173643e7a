// The day's record search against the recorder emulator.
#include <gtest/gtest.h>

#include <condition_variable>
#include <limits>
#include <mutex>

#include "playback/core/search/DayRecordSearch.h"
#include "playback/core/search/RecordSearchThread.h"
#include "playback/core/tests/PlaybackEmulator.h"

namespace {

class RecorderSearchTest : public PlaybackEmulator {
protected:
    int LogIn(size_t recorder = 0) {
        connection_.InitNetWork();
        return connection_.ConnectToServer("127.0.0.1", emulator_.Port(recorder), "admin", "admin");
    }

    NetCtrl connection_;
    RecordPage page_{};
    CTimelineSlots timeline_;
};

}  // namespace

TEST_F(RecorderSearchTest, ADayOfSeveralPagesMarksTheRowsOfItsCameras) {
    // 400 recordings of 100 s every 200 s, each of one camera in turn: two pages.
    RecorderConfig config = Recorder(4);
    config.day_schedule.clear();
    for (int i = 0; i < 400; ++i) {
        config.day_schedule.push_back({i * 200, i * 200 + 100, 1u << (i % 4)});
    }
    Start({config});
    ASSERT_EQ(LogIn(), 0);

    const SearchRows rows = MakeSearchRows({1, 1, 3, 0});
    ASSERT_EQ(SearchDayRecords(connection_, kDayKey, 28, rows, page_, timeline_), 1);
    // Camera 1 records at i = 0, 4, 8, ...: 00:00, 00:13:20, ...; on the second page too.
    EXPECT_TRUE(timeline_.Marked(0, 0));
    EXPECT_TRUE(timeline_.Marked(0, 264));   // i = 396 at 22:00:00
    EXPECT_FALSE(timeline_.Marked(0, 265));  // 22:05:00 to 22:09:59: cameras 2 to 4 only
    EXPECT_TRUE(timeline_.Marked(2, 265));   // camera 3 at 22:06:40
    EXPECT_EQ(timeline_.DayBase(), kDayStart);
    for (int k = 0; k < CTimelineSlots::kSlots; ++k) {
        EXPECT_FALSE(timeline_.Marked(1, k));  // the repeated camera's row
        EXPECT_FALSE(timeline_.Marked(3, k));
    }

    // A day without recordings reports no pages.
    CTimelineSlots empty;
    EXPECT_EQ(SearchDayRecords(connection_, kDayKey + 1, 29, rows, page_, empty), -1);
}

// A recorder may announce any page count; no more pages are asked than a day can hold.
TEST_F(RecorderSearchTest, AnnouncedPagesAreBoundedByWhatADayHolds) {
    RecorderConfig config = Recorder(4);
    config.announced_pages = std::numeric_limits<int32_t>::max();
    Start({config});
    ASSERT_EQ(LogIn(), 0);

    int pages = 0;
    const SearchRows rows = MakeSearchRows({1, 0, 0, 0});
    EXPECT_EQ(SearchDayRecords(connection_, kDayKey, rows, page_,
                               [&](const PageMarks&) { return ++pages > 0; }),
              1);
    EXPECT_EQ(pages, kMaxDayPages);
    EXPECT_GE(kMaxDayPages * kRecListPageEntries, CTimelineSlots::kSlots * 16);
}

// A search started in place of a running one: the old one hands on nothing more and its end
// is not reported; the new one runs to its end.
TEST_F(RecorderSearchTest, ASearchStartedMidWayReplacesTheRunningOne) {
    RecorderConfig config = Recorder(4);
    config.announced_pages = 5;
    Start({config});
    ASSERT_EQ(LogIn(), 0);

    std::mutex mutex;
    std::condition_variable changed;
    std::vector<std::uint64_t> pages;  // the search of each page handed on
    std::vector<std::pair<std::uint64_t, int>> ends;
    CRecordSearchThread* thread = nullptr;
    std::uint64_t second = 0;
    CRecordSearchThread search(
        connection_,
        [&](std::uint64_t number, const PageMarks& marks) {
            std::lock_guard lock(mutex);
            pages.push_back(number);
            if (number == 1 && pages.size() == 2) second = thread->Start({kDayKey, {}, false});
            EXPECT_EQ(marks.empty(), number != 1 || pages.size() > 1);
        },
        [&](std::uint64_t number, int result) {
            std::lock_guard lock(mutex);
            ends.emplace_back(number, result);
            changed.notify_all();
        });
    thread = &search;
    EXPECT_EQ(search.Start({kDayKey, MakeSearchRows({1, 0, 0, 0}), false}), 1u);
    std::unique_lock lock(mutex);
    ASSERT_TRUE(changed.wait_for(lock, std::chrono::seconds(30), [&] { return !ends.empty(); }));
    EXPECT_EQ(second, 2u);
    EXPECT_EQ(pages, (std::vector<std::uint64_t>{1, 1, 2, 2, 2, 2, 2}));
    EXPECT_EQ(ends, (std::vector<std::pair<std::uint64_t, int>>{{2, 1}}));
}
