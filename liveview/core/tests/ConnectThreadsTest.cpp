// The connect threads' bookkeeping and the gate through which they reach the window, with a
// plain thread standing in for the window thread.
#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "liveview/core/streaming/ConnectThreads.h"
#include "tests/support/PollUntil.h"

namespace {

// A latch a test opens to let a thread go on.
class Latch {
public:
    void Open() {
        std::lock_guard lock(mutex_);
        open_ = true;
        changed_.notify_all();
    }
    void Wait() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return open_; });
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool open_ = false;
};

}  // namespace

TEST(ConnectThreads, OneThreadPerSlotJoinedOnlyOnceItsBodyReturned) {
    CConnectThreads threads;
    Latch release;
    std::atomic<int> runs{0};
    ASSERT_TRUE(threads.Start(5, [&] {
        ++runs;
        release.Wait();
    }));
    EXPECT_TRUE(threads.HasThread(5));
    EXPECT_TRUE(threads.IsBusy(5));
    EXPECT_FALSE(threads.Start(5, [&] { ++runs; })) << "a second connect while one runs";
    EXPECT_FALSE(threads.Watch(5)) << "the watch never waits for a busy thread";
    EXPECT_TRUE(threads.HasThread(5));

    // Other slots are independent; slots outside the table are refused.
    ASSERT_TRUE(threads.Start(6, [&] { ++runs; }));
    EXPECT_FALSE(threads.Start(64, [&] { ++runs; }));
    EXPECT_FALSE(threads.Start(-1, [&] { ++runs; }));

    release.Open();
    ASSERT_TRUE(PollUntil([&] { return !threads.IsBusy(5) && !threads.IsBusy(6); }));
    EXPECT_TRUE(threads.Watch(5));
    EXPECT_FALSE(threads.HasThread(5));
    EXPECT_TRUE(threads.Start(5, [&] { ++runs; })) << "the slot is free again";
    threads.JoinAll();
    EXPECT_FALSE(threads.HasThread(6));
    EXPECT_EQ(runs.load(), 3);
}
