#pragma once

#include <atomic>

#include "platform/records/DvrMachineInfo.h"

// The link state of a connection, written by the caller's threads and the receiver thread.
// A lost link stays lost until it is reset, so a late answer cannot hide the loss.
class LinkState {
public:
    int Get() const { return state_.load(std::memory_order_acquire); }
    void Reset() { state_.store(kLinkIdle, std::memory_order_release); }
    void MarkLost() { state_.store(kLinkLost, std::memory_order_release); }

    // Moves to next unless the link is lost.
    void SetUnlessLost(int next) {
        int current = Get();
        while (current != kLinkLost &&
               !state_.compare_exchange_weak(current, next, std::memory_order_acq_rel)) {
        }
    }
    // Moves from expected to next; false when the state was something else.
    bool Change(int expected, int next) {
        return state_.compare_exchange_strong(expected, next, std::memory_order_acq_rel);
    }

private:
    std::atomic<int> state_{kLinkIdle};
};
