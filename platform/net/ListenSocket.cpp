#include "platform/net/ListenSocket.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

ListenSocket::~ListenSocket() { Close(); }

bool ListenSocket::Open(const std::string& bind_address, uint16_t port, std::string* error,
                        int backlog) {
    Close();
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    if (::inet_pton(AF_INET, bind_address.c_str(), &address.sin_addr) != 1) {
        *error = "not an IPv4 address: " + bind_address;
        return false;
    }
    fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd_ < 0) {
        *error = std::string("socket: ") + std::strerror(errno);
        return false;
    }
    const int on = 1;
    socklen_t length = sizeof address;
    if (::setsockopt(fd_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) != 0 ||
        ::bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(fd_, backlog) != 0 ||
        ::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        *error = bind_address + ":" + std::to_string(port) + ": " + std::strerror(errno);
        Close();
        return false;
    }
    port_ = ntohs(address.sin_port);
    return true;
}

void ListenSocket::OpenLoopback(int backlog) {
    std::string error;
    if (!Open("127.0.0.1", 0, &error, backlog)) {
        throw std::runtime_error("cannot listen on loopback: " + error);
    }
}

void ListenSocket::Close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

int ListenSocket::Accept(int timeout_ms) {
    if (fd_ < 0) return -1;
    pollfd p{fd_, POLLIN, 0};
    if (::poll(&p, 1, timeout_ms) <= 0) return -1;
    const int fd = ::accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) return -1;
    const int on = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    return fd;
}
