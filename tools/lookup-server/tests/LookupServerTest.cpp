#include <gtest/gtest.h>
#include <sys/socket.h>

#include <chrono>
#include <cstring>
#include <thread>
#include <vector>

#include "common/lookup/LookupClient.h"
#include "tools/lookup-server/LookupServer.h"

namespace {

constexpr LookupTimeouts kShort{1000, 1000, 1000};

class LookupServerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(server_.Start("127.0.0.1", 0));
        server_.SetDevice("lobby", "192.168.1.50", 6036);
    }
    int Ask(const std::string& name) { return client_.Lookup("127.0.0.1", server_.Port(), name); }
    // A raw connection, for peers that misbehave.
    int Connect() {
        int fd = CLookupClient::kNoSocket;
        EXPECT_EQ(client_.ConnectTimed(fd, "127.0.0.1", server_.Port()), 1);
        return fd;
    }

    LookupServer server_;
    CLookupClient client_{kShort};
};

TEST_F(LookupServerTest, AnswersKnownOfflineUnknownAndRefused) {
    EXPECT_EQ(Ask("lobby"), 1);
    EXPECT_EQ(client_.Address(), "192.168.1.50");
    EXPECT_EQ(client_.Port(), 6036);
    EXPECT_EQ(Ask("Lobby"), -1010);

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
    server_.SetDevice(std::string(199, 'z'), "10.1.1.1", 1);
    EXPECT_EQ(Ask(std::string(199, 'z')), 1);
}

TEST_F(LookupServerTest, RequestsOtherThanLookupAreRefused) {
    int fd = Connect();
    _LOOKUP_MESSAGE_ relay{};
    relay.nCode = 103;
    std::strcpy(relay.szText, "lobby");
    LookupWire request, reply;
    CLookupClient::PackMessage(request, relay);
    ASSERT_EQ(client_.SendAll(fd, request.data(), 600), 600);
    ASSERT_EQ(client_.RecvAll(fd, reply.data(), 600), 600);
    std::string address;
    int port = 0;
    EXPECT_EQ(CLookupClient::ReadReply(reply, address, port), -1009);
    CLookupClient::CloseSocket(fd);
}

TEST_F(LookupServerTest, HostilePeersDoNotHoldUpOthers) {
    // One sends half a request and stalls, one leaves early, one never sends.
    int stalled = Connect();
    const LookupWire zeros{};
    ASSERT_EQ(::send(stalled, zeros.data(), 300, MSG_NOSIGNAL), 300);
    int quitter = Connect();
    ::send(quitter, zeros.data(), 10, MSG_NOSIGNAL);
    CLookupClient::CloseSocket(quitter);
    int silent = Connect();
    for (int i = 0; i < 20; ++i) {
        ASSERT_EQ(Ask("lobby"), 1);
    }
    CLookupClient::CloseSocket(stalled);
    CLookupClient::CloseSocket(silent);
}

TEST_F(LookupServerTest, IdleConnectionsGiveWayToHonestClients) {
    std::vector<int> idle;
    for (int i = 0; i < 500; ++i)
        idle.push_back(Connect());
    int answered = 0;
    for (int i = 0; i < 5; ++i)
        answered += Ask("lobby") == 1;
    EXPECT_EQ(answered, 5);
    for (int& fd : idle)
        CLookupClient::CloseSocket(fd);
}

TEST_F(LookupServerTest, ServesConcurrentClientsWhileTheTableChanges) {
    std::vector<std::thread> threads;
    std::vector<int> found(8, 0);
    for (int t = 0; t < 8; ++t) {
        threads.emplace_back([this, t, &found] {
            CLookupClient client(kShort);
            for (int i = 0; i < 10; ++i) {
                found[t] += client.Lookup("127.0.0.1", server_.Port(), "lobby") == 1 &&
                            client.Address() == "192.168.1.50";
            }
        });
    }
    for (int t = 0; t < 8; ++t) {
        server_.SetOffline("other" + std::to_string(t), true);
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(found, std::vector<int>(8, 10));
}

TEST_F(LookupServerTest, StopsPromptlyAndRestarts) {
    int silent = Connect();  // still open at stop
    const auto start = std::chrono::steady_clock::now();
    server_.Stop();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    EXPECT_EQ(server_.Port(), 0);
    CLookupClient::CloseSocket(silent);

    ASSERT_TRUE(server_.Start("127.0.0.1", 0));
    EXPECT_FALSE(server_.Start("127.0.0.1", 0));  // running already
    EXPECT_EQ(Ask("lobby"), 1);
}

TEST(LookupServerStart, RejectsBadAddressAndTakenPort) {
    LookupServer first;
    EXPECT_FALSE(first.Start("localhost", 0));
    ASSERT_TRUE(first.Start("127.0.0.1", 0));
    LookupServer second;
    EXPECT_FALSE(second.Start("127.0.0.1", first.Port()));
    EXPECT_EQ(second.Port(), 0);
}

}  // namespace
