#include "platform/netctrl/FrameQueue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>
#include "tests/support/PollUntil.h"

namespace {

_NET_FRAME_HEAD_ Head(char type, int channel, bool key, int number, std::size_t size_bytes) {
    _NET_FRAME_HEAD_ head{};
    head.cType = type;
    head.nChannel = channel;
    head.nKeyFrame = key ? 1 : 0;
    head.nFrameNo = number;
    head.nLength = static_cast<uint32_t>(size_bytes);
    return head;
}

// Time that moves only by the queue's waits. A wait ends when notified; one that nobody ends
// within patience (real time) passes its whole time at once. Waits are counted, so a test
// knows when the queue waits.
class ManualClock final : public FrameQueueClock {
public:
    explicit ManualClock(std::chrono::milliseconds patience) : patience_(patience) {}

    TimePoint Now() override {
        std::lock_guard lock(mutex_);
        return now_;
    }
    void WaitUntil(std::condition_variable& condition, std::unique_lock<std::mutex>& lock,
                   TimePoint deadline) override {
        ++waits_;
        if (condition.wait_for(lock, patience_) == std::cv_status::timeout) {
            std::lock_guard clock_lock(mutex_);
            now_ = std::max(now_, deadline);
        }
    }
    int Waits() const { return waits_.load(); }
    std::chrono::milliseconds Passed() {
        return std::chrono::duration_cast<std::chrono::milliseconds>(Now() - TimePoint{});
    }

private:
    const std::chrono::milliseconds patience_;
    std::mutex mutex_;
    TimePoint now_{};
    std::atomic<int> waits_{0};
};

// A consumer that never comes: every wait runs its whole time.
constexpr std::chrono::milliseconds kNoPatience{0};
// Only a test that failed waits this long for a notice.
constexpr std::chrono::milliseconds kPatient{kPollLimit_ms};
class Queue {
public:
    explicit Queue(FrameQueueLimits limits = {}, FrameQueueClock* clock = nullptr)
        : queue(limits, clock) {}

    void Video(int channel, bool key, int number, std::size_t size_bytes = 10) {
        queue.Push(Head('V', channel, key, number, size_bytes),
                   std::vector<uint8_t>(size_bytes, static_cast<uint8_t>(number)), 0, cancel);
    }
    void Audio(int channel) {
        queue.Push(Head('A', channel, false, 0, 4), {1, 2, 3, 4}, 0, cancel);
    }

    // Channel and frame number of each frame, oldest first ('A' frames as -1).
    std::vector<std::pair<int, int>> Drain() {
        std::vector<std::pair<int, int>> out;
        _NET_FRAME_HEAD_ head;
        while (queue.Pop(head, buffer.data()) >= 0) {
            out.emplace_back(head.nChannel, head.cType == 'V' ? head.nFrameNo : -1);
        }
        return out;
    }

    FrameQueue queue;
    std::atomic<bool> cancel{false};
    std::vector<uint8_t> buffer = std::vector<uint8_t>(kMaxFramePayloadBytes);
};

using Frames = std::vector<std::pair<int, int>>;

}  // namespace

TEST(FrameQueue, PopReturnsHeadAndPayloadOldestFirst) {
    Queue q;
    q.Video(2, true, 0, 100);
    q.Audio(1);
    EXPECT_EQ(q.queue.Count(), 2);
    _NET_FRAME_HEAD_ head;
    ASSERT_EQ(q.queue.Pop(head, q.buffer.data()), 100);
    EXPECT_EQ(head.nChannel, 2);
    EXPECT_EQ(head.nLength, 100u);
    ASSERT_EQ(q.queue.Pop(head, q.buffer.data()), 4);
    EXPECT_EQ(head.cType, 'A');
    EXPECT_EQ(q.buffer[3], 4);
    EXPECT_EQ(q.queue.Pop(head, q.buffer.data()), -1);
}

