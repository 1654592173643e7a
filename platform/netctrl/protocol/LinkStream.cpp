#include "platform/netctrl/protocol/LinkStream.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <openssl/err.h>
#include <openssl/ssl.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <vector>

#include "platform/netctrl/protocol/MessageEncoder.h"
#include "platform/netctrl/protocol/TlsIdentity.h"

namespace netproto {
namespace {

using Clock = std::chrono::steady_clock;

// The exporter label both sides use for the log-in binding.
constexpr char kBindingLabel[] = "EXPORTER-recorder-login";

int MsLeft(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left < 0 ? 0 : static_cast<int>(left);
}

// Waits for events on fd until the deadline; kClosed when cancel_fd or stop asked to end.
IoStatus WaitFor(int fd, short events, Clock::time_point deadline, int cancel_fd = -1,
                 const std::atomic<bool>* stop = nullptr) {
    for (;;) {
        pollfd p[2] = {{fd, events, 0}, {cancel_fd, POLLIN, 0}};
        // A stop flag is looked at every 20 ms.
        const int wait_ms = stop != nullptr ? std::min(MsLeft(deadline), 20) : MsLeft(deadline);
        const int n = ::poll(p, cancel_fd >= 0 ? 2 : 1, wait_ms);
        if (stop != nullptr && *stop) return IoStatus::kClosed;
        if (n > 0) return p[1].revents != 0 && cancel_fd >= 0 ? IoStatus::kClosed : IoStatus::kOk;
        if (n == 0) {
            if (MsLeft(deadline) == 0) return IoStatus::kTimeout;
            continue;
        }
        if (errno != EINTR) return IoStatus::kError;
    }
}

SSL_CTX* ClientContext() {
    static SSL_CTX* const kContext = [] {
        SSL_CTX* c = SSL_CTX_new(TLS_client_method());
        if (c == nullptr) return c;
        SSL_CTX_set_min_proto_version(c, TLS1_3_VERSION);
        // No authority vouches for a recorder; the log-in proofs do (docs/protocol.md).
        SSL_CTX_set_verify(c, SSL_VERIFY_NONE, nullptr);
        SSL_CTX_set_mode(c, SSL_MODE_ENABLE_PARTIAL_WRITE | SSL_MODE_ACCEPT_MOVING_WRITE_BUFFER);
        SSL_CTX_set_session_cache_mode(c, SSL_SESS_CACHE_OFF);
        // Messages carry their lengths: a cut stream shows as a cut message, not as a TLS fault.
        SSL_CTX_set_options(c, SSL_OP_IGNORE_UNEXPECTED_EOF);
        return c;
    }();
    return kContext;
}

std::string TlsErrorText(const char* what) {
    const unsigned long code = ERR_get_error();
    ERR_clear_error();
    if (code == 0) return what;
    char text[256];
    ERR_error_string_n(code, text, sizeof text);
    return std::string(what) + " (" + text + ")";
}

// TLS writes with write(2), which raises SIGPIPE on a connection the peer has closed; the
// process would die of it. A handler someone else installed is left alone.
void KeepSigpipeFromKilling() {
    static const bool kDone = [] {
        struct sigaction current {};
        if (::sigaction(SIGPIPE, nullptr, &current) == 0 && current.sa_handler == SIG_DFL) {
            ::signal(SIGPIPE, SIG_IGN);
        }
        return true;
    }();
    (void)kDone;
}

void MakeNonBlocking(int fd) {
    KeepSigpipeFromKilling();
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0) ::fcntl(fd, F_SETFL, flags | O_NONBLOCK);
}

// Drives the handshake of ssl on fd to its end; error says why it failed.
bool Handshake(SSL* ssl, int fd, int timeout_ms, int cancel_fd, const std::atomic<bool>* stop,
               std::string& error) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeout_ms);
    for (;;) {
        ERR_clear_error();
        const int done = SSL_do_handshake(ssl);
        if (done == 1) return true;
        const int why = SSL_get_error(ssl, done);
        short events = 0;
        if (why == SSL_ERROR_WANT_READ) {
            events = POLLIN;
        } else if (why == SSL_ERROR_WANT_WRITE) {
            events = POLLOUT;
        } else {
            error = TlsErrorText(why == SSL_ERROR_SYSCALL || why == SSL_ERROR_ZERO_RETURN
                                     ? "TLS handshake: connection closed by the peer"
                                     : "TLS handshake failed");
            return false;
        }
        const IoStatus waited = WaitFor(fd, events, deadline, cancel_fd, stop);
        if (waited != IoStatus::kOk) {
            error = std::string("TLS handshake: ") +
                    (waited == IoStatus::kClosed ? "cancelled" : IoStatusText(waited));
            return false;
        }
    }
}

}  // namespace

