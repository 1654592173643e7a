#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <vector>

// A lookup peer on 127.0.0.1 for one connection, behaving as a test tells it. Every wait is
// bounded, so a broken client cannot hang the test.
class ScriptedPeer {
public:
    enum class Action {
        kReply,        // read the request, send reply_bytes of the reply, close
        kNeverAnswer,  // read the request, then stay silent until destroyed
        kReset,        // accept and reset the connection at once
    };

    explicit ScriptedPeer(Action action, std::vector<uint8_t> reply = {})
        : action_(action), reply_(std::move(reply)) {
        listen_fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof address;
        if (listen_fd_ < 0 ||
            ::bind(listen_fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
            ::listen(listen_fd_, 4) != 0 ||
            ::getsockname(listen_fd_, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
            throw std::runtime_error("cannot listen on loopback");
        }
        port_ = ntohs(address.sin_port);
        stop_fd_ = ::eventfd(0, EFD_CLOEXEC);
        thread_ = std::thread([this] { Run(); });
    }

    ~ScriptedPeer() {
        const uint64_t one = 1;
        [[maybe_unused]] const ssize_t written = ::write(stop_fd_, &one, sizeof one);
        thread_.join();
        ::close(stop_fd_);
        ::close(listen_fd_);
    }

    int Port() const { return port_; }
    // Request bytes received; read after the client's call has returned.
    std::vector<uint8_t> Received() {
        Settle();
        std::lock_guard lock(mutex_);
        return received_;
    }

private:
    static constexpr int kWaitLimitMs = 10000;

    // True when fd became readable before the peer was told to stop.
    bool WaitReadable(int fd) {
        pollfd entries[2] = {{fd, POLLIN, 0}, {stop_fd_, POLLIN, 0}};
        return ::poll(entries, 2, kWaitLimitMs) > 0 && entries[1].revents == 0;
    }

    void Run() {
        if (WaitReadable(listen_fd_)) {
            const int fd = ::accept4(listen_fd_, nullptr, nullptr, SOCK_CLOEXEC);
            if (fd >= 0) {
                Serve(fd);
                ::close(fd);
            }
        }
        settled_ = true;
    }

    void Serve(int fd) {
        if (action_ == Action::kReset) {
            const linger abort_close{1, 0};
            ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &abort_close, sizeof abort_close);
            return;
        }
        uint8_t chunk[600];
        std::size_t received_bytes = 0;
        while (received_bytes < sizeof chunk && WaitReadable(fd)) {
            const ssize_t got = ::recv(fd, chunk, sizeof chunk - received_bytes, 0);
            if (got <= 0) {
                return;
            }
            received_bytes += static_cast<std::size_t>(got);
            std::lock_guard lock(mutex_);
            received_.insert(received_.end(), chunk, chunk + got);
        }
        if (action_ == Action::kNeverAnswer) {
            pollfd stop{stop_fd_, POLLIN, 0};
            ::poll(&stop, 1, kWaitLimitMs);
            return;
        }
        std::size_t sent = 0;
        while (sent < reply_.size()) {
            const ssize_t put =
                ::send(fd, reply_.data() + sent, reply_.size() - sent, MSG_NOSIGNAL);
            if (put <= 0) {
                return;
            }
            sent += static_cast<std::size_t>(put);
        }
    }

    void Settle() {
        for (int i = 0; i < 1000 && !settled_ && action_ != Action::kNeverAnswer; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }

    Action action_;
    std::vector<uint8_t> reply_;
    std::mutex mutex_;
    std::vector<uint8_t> received_;
    std::atomic<bool> settled_{false};
    int listen_fd_ = -1;
    int stop_fd_ = -1;
    int port_ = 0;
    std::thread thread_;
};
