#include <arpa/inet.h>
#include <dirent.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <string>

#include "LookupClient.h"
#include "ScriptedPeer.h"

namespace {

using Clock = std::chrono::steady_clock;
using Action = ScriptedPeer::Action;

// Short limits keep the suite fast; one test below waits the protocol's own 5 seconds.
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
    while (folder != nullptr && ::readdir(folder) != nullptr) {
        ++count;
    }
    if (folder != nullptr) {
        ::closedir(folder);
    }
    return count;
}

// A client that has already found "known" at 10.9.8.7:1234.
class LookupClientTest : public ::testing::Test {
protected:
    void SetUp() override {
        ScriptedPeer peer(Action::kReply, Reply(101, "10.9.8.7", 1234));
        ASSERT_EQ(client_.Lookup("127.0.0.1", peer.Port(), "known"), 1);
    }
    void ExpectUnchanged() {
        EXPECT_EQ(client_.Address(), "10.9.8.7");
        EXPECT_EQ(client_.Port(), 1234);
    }

    CLookupClient client_{kShort};
};

TEST_F(LookupClientTest, FoundSendsTheRequestAndTakesAddressAndPort) {
    ScriptedPeer peer(Action::kReply, Reply(101, "192.168.0.44", 37777));
    EXPECT_EQ(client_.Lookup("127.0.0.1", peer.Port(), "front-door"), 1);
    EXPECT_EQ(client_.Address(), "192.168.0.44");
    EXPECT_EQ(client_.Port(), 37777);

    const std::vector<uint8_t> request = peer.Received();
    ASSERT_EQ(request.size(), 600u);
    const std::vector<uint8_t> expected = [] {
        std::vector<uint8_t> bytes(600, 0);
        bytes[0] = 101;
        std::memcpy(&bytes[4], "front-door", 10);
        std::memcpy(&bytes[204], "pc", 2);
        return bytes;
    }();
    EXPECT_EQ(request, expected);
}

TEST_F(LookupClientTest, AnyOtherCodeCountsAsFoundEvenWithAnEmptyAddress) {
    for (int32_t code : {0, 101, 5}) {
        ScriptedPeer peer(Action::kReply, Reply(code, "", 0));
        EXPECT_EQ(client_.Lookup("127.0.0.1", peer.Port(), "known"), 1) << code;
        EXPECT_EQ(client_.Address(), "");
        EXPECT_EQ(client_.Port(), 0);
    }
}

TEST_F(LookupClientTest, RefusedAndNotOnlineKeepTheLastAnswer) {
    for (int32_t code : {-1009, -1010}) {
        ScriptedPeer peer(Action::kReply, Reply(code, "1.1.1.1", 9));
        EXPECT_EQ(client_.Lookup("127.0.0.1", peer.Port(), "known"), code);
        ExpectUnchanged();
    }
}

TEST_F(LookupClientTest, ReplyCutShortFails) {
    std::vector<uint8_t> reply = Reply(101, "1.1.1.1", 9);
    reply.resize(300);
    ScriptedPeer peer(Action::kReply, reply);
    EXPECT_EQ(client_.Lookup("127.0.0.1", peer.Port(), "known"), -1);
    ExpectUnchanged();
}

TEST_F(LookupClientTest, SilentServerFailsAfterTheReceiveTimeout) {
    ScriptedPeer peer(Action::kNeverAnswer);
    const auto start = Clock::now();
    EXPECT_EQ(client_.Lookup("127.0.0.1", peer.Port(), "known"), -1);
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

TEST_F(LookupClientTest, UnreachablePortOrBadServerTextFails) {
    int port = 0;
    {
        ScriptedPeer closed(Action::kReset);  // a free port, closed again below
        port = closed.Port();
    }
    const auto start = Clock::now();
    EXPECT_EQ(client_.Lookup("127.0.0.1", port, "known"), -1);
    EXPECT_LT(ElapsedMs(start), 1000);
    EXPECT_EQ(client_.Lookup("not an address", 10088, "known"), -1);
    EXPECT_EQ(client_.Lookup("127.0.0.1", 70000, "known"), -1);
    ExpectUnchanged();
}

TEST_F(LookupClientTest, ConnectWaitEndsAtItsTimeout) {
    // A listener whose queue is full drops further connection attempts unanswered.
    const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(::listen(listener, 0), 0);
    ASSERT_EQ(::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &size), 0);
    std::vector<int> fillers;
    for (int i = 0; i < 4; ++i) {
        const int filler = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
        ::connect(filler, reinterpret_cast<sockaddr*>(&address), sizeof address);
        fillers.push_back(filler);
    }

    const auto start = Clock::now();
    EXPECT_EQ(client_.Lookup("127.0.0.1", ntohs(address.sin_port), "known"), -1);
    EXPECT_GE(ElapsedMs(start), 350);
    EXPECT_LT(ElapsedMs(start), 3000);
    ExpectUnchanged();
    for (int filler : fillers) {
        ::close(filler);
    }
    ::close(listener);
}

