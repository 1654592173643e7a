#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include "MessageDecoder.h"
#include "Messages.h"
#include "SocketIo.h"

// A recorder played by a test script on 127.0.0.1: every accepted connection runs the script,
// one after the other. Scripts can answer properly, stall, or send anything at all.
class ScriptedPeer {
public:
    ScriptedPeer(int fd, const std::atomic<bool>& stopping) : fd_(fd), stopping_(stopping) {}

    int fd() const { return fd_; }
    bool stopping() const { return stopping_; }

    bool Read(netproto::Message& out, int timeout_ms = 3000) {
        std::string error;
        return netproto::RecvMessage(fd_, decoder_, timeout_ms, out, error);
    }
    bool Send(uint32_t request_id, netproto::Body body) {
        std::string error;
        return netproto::SendMessage(fd_, {request_id, std::move(body)}, 3000, error);
    }
    bool SendRaw(const void* data, std::size_t size_bytes) {
        return netproto::SendAll(fd_, data, size_bytes, 3000) == netproto::IoStatus::kOk;
    }
    // Answers Hello and Login with result; false when the client gave up first.
    bool Handshake(int32_t result = 0, int32_t user_level = kSuperUserLevel) {
        netproto::Message m;
        if (!Read(m) || !std::holds_alternative<netproto::Hello>(m.body) ||
            !Send(m.request_id, netproto::Challenge{}) || !Read(m) ||
            !std::holds_alternative<netproto::Login>(m.body)) {
            return false;
        }
        netproto::LoginReply reply;
        reply.result = result;
        reply.info.nTypeCode = 1004;
        reply.info.nCodec = kCodecH264;
        reply.info.nUserLevel = user_level;
        reply.info.nAudioMask = 0x1;
        return Send(m.request_id, reply);
    }
    // Sleeps up to ms, less when the recorder stops.
    void Idle(int ms) {
        for (int waited = 0; waited < ms && !stopping_; waited += 10) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }

private:
    int fd_;
    const std::atomic<bool>& stopping_;
    netproto::MessageDecoder decoder_;
};

class ScriptedRecorder {
public:
    using Script = std::function<void(ScriptedPeer&)>;

    explicit ScriptedRecorder(Script script) : script_(std::move(script)) {
        listen_fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(listen_fd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
        ::listen(listen_fd_, 8);
        socklen_t len = sizeof addr;
        ::getsockname(listen_fd_, reinterpret_cast<sockaddr*>(&addr), &len);
        port_ = ntohs(addr.sin_port);
        thread_ = std::thread([this] { AcceptLoop(); });
    }
    ~ScriptedRecorder() {
        stopping_ = true;
        {
            std::lock_guard lock(mutex_);
            if (peer_fd_ >= 0) {
                ::shutdown(peer_fd_, SHUT_RDWR);
            }
        }
        thread_.join();
        ::close(listen_fd_);
    }

    int port() const { return port_; }
    int connections() const { return connections_; }

private:
    void AcceptLoop() {
        while (!stopping_) {
            pollfd p{listen_fd_, POLLIN, 0};
            if (::poll(&p, 1, 20) <= 0) {
                continue;
            }
            const int fd = ::accept4(listen_fd_, nullptr, nullptr, SOCK_CLOEXEC);
            if (fd < 0) {
                continue;
            }
            {
                std::lock_guard lock(mutex_);
                peer_fd_ = fd;
            }
            ++connections_;
            ScriptedPeer peer(fd, stopping_);
            script_(peer);
            {
                std::lock_guard lock(mutex_);
                peer_fd_ = -1;
            }
            ::close(fd);
        }
    }

    Script script_;
    int listen_fd_ = -1;
    int port_ = 0;
    std::atomic<bool> stopping_{false};
    std::atomic<int> connections_{0};
    std::mutex mutex_;
    int peer_fd_ = -1;
    std::thread thread_;
};
