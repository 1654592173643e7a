#pragma once

#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include "platform/net/ListenSocket.h"
#include "platform/netctrl/protocol/MessageDecoder.h"
#include "platform/netctrl/protocol/Messages.h"
#include "platform/netctrl/protocol/SocketIo.h"

// A recorder played by a test script on 127.0.0.1: every accepted connection runs the script,
// one after the other. Scripts can answer properly, stall, or send anything at all.
class ScriptedPeer {
public:
    ScriptedPeer(int fd, const std::atomic<bool>& stopping) : fd_(fd), stopping_(stopping) {}

    int Fd() const { return fd_; }
    bool Stopping() const { return stopping_; }

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
    bool Handshake(int32_t result = 0, int32_t user_level = kSuperUserLevel,
                   int32_t codec = kCodecH264) {
        netproto::Message m;
        if (!Read(m) || !std::holds_alternative<netproto::Hello>(m.body) ||
            !Send(m.request_id, netproto::Challenge{}) || !Read(m) ||
            !std::holds_alternative<netproto::Login>(m.body)) {
            return false;
        }
        netproto::LoginReply reply;
        reply.result = result;
        reply.info.nTypeCode = 1004;
        reply.info.nCodec = codec;
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
        listener_.OpenLoopback(8);
        port_ = listener_.Port();
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
    }

    int Port() const { return port_; }
    int Connections() const { return connections_; }

private:
    void AcceptLoop() {
        while (!stopping_) {
            const int fd = listener_.Accept(20);
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
    ListenSocket listener_;
    int port_ = 0;
    std::atomic<bool> stopping_{false};
    std::atomic<int> connections_{0};
    std::mutex mutex_;
    int peer_fd_ = -1;
    std::thread thread_;
};
