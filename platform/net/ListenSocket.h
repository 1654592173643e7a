#pragma once

#include <cstdint>
#include <string>

// A listening TCP socket on one local IPv4 address; closes itself.
class ListenSocket {
public:
    ListenSocket() = default;
    ~ListenSocket();
    ListenSocket(const ListenSocket&) = delete;
    ListenSocket& operator=(const ListenSocket&) = delete;

    // Binds bind_address:port (port 0 = any free port) and listens with room for backlog
    // waiting connections; false with error set.
    bool Open(const std::string& bind_address, uint16_t port, std::string* error, int backlog = 64);
    // A free port on 127.0.0.1; throws std::runtime_error when there is none.
    void OpenLoopback(int backlog = 64);
    void Close();

    // A new connection within timeout_ms (close-on-exec, no Nagle delay), or -1.
    int Accept(int timeout_ms);

    int Fd() const { return fd_; }
    uint16_t Port() const { return port_; }

private:
    int fd_ = -1;
    uint16_t port_ = 0;
};
