#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <string>

#include "platform/net/ListenSocket.h"

namespace {

int ConnectTo(uint16_t port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

}  // namespace

TEST(ListenSocket, AcceptsOnAFreeLoopbackPort) {
    ListenSocket listener;
    listener.OpenLoopback();
    ASSERT_GT(listener.Port(), 0);
    EXPECT_EQ(listener.Accept(0), -1);  // nobody knocked yet
    const int client = ConnectTo(listener.Port());
    ASSERT_GE(client, 0);
    const int server = listener.Accept(2000);
    EXPECT_GE(server, 0);
    ::close(server);
    ::close(client);
    listener.Close();
    EXPECT_EQ(listener.Fd(), -1);
    EXPECT_EQ(listener.Accept(0), -1);
}

TEST(ListenSocket, ReportsAddressesItCannotBind) {
    ListenSocket first;
    first.OpenLoopback();
    ListenSocket second;
    std::string error;
    EXPECT_FALSE(second.Open("127.0.0.1", first.Port(), &error));  // taken
    EXPECT_NE(error.find(std::to_string(first.Port())), std::string::npos) << error;
    EXPECT_EQ(second.Port(), 0);
    EXPECT_FALSE(second.Open("not-an-address", 0, &error));
    EXPECT_FALSE(second.Open("192.0.2.1", 0, &error));  // not an address of this machine
}
