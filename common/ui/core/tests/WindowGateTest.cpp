#include "common/ui/core/WindowGate.h"

#include <gtest/gtest.h>

#include <chrono>
#include <deque>
#include <future>
#include <mutex>
#include <thread>
#include <vector>

#include "tests/support/PollUntil.h"

namespace {

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
    ASSERT_TRUE(PollUntil([&] { return queue.Size() == 1; }));
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
    std::vector<std::thread> workers;
    for (int worker = 0; worker < 4; ++worker) {
        workers.emplace_back([gate, &ran] {
            gate->Call([&ran] { ran += 1000; });
            gate->Post([&ran] { ran += 1000; });
        });
    }
    EXPECT_TRUE(PollUntil([&] { return queue.Size() == 5; }));
    gate->Close();
    for (std::thread& worker : workers)
        worker.join();
    EXPECT_FALSE(gate->Post([&] { ran += 1000; }));
    queue.RunPending();
    gate->Call([&] { ran += 1000; });
    EXPECT_EQ(ran, 111);
}