TEST_F(LookupClientTest, ResetByPeerFailsWithoutWaiting) {
    ScriptedPeer peer(Action::kReset);
    CLookupClient patient;  // protocol time-outs: a failure must not wait for them
    const auto start = Clock::now();
    EXPECT_EQ(patient.Lookup("127.0.0.1", peer.Port(), "known"), -1);
    EXPECT_LT(ElapsedMs(start), 2000);
}

TEST_F(LookupClientTest, SendToAResetPeerFailsAndDoesNotRaiseSigpipe) {
    ScriptedPeer peer(Action::kReset);
    int socket_fd = CLookupClient::kNoSocket;
    ASSERT_EQ(client_.ConnectTimed(socket_fd, "127.0.0.1", peer.Port()), 1);
    // Wait for the reset to arrive.
    pollfd entry{socket_fd, POLLIN, 0};
    ASSERT_EQ(::poll(&entry, 1, 2000), 1);
    std::vector<uint8_t> data(600, 1);
    int result = 0;
    for (int i = 0; i < 3 && result >= 0; ++i) {
        result = client_.SendAll(socket_fd, data.data(), static_cast<int>(data.size()));
    }
    EXPECT_EQ(result, -1);
    CLookupClient::CloseSocket(socket_fd);
    EXPECT_EQ(socket_fd, CLookupClient::kNoSocket);
    CLookupClient::CloseSocket(socket_fd);  // closing twice is harmless

    EXPECT_EQ(client_.SendAll(socket_fd, data.data(), 600), -1);
    EXPECT_EQ(client_.RecvAll(socket_fd, data.data(), 600), -1);
}

TEST_F(LookupClientTest, ZeroLengthTransfersReturnAtOnce) {
    ScriptedPeer peer(Action::kNeverAnswer);
    int socket_fd = CLookupClient::kNoSocket;
    ASSERT_EQ(client_.ConnectTimed(socket_fd, "127.0.0.1", peer.Port()), 1);
    uint8_t byte = 0;
    EXPECT_EQ(client_.SendAll(socket_fd, &byte, 0), 0);
    EXPECT_EQ(client_.RecvAll(socket_fd, &byte, 0), 0);
    CLookupClient::CloseSocket(socket_fd);
}

TEST_F(LookupClientTest, NameOf199BytesFillsItsField) {
    const std::string name(199, 'n');
    ScriptedPeer peer(Action::kReply, Reply(101, "10.0.0.1", 80));
    EXPECT_EQ(client_.Lookup("127.0.0.1", peer.Port(), name), 1);
    const std::vector<uint8_t> request = peer.Received();
    ASSERT_EQ(request.size(), 600u);
    EXPECT_EQ(std::string(request.begin() + 4, request.begin() + 203), name);
    EXPECT_EQ(request[203], 0);
    EXPECT_EQ(request[204], 'p');
}

TEST_F(LookupClientTest, NameOf200BytesIsRefusedBeforeConnecting) {
    const int listener = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(::listen(listener, 4), 0);
    ASSERT_EQ(::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &size), 0);

    EXPECT_EQ(client_.Lookup("127.0.0.1", ntohs(address.sin_port), std::string(200, 'n')), -1);
    EXPECT_EQ(::accept(listener, nullptr, nullptr), -1);  // nobody knocked
    EXPECT_EQ(errno, EAGAIN);
    ExpectUnchanged();
    ::close(listener);
}

TEST_F(LookupClientTest, EveryPathClosesItsSocket) {
    const int before = OpenDescriptors();
    {
        ScriptedPeer peer(Action::kReply, Reply(-1010, "", 0));
        client_.Lookup("127.0.0.1", peer.Port(), "known");
    }
    {
        ScriptedPeer peer(Action::kReply, Reply(101, "1.2.3.4", 5));
        client_.Lookup("127.0.0.1", peer.Port(), "known");
    }
    {
        ScriptedPeer peer(Action::kReset);
        client_.Lookup("127.0.0.1", peer.Port(), "known");
    }
    client_.Lookup("bad", 1, "known");
    EXPECT_EQ(OpenDescriptors(), before);
}

TEST(LookupClientStartup, StartupAndCleanupKeepTheirResults) {
    CLookupClient client;
    EXPECT_EQ(client.Started(), 0);
    EXPECT_EQ(client.Address(), "");
    EXPECT_EQ(client.Startup(), 1);
    EXPECT_EQ(client.Started(), 1);
    client.Cleanup();
    EXPECT_EQ(client.Started(), 0);
    client.Cleanup();
    EXPECT_EQ(client.Started(), 0);
}

}  // namespace
