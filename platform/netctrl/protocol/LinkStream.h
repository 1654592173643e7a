#pragma once

#include <atomic>
#include <cstddef>
#include <memory>
#include <mutex>
#include <string>

#include "platform/netctrl/protocol/LoginMac.h"
#include "platform/netctrl/protocol/MessageDecoder.h"
#include "platform/netctrl/protocol/Messages.h"
#include "platform/netctrl/protocol/SocketIo.h"

struct ssl_st;  // OpenSSL's SSL

namespace netproto {

class TlsIdentity;

// One connection to or from a recorder: TLS 1.3 over a TCP socket (docs/protocol.md). Safe for
// one reader and any number of senders at once: TLS calls take turns under a lock that is never
// held while waiting for the socket, and whole sends take turns among themselves.
class LinkStream {
public:
    ~LinkStream();  // closes the socket
    LinkStream(const LinkStream&) = delete;
    LinkStream& operator=(const LinkStream&) = delete;

    // The client's handshake on a connected socket (taken over, closed on failure). The
    // recorder's certificate is not checked: the log-in proofs authenticate the recorder. The
    // wait ends at once when cancel_fd (-1 for none) turns readable.
    static std::unique_ptr<LinkStream> Connect(int fd, int timeout_ms, std::string& error,
                                               int cancel_fd = -1);
    // The recorder's handshake on an accepted socket (taken over, closed on failure); stop
    // (may be null) cuts it short.
    static std::unique_ptr<LinkStream> Accept(int fd, const TlsIdentity& identity, int timeout_ms,
                                              const std::atomic<bool>* stop, std::string& error);
    // No TLS at all, for measuring what TLS costs; the binding is all zero. Operators' programs
    // never open one (docs/protocol.md).
    static std::unique_ptr<LinkStream> PlainForMeasurement(int fd);

    int Fd() const { return fd_; }
    bool Encrypted() const { return ssl_ != nullptr; }
    // The TLS exporter value of this connection: what the log-in proofs cover.
    const ChannelBinding& Binding() const { return binding_; }

    // As the socket helpers of the same names.
    IoStatus SendAll(const void* data, std::size_t size_bytes, int timeout_ms);
    IoStatus RecvSome(void* data, std::size_t capacity_bytes, int timeout_ms,
                      std::size_t& received_bytes);
    // Sends what the socket takes now; sent_bytes 0 when it takes nothing. After a partial
    // send the next call must offer the rest, at least, and not less.
    IoStatus SendSome(const void* data, std::size_t size_bytes, std::size_t& sent_bytes);
    // Bytes already decrypted and waiting: a readable socket is not the only sign of input.
    bool HasBuffered();
    // Ends both directions: blocked calls return at once.
    void Shutdown();
    // Why the last kError happened, when TLS said.
    std::string LastTlsError() const;

private:
    LinkStream(int fd, ssl_st* ssl);
    // One TLS call under the lock: > 0 bytes moved; 0 wait for want_events; < 0 end.
    IoStatus TlsCall(bool write, void* data, std::size_t size_bytes, std::size_t& moved,
                     short& want_events);

    const int fd_;
    ssl_st* const ssl_;
    ChannelBinding binding_{};
    std::mutex tls_mutex_;   // any TLS call
    std::mutex send_mutex_;  // a whole SendAll
    mutable std::mutex error_mutex_;
    std::string tls_error_;
};

// One message each way over a link; error says what failed.
bool SendMessage(LinkStream& link, const Message& message, int timeout_ms, std::string& error);
bool RecvMessage(LinkStream& link, MessageDecoder& decoder, int timeout_ms, Message& out,
                 std::string& error);

}  // namespace netproto