LinkStream::LinkStream(int fd, SSL* ssl) : fd_(fd), ssl_(ssl) {}

LinkStream::~LinkStream() {
    SSL_free(ssl_);
    ::close(fd_);
}

std::unique_ptr<LinkStream> LinkStream::Connect(int fd, int timeout_ms, std::string& error,
                                                int cancel_fd) {
    SSL_CTX* context = ClientContext();
    SSL* ssl = context ? SSL_new(context) : nullptr;
    if (ssl == nullptr) {
        ::close(fd);
        error = TlsErrorText("cannot set up TLS");
        return nullptr;
    }
    MakeNonBlocking(fd);
    SSL_set_fd(ssl, fd);
    SSL_set_connect_state(ssl);
    std::unique_ptr<LinkStream> link(new LinkStream(fd, ssl));
    if (!Handshake(ssl, fd, timeout_ms, cancel_fd, nullptr, error)) return nullptr;
    if (SSL_export_keying_material(ssl, link->binding_.data(), link->binding_.size(), kBindingLabel,
                                   sizeof kBindingLabel - 1, nullptr, 0, 0) != 1) {
        error = TlsErrorText("TLS exporter value unavailable");
        return nullptr;
    }
    return link;
}

std::unique_ptr<LinkStream> LinkStream::Accept(int fd, const TlsIdentity& identity, int timeout_ms,
                                               const std::atomic<bool>* stop, std::string& error) {
    SSL* ssl = SSL_new(identity.Context());
    if (ssl == nullptr) {
        ::close(fd);
        error = TlsErrorText("cannot set up TLS");
        return nullptr;
    }
    MakeNonBlocking(fd);
    SSL_set_fd(ssl, fd);
    SSL_set_accept_state(ssl);
    std::unique_ptr<LinkStream> link(new LinkStream(fd, ssl));
    if (!Handshake(ssl, fd, timeout_ms, -1, stop, error)) return nullptr;
    if (SSL_export_keying_material(ssl, link->binding_.data(), link->binding_.size(), kBindingLabel,
                                   sizeof kBindingLabel - 1, nullptr, 0, 0) != 1) {
        error = TlsErrorText("TLS exporter value unavailable");
        return nullptr;
    }
    return link;
}

std::unique_ptr<LinkStream> LinkStream::PlainForMeasurement(int fd) {
    MakeNonBlocking(fd);
    return std::unique_ptr<LinkStream>(new LinkStream(fd, nullptr));
}

std::string LinkStream::LastTlsError() const {
    std::lock_guard lock(error_mutex_);
    return tls_error_;
}

IoStatus LinkStream::TlsCall(bool write, void* data, std::size_t size_bytes, std::size_t& moved,
                             short& want_events) {
    moved = 0;
    want_events = 0;
    int why = SSL_ERROR_NONE;
    {
        std::lock_guard lock(tls_mutex_);
        ERR_clear_error();
        const int ok = write ? SSL_write_ex(ssl_, data, size_bytes, &moved)
                             : SSL_read_ex(ssl_, data, size_bytes, &moved);
        if (ok == 1) return IoStatus::kOk;
        why = SSL_get_error(ssl_, ok);
        if (why == SSL_ERROR_SSL) {
            std::lock_guard error_lock(error_mutex_);
            tls_error_ = TlsErrorText("TLS error");
        } else {
            ERR_clear_error();
        }
    }
    switch (why) {
        case SSL_ERROR_WANT_READ:
            want_events = POLLIN;
            return IoStatus::kOk;
        case SSL_ERROR_WANT_WRITE:
            want_events = POLLOUT;
            return IoStatus::kOk;
        case SSL_ERROR_ZERO_RETURN:
            return IoStatus::kClosed;
        case SSL_ERROR_SYSCALL:
            return (errno == 0 || errno == EPIPE || errno == ECONNRESET) ? IoStatus::kClosed
                                                                         : IoStatus::kError;
        default:
            return IoStatus::kError;
    }
}

