#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <vector>

#include "platform/net/ConnectWait.h"
#include "platform/net/ListenSocket.h"

// A loopback listener whose queue is full and never accepted from: the kernel drops further
// connection requests, so a connect to Port() hangs until its caller gives up.
class FullListener {
public:
    FullListener() {
        listener_.OpenLoopback(0);
        for (int i = 0; i < 2; ++i) {
            const int fd = StartConnect(listener_.Port());
            WaitConnected(fd, 200);
            fillers_.push_back(fd);
        }
    }
    ~FullListener() {
        for (int fd : fillers_)
            ::close(fd);
    }
    FullListener(const FullListener&) = delete;
    FullListener& operator=(const FullListener&) = delete;

    uint16_t Port() const { return listener_.Port(); }

    // A non-blocking socket with a connect to port on loopback under way.
    static int StartConnect(uint16_t port) {
        const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(port);
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
        return fd;
    }

private:
    ListenSocket listener_;
    std::vector<int> fillers_;
};