TEST(FrameQueue, FullQueueDropsTheBrokenChainUpToTheNextKeyFrame) {
    Queue q({6, 1 << 20});
    q.Video(0, true, 0);
    q.Video(1, true, 0);
    q.Video(0, false, 1);
    q.Video(0, false, 2);
    q.Video(1, false, 1);
    q.Video(0, true, 0);  // channel 0 starts again here
    // Full: the oldest (channel 0, key) goes, and with it 0/1 and 0/2 that built on it.
    q.Video(1, false, 2);
    EXPECT_EQ(q.Drain(), (Frames{{1, 0}, {1, 1}, {0, 0}, {1, 2}}));
    EXPECT_EQ(q.queue.DroppedFrames(), 3u);
}

TEST(FrameQueue, ChannelWithoutQueuedKeyFrameWaitsForTheNextOne) {
    Queue q({4, 1 << 20});
    q.Video(3, true, 0);
    q.Video(3, false, 1);
    q.Audio(0);
    q.Video(5, true, 0);
    q.Video(3, false, 2);  // evicts 3/0 and 3/1, and has lost its own base with them
    q.Video(3, false, 3);  // so has this one: channel 3 has no key frame left
    q.Video(5, false, 1);  // other channels go on
    q.Video(3, true, 0);
    q.Video(3, false, 1);  // evicts the audio frame only
    EXPECT_EQ(q.Drain(), (Frames{{5, 0}, {5, 1}, {3, 0}, {3, 1}}));
    EXPECT_EQ(q.queue.DroppedFrames(), 5u);
}

TEST(FrameQueue, ByteLimitEvictsAndAKeyFrameSurvivesEvictingItsOwnChannel) {
    Queue q({100, 1000});
    q.Video(4, true, 0, 400);
    q.Video(4, false, 1, 400);
    q.Video(4, true, 0, 400);  // needs room: 4/0 goes and 4/1 with it; this key frame stays
    q.Video(4, false, 1, 100);
    EXPECT_EQ(q.Drain(), (Frames{{4, 0}, {4, 1}}));
}

TEST(FrameQueue, OnlyChannelsOfTheFrameRangeAreRememberedBroken) {
    // Tiny frames on ever-new channel numbers: each push evicts and breaks a chain.
    Queue q({2, 1 << 20});
    for (int channel = -1000; channel < 20000; ++channel)
        q.Video(channel, false, 1);
    EXPECT_EQ(q.queue.BrokenChannels(), std::size_t{kFrameChannels});
    q.Video(7, false, 2);  // a broken channel of the range still waits for its key frame
    q.Video(7, true, 0);
    EXPECT_EQ(q.queue.BrokenChannels(), std::size_t{kFrameChannels} - 1);
    EXPECT_EQ(q.Drain(), (Frames{{19999, 1}, {7, 0}}));
}

TEST(FrameQueue, AudioLossBreaksNothing) {
    Queue q({2, 1 << 20});
    q.Audio(0);
    q.Video(0, false, 7);
    q.Video(0, false, 8);  // evicts the audio frame only
    EXPECT_EQ(q.Drain(), (Frames{{0, 7}, {0, 8}}));
}

TEST(FrameQueue, SpanIsDeliveredOnTheConsumerCallAfterItsLastFrame) {
    Queue q;
    int delivered = 0;
    q.queue.SetSpanDeliveredHandler([&] { ++delivered; });
    q.Video(0, true, 0);
    q.Video(0, false, 1);
    q.queue.MarkSpanEnd();
    q.Video(0, true, 0);  // a frame after the notice does not hold the span back
    EXPECT_EQ(q.queue.Count(), 3);
    _NET_FRAME_HEAD_ head;
    q.queue.Pop(head, q.buffer.data());
    q.queue.Pop(head, q.buffer.data());
    EXPECT_EQ(delivered, 0);  // the caller is still busy with the last frame
    EXPECT_EQ(q.queue.Count(), 1);
    EXPECT_EQ(delivered, 1);
    q.queue.Count();
    EXPECT_EQ(delivered, 1);

    q.queue.Pop(head, q.buffer.data());
    q.queue.MarkSpanEnd();  // nothing of the span is queued: the next call delivers it
    EXPECT_EQ(q.queue.Count(), 0);
    EXPECT_EQ(delivered, 2);

    q.Video(0, true, 0);
    q.queue.MarkSpanEnd();
    q.queue.Clear();  // a new request clears the queue and forgets the old span
    q.queue.Count();
    EXPECT_EQ(delivered, 2);
}

