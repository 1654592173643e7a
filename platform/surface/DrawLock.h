#pragma once

#include <mutex>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

// A lock held for a few microseconds by frame threads that bursts arriving together wake at
// once: a waiter spins about that long before it sleeps, since a sleep and a wake-up cost more
// than the wait. The video surface copies each draw in under one; the live engine keeps decoder
// opens apart from each other and from a slot's start with another.
class CDrawLock {
public:
    void lock() {
        for (int i = 0; i < kSpins; ++i) {
            if (mutex_.try_lock()) return;
#if defined(__x86_64__) || defined(__i386__)
            _mm_pause();
#endif
        }
        mutex_.lock();
    }
    bool try_lock() { return mutex_.try_lock(); }
    void unlock() { mutex_.unlock(); }

private:
    static constexpr int kSpins = 200;  // a few microseconds of pauses
    std::mutex mutex_;
};
