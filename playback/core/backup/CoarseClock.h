#pragma once

#include <time.h>

#include <chrono>

// Milliseconds of the monotonic clock as of the last scheduler tick (a few milliseconds
// behind): a time stamp per frame for measures of a second and more, at a fraction of the
// cost of a precise reading.
inline std::chrono::milliseconds CoarseMilliseconds() {
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC_COARSE, &now);
    return std::chrono::seconds(now.tv_sec) + std::chrono::duration_cast<std::chrono::milliseconds>(
                                                  std::chrono::nanoseconds(now.tv_nsec));
}
