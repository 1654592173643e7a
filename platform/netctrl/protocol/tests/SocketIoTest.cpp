#include "SocketIo.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace netproto;

namespace {

// A loopback listener on a free port, and the server end of one accepted connection.
class Loopback {
public:
    Loopback() {
        listen_fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(listen_fd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
        ::listen(listen_fd_, 4);
        socklen_t len = sizeof addr;
        ::getsockname(listen_fd_, reinterpret_cast<sockaddr*>(&addr), &len);
        port_ = ntohs(addr.sin_port);
        std::string error;
        client_ = ConnectTcp("127.0.0.1", port_, 2000, error);
        server_ = ::accept(listen_fd_, nullptr, nullptr);
    }
    ~Loopback() {
        for (int fd : {client_, server_, listen_fd_}) {
            if (fd >= 0) {
                ::close(fd);
            }
        }
    }
    int client() const { return client_; }
    int server() const { return server_; }
    void CloseServer() {
        ::close(server_);
        server_ = -1;
    }

private:
    int listen_fd_ = -1;
    int port_ = 0;
    int client_ = -1;
    int server_ = -1;
};

int UnusedPort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    socklen_t len = sizeof addr;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
    ::close(fd);  // nothing listens there now
    return ntohs(addr.sin_port);
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

TEST(SocketIo, MessagesCrossAndSilenceTimesOut) {
    Loopback link;
    ASSERT_GE(link.client(), 0);
    ASSERT_GE(link.server(), 0);
    std::string error;
    ASSERT_TRUE(SendMessage(link.client(), {9, RecListQuery{1090728, 0}}, 1000, error)) << error;
    MessageDecoder decoder;
    Message got;
    ASSERT_TRUE(RecvMessage(link.server(), decoder, 1000, got, error)) << error;
    EXPECT_EQ(got.request_id, 9u);
    EXPECT_EQ(std::get<RecListQuery>(got.body).day_key, 1090728);

    EXPECT_FALSE(RecvMessage(link.server(), decoder, 50, got, error));
    EXPECT_EQ(error, "receive: timed out");
    uint8_t byte = 0;
    EXPECT_EQ(RecvExact(link.server(), &byte, 1, 50), IoStatus::kTimeout);
}

TEST(SocketIo, GarbageAndClosedPeerAreErrors) {
    Loopback link;
    const std::string garbage = "GET / HTTP/1.0\r\n\r\n";
    ASSERT_EQ(SendAll(link.server(), garbage.data(), garbage.size(), 1000), IoStatus::kOk);
    MessageDecoder decoder;
    Message got;
    std::string error;
    EXPECT_FALSE(RecvMessage(link.client(), decoder, 1000, got, error));
    EXPECT_NE(error.find("malformed message: bad magic"), std::string::npos) << error;

    const uint8_t half_header[8] = {'D', 'V', 'R', 'P', 1, 0, 7, 0};
    ASSERT_EQ(SendAll(link.server(), half_header, sizeof half_header, 1000), IoStatus::kOk);
    link.CloseServer();
    uint8_t buffer[16];
    EXPECT_EQ(RecvExact(link.client(), buffer, sizeof buffer, 1000), IoStatus::kClosed);
}

TEST(SocketIo, SendToAPeerThatNeverReadsTimesOut) {
    Loopback link;
    const std::vector<uint8_t> big(32 * 1024 * 1024);
    EXPECT_EQ(SendAll(link.client(), big.data(), big.size(), 200), IoStatus::kTimeout);
}