TEST(FrameQueue, PlaybackPushWaitsForRoomInsteadOfDropping) {
    ManualClock clock(kPatient);
    Queue q({2, 1 << 20}, &clock);
    q.Video(0, true, 0);
    q.Video(0, false, 1);
    std::thread consumer([&] {
        ASSERT_TRUE(PollUntil([&] { return clock.Waits() > 0; }));  // the push waits for room
        _NET_FRAME_HEAD_ head;
        q.queue.Pop(head, q.buffer.data());
    });
    q.queue.Push(Head('V', 0, false, 2, 10), std::vector<uint8_t>(10), 5000, q.cancel);
    consumer.join();
    EXPECT_EQ(clock.Passed().count(), 0);  // the room ended the wait, not its time
    EXPECT_EQ(q.Drain(), (Frames{{0, 1}, {0, 2}}));
    EXPECT_EQ(q.queue.DroppedFrames(), 0u);
}

TEST(FrameQueue, AfterAWaitInVainDropsAtOnceUntilTheConsumerReturns) {
    ManualClock clock(kNoPatience);
    Queue q({1, 1 << 20}, &clock);
    q.Video(0, true, 0);
    // How long each push waits, on the clock.
    auto push_ms = [&](int number) {
        const auto before = clock.Passed();
        q.queue.Push(Head('A', 0, false, number, 4), {1, 2, 3, 4}, 600, q.cancel);
        return (clock.Passed() - before).count();
    };
    EXPECT_EQ(push_ms(1), 600);  // waited, then dropped the oldest
    EXPECT_EQ(q.queue.DroppedFrames(), 1u);
    EXPECT_EQ(push_ms(2), 0);  // the consumer is gone: no more waiting
    EXPECT_EQ(q.queue.DroppedFrames(), 2u);
    _NET_FRAME_HEAD_ head;
    q.queue.Pop(head, q.buffer.data());
    q.Video(0, true, 0);
    EXPECT_EQ(push_ms(3), 600);  // it came back, so the queue waits for it again
}

TEST(FrameQueue, CancelEndsTheWaitForRoom) {
    ManualClock clock(kPatient);
    Queue q({1, 1 << 20}, &clock);
    q.Video(0, true, 0);
    std::thread stopper([&] {
        ASSERT_TRUE(PollUntil([&] { return clock.Waits() > 0; }));
        q.cancel = true;
        q.queue.WakeAll();
    });
    q.queue.Push(Head('V', 1, true, 0, 10), std::vector<uint8_t>(10), 60000, q.cancel);
    stopper.join();
    EXPECT_EQ(clock.Passed().count(), 0);
}

