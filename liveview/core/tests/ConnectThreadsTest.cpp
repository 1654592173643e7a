// The connect threads' bookkeeping and the gate through which they reach the window, with a
// plain thread standing in for the window thread.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <future>
#include <mutex>
#include <thread>

#include "common/ui/core/WindowGate.h"
#include "liveview/core/streaming/ConnectThreads.h"

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

// Polls a condition with a wide limit (the sanitizer builds are slow).
bool Eventually(const std::function<bool()>& done) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

// The window's event queue: tasks posted from any thread, run by the test on "its" thread.
class EventQueue {
public:
    void Post(CWindowGate::Task task) {
        std::lock_guard lock(mutex_);
        tasks_.push_back(std::move(task));
    }
    // Runs what is queued now; returns how many ran.
    int RunPending() {
        std::deque<CWindowGate::Task> tasks;
        {
            std::lock_guard lock(mutex_);
            tasks.swap(tasks_);
        }
        for (auto& task : tasks)
            task();
        return static_cast<int>(tasks.size());
    }
    std::size_t Size() {
        std::lock_guard lock(mutex_);
        return tasks_.size();
    }

private:
    std::mutex mutex_;
    std::deque<CWindowGate::Task> tasks_;
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
    ASSERT_TRUE(Eventually([&] { return !threads.IsBusy(5) && !threads.IsBusy(6); }));
    EXPECT_TRUE(threads.Watch(5));
    EXPECT_FALSE(threads.HasThread(5));
    EXPECT_TRUE(threads.Start(5, [&] { ++runs; })) << "the slot is free again";
    threads.JoinAll();
    EXPECT_FALSE(threads.HasThread(6));
    EXPECT_EQ(runs.load(), 3);
}

TEST(WindowGate, TasksRunOnTheWindowThreadUntilTheGateCloses) {
    EventQueue queue;
    auto gate = CWindowGate::Create([&](CWindowGate::Task task) { queue.Post(std::move(task)); });
    int ran = 0;
    EXPECT_TRUE(gate->Post([&] { ++ran; }));
    EXPECT_EQ(ran, 0) << "nothing runs on the posting thread";
    EXPECT_EQ(queue.RunPending(), 1);
    EXPECT_EQ(ran, 1);

    // Call from a worker returns once the window thread ran the task.
    auto call = std::async(std::launch::async, [&] { gate->Call([&] { ran += 10; }); });
    ASSERT_TRUE(Eventually([&] { return queue.Size() == 1; }));
    EXPECT_EQ(call.wait_for(std::chrono::milliseconds(0)), std::future_status::timeout);
    queue.RunPending();
    call.get();
    EXPECT_EQ(ran, 11);

    // On the window thread Call runs the task at once.
    gate->Call([&] { ran += 100; });
    EXPECT_EQ(ran, 111);

    // Closing lets go the workers waiting for the window, skips what is queued and drops
    // what comes later: a worker that outlives the window never touches it.
    gate->Post([&] { ran += 1000; });
    CConnectThreads workers;
    for (int slot = 0; slot < 4; ++slot) {
        ASSERT_TRUE(workers.Start(slot, [gate, &ran] {
            gate->Call([&ran] { ran += 1000; });
            gate->Post([&ran] { ran += 1000; });
        }));
    }
    ASSERT_TRUE(Eventually([&] { return queue.Size() == 5; }));
    gate->Close();
    workers.JoinAll();
    EXPECT_FALSE(gate->Post([&] { ran += 1000; }));
    queue.RunPending();
    gate->Call([&] { ran += 1000; });
    EXPECT_EQ(ran, 111);
}
