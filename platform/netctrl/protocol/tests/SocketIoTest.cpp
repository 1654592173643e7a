#include "platform/netctrl/protocol/SocketIo.h"

#include <unistd.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/net/ListenSocket.h"

using namespace netproto;

namespace {

// A loopback listener on a free port, and the server end of one accepted connection.
class Loopback {
public:
    Loopback() {
        listener_.OpenLoopback(4);
        std::string error;
        client_ = ConnectTcp("127.0.0.1", listener_.Port(), 2000, error);
        server_ = listener_.Accept(2000);
    }
    ~Loopback() {
        for (int fd : {client_, server_}) {
            if (fd >= 0) {
                ::close(fd);
            }
        }
    }
    int Client() const { return client_; }

private:
    ListenSocket listener_;
    int client_ = -1;
    int server_ = -1;
};

int UnusedPort() {
    ListenSocket listener;
    listener.OpenLoopback();
    return listener.Port();  // nothing listens there once it closes
}

}  // namespace

TEST(SocketIo, ConnectFailuresSayWhy) {
    std::string error;
    EXPECT_EQ(ConnectTcp("127.0.0.1", UnusedPort(), 2000, error), -1);
    EXPECT_NE(error.find("refused"), std::string::npos) << error;
    EXPECT_EQ(ConnectTcp("127.0.0.1", 0, 2000, error), -1);
    EXPECT_NE(error.find("port 0"), std::string::npos) << error;
    EXPECT_EQ(ConnectTcp("", 80, 2000, error), -1);
    EXPECT_NE(error.find("cannot resolve"), std::string::npos) << error;
}

TEST(SocketIo, SendToAPeerThatNeverReadsTimesOut) {
    Loopback link;
    const std::vector<uint8_t> big(32 * 1024 * 1024);
    EXPECT_EQ(SendAll(link.Client(), big.data(), big.size(), 200), IoStatus::kTimeout);
}