namespace {

TEST(FrameQueue, WaitForFrameEndsWhenAFrameArrivesOrTheTimeRunsOut) {
    ManualClock idle_clock(kNoPatience);
    Queue idle({}, &idle_clock);
    EXPECT_FALSE(idle.queue.WaitForFrame(30));
    EXPECT_EQ(idle_clock.Passed().count(), 30);

    ManualClock clock(kPatient);
    Queue q({}, &clock);
    std::thread pusher([&] {
        ASSERT_TRUE(PollUntil([&] { return clock.Waits() > 0; }));
        q.Video(0, true, 0);
        q.queue.NotifyArrivals();
    });
    EXPECT_TRUE(q.queue.WaitForFrame(60000));
    pusher.join();
    const int waits = clock.Waits();
    EXPECT_TRUE(q.queue.WaitForFrame(60000));  // a waiting frame returns at once
    EXPECT_EQ(clock.Waits(), waits);
    EXPECT_EQ(clock.Passed().count(), 0);  // woken by the push, not by the time
    EXPECT_EQ(q.Drain().size(), 1u);
}

TEST(FrameQueue, PayloadBuffersComeBackToTheReceiver) {
    Queue q;
    EXPECT_EQ(q.queue.Push(Head('V', 0, true, 0, 3000), std::vector<uint8_t>(3000, 1), 0, q.cancel)
                  .capacity(),
              0u);  // nothing emptied yet
    _NET_FRAME_HEAD_ head;
    ASSERT_EQ(q.queue.Pop(head, q.buffer.data()), 3000);
    EXPECT_EQ(q.buffer[2999], 1);
    const std::vector<uint8_t> spare =
        q.queue.Push(Head('V', 0, false, 1, 10), std::vector<uint8_t>(10, 2), 0, q.cancel);
    EXPECT_TRUE(spare.empty());
    EXPECT_GE(spare.capacity(), 3000u);
    ASSERT_EQ(q.queue.Pop(head, q.buffer.data()), 10);
    EXPECT_EQ(head.nFrameNo, 1);
}

TEST(FrameQueue, TakeAllTakesEveryWaitingFrameAtOnceAndItsBuffersComeBack) {
    Queue q;
    q.Video(0, true, 0, 3000);
    q.Audio(1);
    q.Video(0, false, 1, 20);
    std::vector<FrameQueue::Taken> frames = {{}};  // emptied first
    q.queue.TakeAll(frames);
    ASSERT_EQ(frames.size(), 3u);
    EXPECT_EQ(frames[0].head.nFrameNo, 0);
    EXPECT_EQ(frames[0].payload, std::vector<uint8_t>(3000, 0));
    EXPECT_EQ(frames[1].head.cType, 'A');
    EXPECT_EQ(frames[2].payload, std::vector<uint8_t>(20, 1));
    EXPECT_EQ(q.queue.Count(), 0);
    q.queue.Recycle(frames);
    EXPECT_TRUE(frames.empty());
    const std::vector<uint8_t> spare =
        q.queue.Push(Head('V', 0, false, 2, 10), std::vector<uint8_t>(10, 2), 0, q.cancel);
    EXPECT_TRUE(spare.empty());
    EXPECT_GT(spare.capacity(), 0u);
    q.queue.TakeAll(frames);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].head.nFrameNo, 2);
}

// A burst's buffers all serve the next burst, within the bounds on what a queue keeps.
TEST(FrameQueue, ABurstsBuffersServeTheNextBurstWithinTheSpareBounds) {
    const struct {
        const char* what;
        int frames;
        std::size_t size_bytes;
        int reused;
    } cases[] = {
        {"16 channels and their audio", 17, 4000, 17},
        {"more than a burst", 40, 100, 32},
        {"key frames up to the total", 16, 200 * 1024, 5},
        {"a huge frame goes back to the allocator", 1, 300 * 1024, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Queue q({1000, 64 * 1024 * 1024});
        for (int n = 0; n < c.frames; ++n)
            q.Video(0, n == 0, n, c.size_bytes);
        std::vector<FrameQueue::Taken> frames;
        q.queue.TakeAll(frames);
        ASSERT_EQ(frames.size(), static_cast<std::size_t>(c.frames));
        q.queue.Recycle(frames);
        int reused = 0;
        for (int n = 0; n < c.frames; ++n) {
            reused += q.queue.Push(Head('V', 0, n == 0, n, 1), {0}, 0, q.cancel).capacity() > 0;
        }
        EXPECT_EQ(reused, c.reused);
    }
}

// The wait has no time-out: it ends on a frame, or on a wake-up (WakeAll, Clear) after the
// consumer's snapshot of Wakes, however early that came.
TEST(FrameQueue, WaitForFrameOrWakeEndsOnAFrameOrAWakeUpSinceTheSnapshot) {
    const struct {
        const char* what;
        std::function<void(Queue&)> event;
        bool frame_waits;
    } cases[] = {
        {"a frame",
         [](Queue& q) {
             q.Video(0, true, 0);
             q.queue.NotifyArrivals();
         },
         true},
        {"WakeAll", [](Queue& q) { q.queue.WakeAll(); }, false},
        {"Clear", [](Queue& q) { q.queue.Clear(); }, false},
    };
    for (const auto& c : cases) {
        for (const bool before_the_wait : {true, false}) {
            Queue q;
            const uint64_t seen = q.queue.Wakes();
            if (before_the_wait) c.event(q);
            std::thread event([&] {
                if (!before_the_wait) c.event(q);
            });
            EXPECT_EQ(q.queue.WaitForFrameOrWake(seen), c.frame_waits) << c.what;
            event.join();
        }
    }
}

}  // namespace
