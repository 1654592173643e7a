#include "platform/netctrl/FrameQueueClock.h"

namespace {

class SteadyClock final : public FrameQueueClock {
public:
    TimePoint Now() override { return std::chrono::steady_clock::now(); }
    void WaitUntil(std::condition_variable& condition, std::unique_lock<std::mutex>& lock,
                   TimePoint deadline) override {
        condition.wait_until(lock, deadline);
    }
};

}  // namespace

FrameQueueClock& FrameQueueClock::Steady() {
    static SteadyClock clock;
    return clock;
}
