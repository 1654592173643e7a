#pragma once

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>
#include <thread>
#include <vector>

#include "platform/net/ListenSocket.h"

// A lookup peer for one connection that behaves as the test says. Every wait is bounded, so a
// broken client cannot hang the test.
class ScriptedPeer {
public:
    enum class Action {
        kReply,        // read the request, send the given reply bytes, close
        kNeverAnswer,  // read the request, then stay silent until destroyed
        kReset,        // accept and reset the connection at once
    };

    explicit ScriptedPeer(Action action, std::vector<uint8_t> reply = {})
        : action_(action), reply_(std::move(reply)) {
        listener_.OpenLoopback(4);
        stop_fd_ = ::eventfd(0, EFD_CLOEXEC);
        thread_ = std::thread([this] { Run(); });
    }
    ~ScriptedPeer() {
        const uint64_t one = 1;
        [[maybe_unused]] const ssize_t written = ::write(stop_fd_, &one, sizeof one);
        Finish();
        ::close(stop_fd_);
    }

    int Port() const { return listener_.Port(); }
    // The request bytes, once the peer is done (not for kNeverAnswer).
    const std::vector<uint8_t>& Received() {
        Finish();
        return received_;
    }

private:
    bool WaitReadable(int fd) {
        pollfd entries[2] = {{fd, POLLIN, 0}, {stop_fd_, POLLIN, 0}};
        return ::poll(entries, 2, 10000) > 0 && entries[1].revents == 0;
    }
    void Finish() {
        if (thread_.joinable()) {
            thread_.join();
        }
    }
    void Run() {
        const int fd =
            WaitReadable(listener_.Fd()) ? ::accept(listener_.Fd(), nullptr, nullptr) : -1;
        if (fd >= 0) {
            Serve(fd);
            ::close(fd);
        }
    }
    void Serve(int fd) {
        if (action_ == Action::kReset) {
            const linger abort_close{1, 0};
            ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &abort_close, sizeof abort_close);
            return;
        }
        uint8_t chunk[600];
        while (received_.size() < sizeof chunk && WaitReadable(fd)) {
            const ssize_t got = ::recv(fd, chunk, sizeof chunk - received_.size(), 0);
            if (got <= 0) {
                return;
            }
            received_.insert(received_.end(), chunk, chunk + got);
        }
        if (action_ == Action::kNeverAnswer) {
            WaitReadable(stop_fd_);
            return;
        }
        ::send(fd, reply_.data(), reply_.size(), MSG_NOSIGNAL);
    }

    ListenSocket listener_;
    Action action_;
    std::vector<uint8_t> reply_;
    std::vector<uint8_t> received_;
    int stop_fd_ = -1;
    std::thread thread_;
};
