#pragma once

#include <chrono>
#include <functional>
#include <thread>

#include "platform/netctrl/NetCtrl.h"

// Short time-outs, so the failure cases of a test take a second, not a minute.
inline NetTimeouts QuickTimeouts() {
    NetTimeouts t;
    t.connect_ms = 1000;
    t.exchange_ms = 500;
    t.logout_ms = 200;
    t.keepalive_ms = 200;
    t.silence_ms = 1000;
    t.frame_wait_ms = 500;
    return t;
}

// Polls until done() holds or timeout_ms passes; returns done().
inline bool WaitUntil(const std::function<bool()>& done, int timeout_ms = 20000) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

inline int LinkStateOf(NetCtrl& net) { return net.GetMachineInfe().nLinkState; }

inline double SecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}
