#pragma once

#include <array>
#include <atomic>
#include <functional>
#include <thread>

// The main window's connect threads, one at most per device slot. A slot's busy flag is 1 from
// the thread's start until its body has returned; the window joins a thread only after that,
// from its watch timer, so it never waits on a log-in. Every member but IsBusy belongs to the
// window thread.
class CConnectThreads {
public:
    static constexpr int kSlots = 64;

    CConnectThreads() = default;
    ~CConnectThreads();
    CConnectThreads(const CConnectThreads&) = delete;
    CConnectThreads& operator=(const CConnectThreads&) = delete;

    // Runs body on a new thread for the slot. false, and nothing runs, when the slot is out of
    // range, still has a thread, or no thread can be made.
    bool Start(int slot, std::function<void()> body);
    bool HasThread(int slot) const;
    bool IsBusy(int slot) const;
    // The watch: joins the slot's thread once its body has returned. true when the slot has
    // no thread afterwards (the watch can stop).
    bool Watch(int slot);
    // Joins every thread; for shutdown, after whatever they wait on has been cut short.
    void JoinAll();

private:
    static bool IsSlot(int slot) { return slot >= 0 && slot < kSlots; }

    std::array<std::thread, kSlots> threads_;
    std::array<std::atomic<int>, kSlots> busy_{};
};
