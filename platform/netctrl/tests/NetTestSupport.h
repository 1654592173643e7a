#pragma once

#include <chrono>
#include <functional>
#include <thread>

#include "platform/netctrl/NetCtrl.h"
#include "tests/support/PollUntil.h"

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

inline int LinkStateOf(NetCtrl& net) { return net.GetMachineInfe().nLinkState; }

inline double SecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}
