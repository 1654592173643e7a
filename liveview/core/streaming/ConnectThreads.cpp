#include "liveview/core/streaming/ConnectThreads.h"

#include <system_error>

CConnectThreads::~CConnectThreads() { JoinAll(); }

bool CConnectThreads::Start(int slot, std::function<void()> body) {
    if (!IsSlot(slot) || threads_[slot].joinable()) return false;
    busy_[slot].store(1, std::memory_order_release);
    try {
        threads_[slot] = std::thread([this, slot, body = std::move(body)] {
            body();
            busy_[slot].store(0, std::memory_order_release);
        });
    } catch (const std::system_error&) {
        busy_[slot].store(0, std::memory_order_release);
        return false;
    }
    return true;
}

bool CConnectThreads::HasThread(int slot) const {
    return IsSlot(slot) && threads_[slot].joinable();
}

bool CConnectThreads::IsBusy(int slot) const {
    return IsSlot(slot) && busy_[slot].load(std::memory_order_acquire) != 0;
}

bool CConnectThreads::Watch(int slot) {
    if (!IsSlot(slot)) return true;
    if (threads_[slot].joinable() && !IsBusy(slot)) threads_[slot].join();
    return !threads_[slot].joinable();
}

void CConnectThreads::JoinAll() {
    for (std::thread& thread : threads_) {
        if (thread.joinable()) thread.join();
    }
}