IoStatus LinkStream::SendAll(const void* data, std::size_t size_bytes, int timeout_ms) {
    if (ssl_ == nullptr) return netproto::SendAll(fd_, data, size_bytes, timeout_ms);
    std::lock_guard whole(send_mutex_);
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeout_ms);
    auto* p = static_cast<uint8_t*>(const_cast<void*>(data));
    while (size_bytes > 0) {
        std::size_t sent = 0;
        short want = 0;
        const IoStatus status = TlsCall(true, p, size_bytes, sent, want);
        if (status != IoStatus::kOk) return status;
        p += sent;
        size_bytes -= sent;
        if (want != 0) {
            const IoStatus waited = WaitFor(fd_, want, deadline);
            if (waited != IoStatus::kOk) return waited;
        }
    }
    return IoStatus::kOk;
}

IoStatus LinkStream::SendSome(const void* data, std::size_t size_bytes, std::size_t& sent_bytes) {
    sent_bytes = 0;
    if (size_bytes == 0) return IoStatus::kOk;
    if (ssl_ == nullptr) {
        const ssize_t n = ::send(fd_, data, size_bytes, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n >= 0) {
            sent_bytes = static_cast<std::size_t>(n);
            return IoStatus::kOk;
        }
        if (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK) return IoStatus::kOk;
        return (errno == EPIPE || errno == ECONNRESET) ? IoStatus::kClosed : IoStatus::kError;
    }
    std::lock_guard whole(send_mutex_);
    short want = 0;
    return TlsCall(true, const_cast<void*>(data), size_bytes, sent_bytes, want);
}

IoStatus LinkStream::RecvSome(void* data, std::size_t capacity_bytes, int timeout_ms,
                              std::size_t& received_bytes) {
    if (ssl_ == nullptr) {
        return netproto::RecvSome(fd_, data, capacity_bytes, timeout_ms, received_bytes);
    }
    received_bytes = 0;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeout_ms);
    for (;;) {
        short want = 0;
        const IoStatus status = TlsCall(false, data, capacity_bytes, received_bytes, want);
        if (status != IoStatus::kOk || want == 0) return status;
        const IoStatus waited = WaitFor(fd_, want, deadline);
        if (waited != IoStatus::kOk) return waited;
    }
}

bool LinkStream::HasBuffered() {
    if (ssl_ == nullptr) return false;
    std::lock_guard lock(tls_mutex_);
    return SSL_pending(ssl_) > 0;
}

void LinkStream::Shutdown() { ::shutdown(fd_, SHUT_RDWR); }

bool SendMessage(LinkStream& link, const Message& message, int timeout_ms, std::string& error) {
    std::vector<uint8_t> bytes;
    if (!EncodeMessage(message, bytes, error)) return false;
    const IoStatus status = link.SendAll(bytes.data(), bytes.size(), timeout_ms);
    if (status != IoStatus::kOk) {
        error = std::string("send: ") + IoStatusText(status);
        return false;
    }
    return true;
}

bool RecvMessage(LinkStream& link, MessageDecoder& decoder, int timeout_ms, Message& out,
                 std::string& error) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeout_ms);
    std::vector<uint8_t> chunk(MessageDecoder::kFeedChunkBytes);
    for (;;) {
        switch (decoder.Next(out)) {
            case DecodeStatus::kMessage:
                return true;
            case DecodeStatus::kError:
                error = decoder.Error();
                return false;
            case DecodeStatus::kNeedMore:
                break;
        }
        std::size_t got = 0;
        const IoStatus status = link.RecvSome(chunk.data(), chunk.size(), MsLeft(deadline), got);
        if (status != IoStatus::kOk) {
            error = std::string("receive: ") + IoStatusText(status);
            if (status == IoStatus::kError && !link.LastTlsError().empty()) {
                error += ": " + link.LastTlsError();
            }
            return false;
        }
        if (!decoder.Feed(chunk.data(), got)) {
            error = decoder.Error();
            return false;
        }
    }
}

}  // namespace netproto
