#pragma once

#include "platform/netctrl/protocol/LoginMac.h"
#include "platform/netctrl/protocol/MessageDecoder.h"
#include "platform/netctrl/protocol/Messages.h"
#include "platform/netctrl/protocol/SocketIo.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>
#include "tests/support/PollUntil.h"

// A bare protocol client for the emulator's tests: one request at a time, frames and notices
// that arrive in between are kept in order.
class TestClient {
public:
    ~TestClient() {
        if (fd_ >= 0) ::close(fd_);
    }

    bool Connect(uint16_t port) {
        std::string error;
        fd_ = netproto::ConnectTcp("127.0.0.1", port, 2000, error);
        return fd_ >= 0;
    }

    // The log-in result, or a value below -100 when the exchange itself failed.
    int32_t Login(const std::string& user, const std::string& password,
                  _DVR_MACHINE_INFO_* info = nullptr) {
        const auto challenge = Request<netproto::Challenge>(netproto::Hello{});
        if (!challenge) return -101;
        netproto::Login login;
        login.user = user;
        login.client_nonce = netproto::RandomNonce();
        login.mac =
            netproto::ComputeLoginMac(password, challenge->server_nonce, login.client_nonce);
        const auto reply = Request<netproto::LoginReply>(login);
        if (!reply) return -102;
        if (info) *info = reply->info;
        return reply->result;
    }

    template <typename Answer>
    std::optional<Answer> Request(netproto::Body body) {
        const uint32_t id = ++next_id_;
        std::string error;
        if (!netproto::SendMessage(fd_, netproto::Message{id, std::move(body)}, 2000, error)) {
            return std::nullopt;
        }
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (std::chrono::steady_clock::now() < deadline) {
            netproto::Message m;
            if (!netproto::RecvMessage(fd_, decoder_, 5000, m, error)) return std::nullopt;
            if (m.request_id == id) {
                if (auto* answer = std::get_if<Answer>(&m.body)) return *answer;
                return std::nullopt;
            }
            pushed_.push_back(std::move(m));
        }
        return std::nullopt;
    }

    // A message that gets no answer.
    bool Send(netproto::Body body) {
        std::string error;
        return netproto::SendMessage(fd_, netproto::Message{++next_id_, std::move(body)}, 2000,
                                     error);
    }

    int32_t Ack(netproto::Body body) {
        const auto ack = Request<netproto::Ack>(std::move(body));
        return ack ? ack->result : -999;
    }

    // The next frame or notice, or nothing when the link ends or none comes within timeout_ms.
    std::optional<netproto::Message> Next(int timeout_ms = 3000) {
        if (!pushed_.empty()) {
            auto m = std::move(pushed_.front());
            pushed_.erase(pushed_.begin());
            return m;
        }
        netproto::Message m;
        std::string error;
        if (!netproto::RecvMessage(fd_, decoder_, timeout_ms, m, error)) {
            last_error_ = error;
            return std::nullopt;
        }
        return m;
    }

    std::optional<netproto::Frame> NextFrame(int timeout_ms = 3000) {
        for (;;) {
            auto m = Next(timeout_ms);
            if (!m) return std::nullopt;
            if (auto* f = std::get_if<netproto::Frame>(&m->body)) return std::move(*f);
        }
    }

    // Raw bytes, for messages the protocol code would not encode.
    bool SendBytes(const std::vector<uint8_t>& bytes) {
        return netproto::SendAll(fd_, bytes.data(), bytes.size(), 2000) == netproto::IoStatus::kOk;
    }

    // True when the peer closes the connection within timeout_ms; what it sends is skipped.
    bool ClosedByPeer(int timeout_ms) {
        const auto deadline =
            std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
        uint8_t buffer[4096];
        while (std::chrono::steady_clock::now() < deadline) {
            std::size_t got = 0;
            const netproto::IoStatus status =
                netproto::RecvSome(fd_, buffer, sizeof buffer, 100, got);
            if (status != netproto::IoStatus::kOk && status != netproto::IoStatus::kTimeout) {
                return true;
            }
        }
        return false;
    }

    // Bytes the recorder sent that this client has not read yet.
    int UnreadBytes() const {
        int bytes = 0;
        return ::ioctl(fd_, FIONREAD, &bytes) == 0 ? bytes : -1;
    }

    // Forgets the frames and notices that came in before the last answer.
    void DropEarlier() { pushed_.clear(); }

    uint32_t LastRequestId() const { return next_id_; }
    const std::string& LastError() const { return last_error_; }

private:
    int fd_ = -1;
    uint32_t next_id_ = 0;
    netproto::MessageDecoder decoder_;
    std::vector<netproto::Message> pushed_;
    std::string last_error_;
};
