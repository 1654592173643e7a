#include <dirent.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <future>
#include <string>

#include "common/lookup/LookupClient.h"
#include "common/lookup/tests/ScriptedPeer.h"
#include "platform/net/ListenSocket.h"
#include "platform/net/tests/FullListener.h"

namespace {

using Clock = std::chrono::steady_clock;
using Action = ScriptedPeer::Action;

// Short limits keep the suite fast; one test waits the protocol's own 5 seconds.
constexpr LookupTimeouts kShort{400, 400, 400};

std::vector<uint8_t> Reply(int32_t code, const char* address, int32_t port) {
    _LOOKUP_MESSAGE_ record{};
    record.nCode = code;
    std::strcpy(record.szText, address);
    record.nPort = port;
    LookupWire wire;
    CLookupClient::PackMessage(wire, record);
    return {wire.begin(), wire.end()};
}

long ElapsedMs(Clock::time_point since) {
    return static_cast<long>(
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - since).count());
}

int OpenDescriptors() {
    int count = 0;
    DIR* folder = ::opendir("/proc/self/fd");
    while (::readdir(folder) != nullptr) {
        ++count;
    }
    ::closedir(folder);
    return count;
}

// A client that has already found "known" at 10.9.8.7:1234.
class LookupClientTest : public ::testing::Test {
protected:
    void SetUp() override {
        ScriptedPeer peer(Action::kReply, Reply(101, "10.9.8.7", 1234));
        ASSERT_EQ(Ask(peer.Port()), 1);
    }
    int Ask(int port, const std::string& name = "known") {
        return client_.Lookup("127.0.0.1", port, name);
    }
    void ExpectUnchanged() {
        EXPECT_EQ(client_.Address(), "10.9.8.7");
        EXPECT_EQ(client_.Port(), 1234);
    }

    CLookupClient client_{kShort};
};

TEST_F(LookupClientTest, FoundSendsTheRequestAndTakesAddressAndPort) {
    ScriptedPeer peer(Action::kReply, Reply(101, "192.168.0.44", 37777));
    EXPECT_EQ(Ask(peer.Port(), "front-door"), 1);
    EXPECT_EQ(client_.Address(), "192.168.0.44");
    EXPECT_EQ(client_.Port(), 37777);

    std::vector<uint8_t> expected(600, 0);
    expected[0] = 101;
    std::memcpy(&expected[4], "front-door", 10);
    std::memcpy(&expected[204], "pc", 2);
    EXPECT_EQ(peer.Received(), expected);
}

TEST_F(LookupClientTest, AnyOtherCodeCountsAsFoundEvenWithAnEmptyAddress) {
    for (int32_t code : {0, 101, -1, 5}) {
        ScriptedPeer peer(Action::kReply, Reply(code, "", 0));
        EXPECT_EQ(Ask(peer.Port()), 1) << code;
        EXPECT_EQ(client_.Address(), "");
        EXPECT_EQ(client_.Port(), 0);
    }
}

TEST_F(LookupClientTest, RefusedAndNotOnlineKeepTheLastAnswer) {
    for (int32_t code : {-1009, -1010}) {
        ScriptedPeer peer(Action::kReply, Reply(code, "1.1.1.1", 9));
        EXPECT_EQ(Ask(peer.Port()), code);
        ExpectUnchanged();
    }
}

TEST_F(LookupClientTest, ReplyCutShortFails) {
    std::vector<uint8_t> reply = Reply(101, "1.1.1.1", 9);
    reply.resize(300);
    ScriptedPeer peer(Action::kReply, reply);
    EXPECT_EQ(Ask(peer.Port()), -1);
    ExpectUnchanged();
}

TEST_F(LookupClientTest, SilentServerFailsAfterTheReceiveTimeout) {
    ScriptedPeer peer(Action::kNeverAnswer);
    const auto start = Clock::now();
    EXPECT_EQ(Ask(peer.Port()), -1);
    EXPECT_GE(ElapsedMs(start), 350);
    EXPECT_LT(ElapsedMs(start), 3000);
    ExpectUnchanged();
}

TEST(LookupClientTimeouts, SilentServerFailsAfterFiveSecondsByDefault) {
    ScriptedPeer peer(Action::kNeverAnswer);
    CLookupClient client;
    const auto start = Clock::now();
    EXPECT_EQ(client.Lookup("127.0.0.1", peer.Port(), "known"), -1);
    EXPECT_GE(ElapsedMs(start), 4900);
    EXPECT_LT(ElapsedMs(start), 8000);
}

TEST_F(LookupClientTest, UnreachablePortOrBadServerTextFailsAtOnce) {
    int closed_port = 0;
    {
        ListenSocket gone;
        gone.OpenLoopback();
        closed_port = gone.Port();
    }
    const auto start = Clock::now();
    EXPECT_EQ(Ask(closed_port), -1);
    EXPECT_EQ(client_.Lookup("not an address", 10088, "known"), -1);
    EXPECT_EQ(Ask(70000), -1);
    EXPECT_LT(ElapsedMs(start), 1000);
    ExpectUnchanged();
}

