#pragma once

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/net/ListenSocket.h"
#include "platform/netctrl/protocol/LinkStream.h"
#include "platform/netctrl/protocol/MessageDecoder.h"
#include "platform/netctrl/protocol/SocketIo.h"
#include "platform/netctrl/protocol/TlsIdentity.h"

// Men in the middle on 127.0.0.1 for the tests, between a client and the recorder at
// target_port. Each serves one client connection at a time.

// Passes the bytes on as they are and keeps a copy of both directions. With a rate, bytes
// towards the client leave at that rate and up to buffer_bytes wait in the relay, as on a slow
// link behind a deep router queue.
class ByteRelay {
public:
    struct Options {
        int64_t down_bytes_per_s = 0;  // 0 = as fast as they come
        std::size_t buffer_bytes = 1 << 20;
    };

    ByteRelay(uint16_t target_port, Options options)
        : target_port_(target_port), options_(options) {
        listener_.OpenLoopback(4);
        thread_ = std::thread([this] { Loop(); });
    }
    ~ByteRelay() {
        stop_ = true;
        thread_.join();
    }

    uint16_t Port() const { return listener_.Port(); }
    std::vector<uint8_t> Captured() const {
        std::lock_guard lock(mutex_);
        return captured_;
    }
    std::size_t Waiting() const { return waiting_bytes_; }

private:
    void Loop() {
        while (!stop_) {
            const int client = listener_.Accept(20);
            if (client < 0) continue;
            std::string error;
            const int recorder = netproto::ConnectTcp("127.0.0.1", target_port_, 5000, error);
            if (recorder >= 0) {
                Pass(client, recorder);
                ::close(recorder);
            }
            ::close(client);
        }
    }

    void Keep(const uint8_t* data, std::size_t size) {
        std::lock_guard lock(mutex_);
        captured_.insert(captured_.end(), data, data + size);
    }

    void Pass(int client, int recorder) {
        std::deque<uint8_t> down;
        uint8_t chunk[16384];
        auto last_refill = std::chrono::steady_clock::now();
        double tokens = 0;
        bool recorder_open = true;
        while (!stop_) {
            const bool room = down.size() < options_.buffer_bytes;
            pollfd p[2] = {{client, static_cast<short>(POLLIN | (down.empty() ? 0 : POLLOUT)), 0},
                           {recorder, static_cast<short>(recorder_open && room ? POLLIN : 0), 0}};
            ::poll(p, 2, 5);
            if (p[0].revents & (POLLIN | POLLHUP | POLLERR)) {
                const ssize_t n = ::recv(client, chunk, sizeof chunk, MSG_DONTWAIT);
                if (n == 0 || (n < 0 && errno != EAGAIN)) return;
                if (n > 0) {
                    Keep(chunk, static_cast<std::size_t>(n));
                    if (netproto::SendAll(recorder, chunk, static_cast<std::size_t>(n), 5000) !=
                        netproto::IoStatus::kOk) {
                        return;
                    }
                }
            }
            if (p[1].revents & (POLLIN | POLLHUP | POLLERR)) {
                const std::size_t want =
                    std::min(sizeof chunk, options_.buffer_bytes - down.size());
                const ssize_t n = ::recv(recorder, chunk, want, MSG_DONTWAIT);
                if (n == 0 || (n < 0 && errno != EAGAIN)) recorder_open = false;
                if (n > 0) {
                    Keep(chunk, static_cast<std::size_t>(n));
                    down.insert(down.end(), chunk, chunk + n);
                }
            }
            const auto now = std::chrono::steady_clock::now();
            const double rate = static_cast<double>(options_.down_bytes_per_s);
            tokens =
                rate == 0
                    ? 1e12
                    : std::min(
                          tokens + rate * std::chrono::duration<double>(now - last_refill).count(),
                          rate / 20);  // bursts of at most 50 ms
            last_refill = now;
            if (!down.empty() && tokens >= 1) {
                const std::size_t take =
                    std::min({down.size(), sizeof chunk, static_cast<std::size_t>(tokens)});
                std::copy(down.begin(), down.begin() + static_cast<std::ptrdiff_t>(take), chunk);
                const ssize_t n = ::send(client, chunk, take, MSG_DONTWAIT | MSG_NOSIGNAL);
                if (n < 0 && errno != EAGAIN) return;
                if (n > 0) {
                    down.erase(down.begin(), down.begin() + n);
                    tokens -= static_cast<double>(n);
                }
            }
            waiting_bytes_ = down.size();
            if (!recorder_open && down.empty()) return;
        }
    }

    const uint16_t target_port_;
    const Options options_;
    ListenSocket listener_;
    std::atomic<bool> stop_{false};
    std::atomic<std::size_t> waiting_bytes_{0};
    mutable std::mutex mutex_;
    std::vector<uint8_t> captured_;
    std::thread thread_;
};

// Ends TLS on both sides with a key of its own, passes every message on, and once the
// recorder has answered the log-in sends it inject as well, as an attacker in the middle would.
class TlsRelay {
public:
    TlsRelay(uint16_t target_port, std::vector<netproto::Body> inject)
        : target_port_(target_port), inject_(std::move(inject)) {
        std::string error;
        identity_ = netproto::TlsIdentity::Generate(&error);
        listener_.OpenLoopback(4);
        thread_ = std::thread([this] { Loop(); });
    }
    ~TlsRelay() {
        stop_ = true;
        thread_.join();
    }

    uint16_t Port() const { return listener_.Port(); }
    int Injected() const { return injected_; }

private:
    void Loop() {
        while (!stop_) {
            const int fd = listener_.Accept(20);
            if (fd < 0) continue;
            std::string error;
            auto client = netproto::LinkStream::Accept(fd, *identity_, 5000, &stop_, error);
            const int recorder_fd = netproto::ConnectTcp("127.0.0.1", target_port_, 5000, error);
            if (!client || recorder_fd < 0) continue;
            auto recorder = netproto::LinkStream::Connect(recorder_fd, 5000, error);
            if (!recorder) continue;
            std::atomic<bool> done{false};
            std::thread up([&] { Forward(*client, *recorder, done, nullptr); });
            Forward(*recorder, *client, done, recorder.get());
            done = true;
            client->Shutdown();
            recorder->Shutdown();
            up.join();
        }
    }

    // Passes messages from one side to the other until either ends; inject_into is the
    // recorder when this is the direction of its answers.
    void Forward(netproto::LinkStream& from, netproto::LinkStream& to, std::atomic<bool>& done,
                 netproto::LinkStream* inject_into) {
        netproto::MessageDecoder decoder;
        while (!stop_ && !done) {
            netproto::Message m;
            std::string error;
            if (!netproto::RecvMessage(from, decoder, 100, m, error)) {
                if (error.find("timed out") != std::string::npos) continue;
                break;
            }
            const bool login_reply = std::holds_alternative<netproto::LoginReply>(m.body);
            if (!netproto::SendMessage(to, m, 5000, error)) break;
            if (login_reply && inject_into != nullptr) {
                uint32_t id = 100;
                for (const netproto::Body& body : inject_) {
                    if (netproto::SendMessage(*inject_into, {id++, body}, 5000, error)) {
                        ++injected_;
                    }
                }
            }
        }
        done = true;
    }

    const uint16_t target_port_;
    const std::vector<netproto::Body> inject_;
    std::unique_ptr<netproto::TlsIdentity> identity_;
    ListenSocket listener_;
    std::atomic<bool> stop_{false};
    std::atomic<int> injected_{0};
    std::thread thread_;
};
