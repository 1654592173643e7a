#pragma once

#include <mutex>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

// The manager's critical section. A draw holds it for a few microseconds while the frame
// threads, woken by bursts that arrive together, queue for it; a waiter spins about that long
// before it sleeps, since a sleep and a wake-up cost more than the wait.
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
