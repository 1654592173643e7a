// A stop, log-out or reset cancels every log-in already under way: one stuck connecting, and
// one still waiting for its turn, which must not start afterwards on a stopped client.
#include <gtest/gtest.h>

#include <sys/types.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <functional>
#include <string>
#include <thread>

#include "platform/net/tests/FullListener.h"
#include "platform/netctrl/NetCtrl.h"
#include "platform/netctrl/tests/NetTestSupport.h"
#include "platform/netctrl/tests/ScriptedRecorder.h"

namespace {

NetTimeouts SlowConnect() {
    NetTimeouts timeouts = QuickTimeouts();
    timeouts.connect_ms = 8000;
    return timeouts;
}

struct LogIn {
    std::atomic<pid_t> thread{0};
    std::atomic<bool> done{false};
    std::atomic<int> result{0};
    double seconds = 0;
};

std::thread StartLogIn(NetCtrl& net, uint16_t port, LogIn& out) {
    return std::thread([&net, port, &out] {
        out.thread = ::gettid();
        const auto start = std::chrono::steady_clock::now();
        out.result = net.ConnectToServer("127.0.0.1", port, "admin", "pw");
        out.seconds = SecondsSince(start);
        out.done = true;
    });
}

// The log-in's thread asleep in the kernel: inside the call, stuck connecting or waiting for the
// call lock. Nothing of the call shows from outside, so the thread's own state tells.
bool Asleep(const LogIn& login) {
    const pid_t thread = login.thread.load();
    if (thread == 0) return false;
    std::ifstream stat("/proc/self/task/" + std::to_string(thread) + "/stat");
    std::string line;
    std::getline(stat, line);
    const std::size_t name_end = line.rfind(')');
    return name_end != std::string::npos && name_end + 2 < line.size() && line[name_end + 2] == 'S';
}

void CancelsBothLogIns(const std::function<void(NetCtrl&)>& abort) {
    FullListener hanging;
    ScriptedRecorder recorder([](ScriptedPeer& peer) {
        if (peer.Handshake()) peer.Idle(2000);
    });
    NetCtrl net(SlowConnect());
    net.InitNetWork();
    LogIn connecting;
    std::thread first = StartLogIn(net, hanging.Port(), connecting);
    EXPECT_TRUE(PollUntil([&] { return Asleep(connecting); }));
    LogIn waiting;  // blocked behind the first until it ends
    std::thread second = StartLogIn(net, static_cast<uint16_t>(recorder.Port()), waiting);
    EXPECT_TRUE(PollUntil([&] { return Asleep(waiting); }));
    EXPECT_FALSE(connecting.done);
    EXPECT_FALSE(waiting.done);

    abort(net);
    first.join();
    second.join();
    EXPECT_EQ(connecting.result, -1);
    EXPECT_LT(connecting.seconds, 4.0) << "the connect ran to its time-out";
    EXPECT_EQ(waiting.result, -1);
    EXPECT_EQ(net.LastError(), "log-in cancelled");
    EXPECT_EQ(recorder.Connections(), 0);
    EXPECT_EQ(LinkStateOf(net), kLinkIdle);
}

}  // namespace

TEST(NetCtrlLogInAbort, StopDisConnectAndResetCancelLogInsUnderWay) {
    CancelsBothLogIns([](NetCtrl& net) { net.StopNetWork(); });
    CancelsBothLogIns([](NetCtrl& net) { net.DisConnect(); });
    CancelsBothLogIns([](NetCtrl& net) { net.ResetNetWork(); });
}

TEST(NetCtrlLogInAbort, ALogInAfterTheAbortProceeds) {
    // Each link ends at the client's log-out, so the next log-in is accepted at once.
    ScriptedRecorder recorder([](ScriptedPeer& peer) {
        netproto::Message logout;
        if (peer.Handshake()) peer.Read(logout);
    });
    NetCtrl net(QuickTimeouts());
    net.InitNetWork();
    net.DisConnect();
    EXPECT_EQ(net.ConnectToServer("127.0.0.1", recorder.Port(), "admin", "pw"), 0)
        << net.LastError();
    EXPECT_EQ(LinkStateOf(net), kLinkLoggedIn);
    net.StopNetWork();
    EXPECT_EQ(net.ConnectToServer("127.0.0.1", recorder.Port(), "admin", "pw"), -1);
    net.InitNetWork();
    EXPECT_EQ(net.ConnectToServer("127.0.0.1", recorder.Port(), "admin", "pw"), 0)
        << net.LastError();
}
