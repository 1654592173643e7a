#pragma once

#include <chrono>
#include <functional>
#include <thread>

// How long a test waits for what is bound to happen. Generous: the tests share a loaded machine
// and run under the sanitizers too; a condition that holds ends the wait at once, so only a test
// that failed waits this long.
inline constexpr int kPollLimit_ms = 60000;

// Polls done() until it holds or limit_ms passes; says whether it held. For what another thread
// or process does, where there is no event of the test's own to wait on.
inline bool PollUntil(const std::function<bool()>& done, int limit_ms = kPollLimit_ms) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(limit_ms);
    while (!done()) {
        if (std::chrono::steady_clock::now() >= deadline) return done();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}
