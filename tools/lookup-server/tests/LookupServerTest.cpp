#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <thread>
#include <vector>

#include "LookupClient.h"
#include "LookupServer.h"

namespace {

constexpr LookupTimeouts kShort{1000, 1000, 1000};

class LookupServerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(server_.Start("127.0.0.1", 0));
        ASSERT_NE(server_.Port(), 0);
        server_.SetDevice("lobby", "192.168.1.50", 6036);
    }
    int Ask(const std::string& name) { return client_.Lookup("127.0.0.1", server_.Port(), name); }

    int Connect() {
        const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(server_.Port());
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        EXPECT_EQ(::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        return fd;
    }

    LookupServer server_;
    CLookupClient client_{kShort};
};

TEST_F(LookupServerTest, AnswersKnownOfflineUnknownAndRefused) {
    EXPECT_EQ(Ask("lobby"), 1);
    EXPECT_EQ(client_.Address(), "192.168.1.50");
    EXPECT_EQ(client_.Port(), 6036);

    EXPECT_EQ(Ask("nobody"), -1010);
    server_.SetOffline("lobby", true);
    EXPECT_EQ(Ask("lobby"), -1010);
    server_.SetOffline("lobby", false);
    server_.SetDevice("lobby", "10.0.0.2", 7000);  // moved
    EXPECT_EQ(Ask("lobby"), 1);
    EXPECT_EQ(client_.Address(), "10.0.0.2");

    server_.SetRefuseAll(true);
    EXPECT_EQ(Ask("lobby"), -1009);
    EXPECT_EQ(Ask("nobody"), -1009);
    server_.SetRefuseAll(false);
    EXPECT_EQ(Ask("lobby"), 1);
}

TEST_F(LookupServerTest, NamesAreMatchedByteForByteUpTo199Bytes) {
    const std::string longest(199, 'z');
    server_.SetDevice(longest, "10.1.1.1", 1);
    server_.SetDevice("Lobby", "10.2.2.2", 2);
    EXPECT_EQ(Ask(longest), 1);
    EXPECT_EQ(client_.Address(), "10.1.1.1");
    EXPECT_EQ(Ask("Lobby"), 1);
    EXPECT_EQ(client_.Address(), "10.2.2.2");
    EXPECT_EQ(Ask("LOBBY"), -1010);
}

TEST_F(LookupServerTest, RequestsOtherThanLookupAreRefused) {
    const int fd = Connect();
    LookupWire request{};
    request[0] = 103;  // a relay request this server does not speak
    std::memcpy(&request[4], "lobby", 5);
    ASSERT_EQ(::send(fd, request.data(), request.size(), MSG_NOSIGNAL), 600);
    LookupWire reply{};
    std::size_t got = 0;
    while (got < reply.size()) {
        const ssize_t n = ::recv(fd, reply.data() + got, reply.size() - got, 0);
        ASSERT_GT(n, 0);
        got += static_cast<std::size_t>(n);
    }
    std::string address;
    int port = 0;
    EXPECT_EQ(CLookupClient::ReadReply(reply, address, port), -1009);
    ::close(fd);
}

TEST_F(LookupServerTest, HostilePeersDoNotHoldUpOthers) {
    // One peer sends half a request and stalls, another closes early, a third never sends.
    const int stalled = Connect();
    LookupWire half{};
    ASSERT_EQ(::send(stalled, half.data(), 300, MSG_NOSIGNAL), 300);
    const int quitter = Connect();
    ::send(quitter, half.data(), 10, MSG_NOSIGNAL);
    ::close(quitter);
    const int silent = Connect();

    for (int i = 0; i < 20; ++i) {
        ASSERT_EQ(Ask("lobby"), 1);
    }
    ::close(stalled);
    ::close(silent);
}

TEST_F(LookupServerTest, ServesConcurrentClients) {
    std::vector<std::thread> threads;
    std::vector<int> found(8, 0);
    for (int t = 0; t < 8; ++t) {
        threads.emplace_back([this, t, &found] {
            CLookupClient client(kShort);
            for (int i = 0; i < 10; ++i) {
                if (client.Lookup("127.0.0.1", server_.Port(), "lobby") == 1 &&
                    client.Address() == "192.168.1.50") {
                    ++found[t];
                }
            }
        });
    }
    for (int t = 0; t < 8; ++t) {
        server_.SetOffline("other" + std::to_string(t), true);  // changes while serving
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(found, std::vector<int>(8, 10));
}

TEST_F(LookupServerTest, StopsPromptlyAndRestarts) {
    const int silent = Connect();  // a connection still open at stop
    const auto start = std::chrono::steady_clock::now();
    server_.Stop();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    EXPECT_EQ(server_.Port(), 0);
    server_.Stop();
    ::close(silent);

    ASSERT_TRUE(server_.Start("127.0.0.1", 0));
    EXPECT_FALSE(server_.Start("127.0.0.1", 0));  // running already
    EXPECT_EQ(Ask("lobby"), 1);
}

TEST(LookupServerStart, RejectsBadAddressAndTakenPort) {
    LookupServer first;
    EXPECT_FALSE(first.Start("localhost", 0));
    EXPECT_FALSE(first.Start("300.1.1.1", 0));
    ASSERT_TRUE(first.Start("127.0.0.1", 0));
    LookupServer second;
    EXPECT_FALSE(second.Start("127.0.0.1", first.Port()));
    EXPECT_EQ(second.Port(), 0);
}

}  // namespace