TEST_F(LookupClientTest, ConnectWaitEndsAtItsTimeout) {
    FullListener listener;
    const auto start = Clock::now();
    EXPECT_EQ(Ask(listener.Port()), -1);
    EXPECT_GE(ElapsedMs(start), 350);
    EXPECT_LT(ElapsedMs(start), 3000);
    ExpectUnchanged();
}

TEST_F(LookupClientTest, SendToAResetPeerFailsWithoutSigpipe) {
    ListenSocket listener;
    listener.OpenLoopback();
    int socket_fd = CLookupClient::kNoSocket;
    ASSERT_EQ(client_.ConnectTimed(socket_fd, "127.0.0.1", listener.Port()), 1);
    const int accepted = listener.Accept(2000);
    ASSERT_GE(accepted, 0);
    const linger abort_close{1, 0};
    ::setsockopt(accepted, SOL_SOCKET, SO_LINGER, &abort_close, sizeof abort_close);
    ::close(accepted);
    pollfd entry{socket_fd, POLLIN, 0};  // the reset has arrived
    ASSERT_EQ(::poll(&entry, 1, 2000), 1);

    std::vector<uint8_t> data(600, 1);
    int result = 0;
    for (int i = 0; i < 3 && result >= 0; ++i) {
        result = client_.SendAll(socket_fd, data.data(), static_cast<int>(data.size()));
    }
    EXPECT_EQ(result, -1);
    CLookupClient::CloseSocket(socket_fd);
    EXPECT_EQ(socket_fd, CLookupClient::kNoSocket);
    EXPECT_EQ(client_.SendAll(socket_fd, data.data(), 600), -1);
    EXPECT_EQ(client_.RecvAll(socket_fd, data.data(), 600), -1);
}

TEST_F(LookupClientTest, NameOf199BytesFillsItsField) {
    const std::string name(199, 'n');
    ScriptedPeer peer(Action::kReply, Reply(101, "10.0.0.1", 80));
    EXPECT_EQ(Ask(peer.Port(), name), 1);
    const std::vector<uint8_t>& request = peer.Received();
    ASSERT_EQ(request.size(), 600u);
    EXPECT_EQ(std::string(request.begin() + 4, request.begin() + 203), name);
    EXPECT_EQ(request[203], 0);
    EXPECT_EQ(request[204], 'p');
}

TEST_F(LookupClientTest, NameOf200BytesIsRefusedBeforeConnecting) {
    ListenSocket listener;
    listener.OpenLoopback();
    EXPECT_EQ(Ask(listener.Port(), std::string(200, 'n')), -1);
    EXPECT_EQ(::accept(listener.Fd(), nullptr, nullptr), -1);  // nobody knocked
    EXPECT_EQ(errno, EAGAIN);
    ExpectUnchanged();
}

TEST_F(LookupClientTest, EveryPathClosesItsSocketWithoutWaiting) {
    CLookupClient patient;  // protocol time-outs: no failure below may wait for them
    const int before = OpenDescriptors();
    const auto start = Clock::now();
    for (const auto& reply : {Reply(-1010, "", 0), Reply(101, "1.2.3.4", 5)}) {
        ScriptedPeer peer(Action::kReply, reply);
        patient.Lookup("127.0.0.1", peer.Port(), "known");
    }
    {
        ScriptedPeer peer(Action::kReset);
        EXPECT_EQ(patient.Lookup("127.0.0.1", peer.Port(), "known"), -1);
    }
    patient.Lookup("bad", 1, "known");
    EXPECT_LT(ElapsedMs(start), 2000);
    EXPECT_EQ(OpenDescriptors(), before);
}

TEST(LookupClientAbort, AbortEndsTheExchangeInProgressAndEveryLaterOne) {
    CLookupClient client({20000, 20000, 20000});
    ListenSocket listener;
    listener.OpenLoopback();
    auto asked = std::async(std::launch::async,
                            [&] { return client.Lookup("127.0.0.1", listener.Port(), "known"); });
    // Once the whole request has arrived the client waits for the reply.
    const int peer = listener.Accept(10000);
    ASSERT_GE(peer, 0);
    uint8_t request[kLookupMessageBytes];
    std::size_t got = 0;
    while (got < sizeof request) {
        const ssize_t n = ::recv(peer, request + got, sizeof request - got, 0);
        ASSERT_GT(n, 0);
        got += static_cast<std::size_t>(n);
    }
    client.Abort();
    ASSERT_EQ(asked.wait_for(std::chrono::seconds(10)), std::future_status::ready)
        << "the abort did not end the wait for the reply";
    EXPECT_EQ(asked.get(), -1);
    ::close(peer);

    ScriptedPeer willing(Action::kReply, Reply(101, "1.2.3.4", 5));
    EXPECT_EQ(client.Lookup("127.0.0.1", willing.Port(), "known"), -1);
    FullListener full;
    EXPECT_EQ(client.Lookup("127.0.0.1", full.Port(), "known"), -1);
}

TEST(LookupClientStartup, StartupAndCleanupKeepTheirResults) {
    CLookupClient client;
    EXPECT_EQ(client.Started(), 0);
    EXPECT_EQ(client.Startup(), 1);
    EXPECT_EQ(client.Started(), 1);
    client.Cleanup();
    EXPECT_EQ(client.Started(), 0);
}

}  // namespace
