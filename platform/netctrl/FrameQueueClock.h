#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

// The time a FrameQueue's waits are measured on: the steady clock, or a test's own clock that
// moves only when told.
class FrameQueueClock {
public:
    using TimePoint = std::chrono::steady_clock::time_point;

    virtual ~FrameQueueClock() = default;
    virtual TimePoint Now() = 0;
    // Waits on condition (lock held) until it is notified or deadline has passed on this clock;
    // may return early, so callers check again.
    virtual void WaitUntil(std::condition_variable& condition, std::unique_lock<std::mutex>& lock,
                           TimePoint deadline) = 0;

    // The steady clock, shared by every queue that is given none.
    static FrameQueueClock& Steady();
};
