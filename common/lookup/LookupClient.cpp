#include "common/lookup/LookupClient.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/net/ConnectWait.h"
#include "platform/text/Utf8Cut.h"

namespace {

void PutInt32(uint8_t* out, int32_t value) {
    const auto bits = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i) {
        out[i] = static_cast<uint8_t>(bits >> (8 * i));
    }
}

int32_t GetInt32(const uint8_t* in) {
    uint32_t bits = 0;
    for (int i = 0; i < 4; ++i) {
        bits |= static_cast<uint32_t>(in[i]) << (8 * i);
    }
    return static_cast<int32_t>(bits);
}

// Copies a text up to and including its terminator; a text that fills its field is cut so the
// terminator still fits.
template <std::size_t N>
void CopyText(char* out, const char (&in)[N]) {
    const std::string_view text = Utf8Cut(std::string_view(in, ::strnlen(in, N)), N - 1);
    std::memcpy(out, text.data(), text.size());
    out[text.size()] = '\0';
}

template <std::size_t N>
void CopyTextIn(char (&out)[N], const uint8_t* in) {
    const char* chars = reinterpret_cast<const char*>(in);
    const std::string_view text = Utf8Cut(std::string_view(chars, ::strnlen(chars, N)), N - 1);
    std::memcpy(out, text.data(), text.size());
    out[text.size()] = '\0';
}

timeval ToTimeval(int duration_ms) {
    timeval tv{};
    tv.tv_sec = duration_ms / 1000;
    tv.tv_usec = (duration_ms % 1000) * 1000;
    return tv;
}

bool SetOptions(int fd, const LookupTimeouts& timeouts) {
    const int reuse = 1;
    const linger lingering{1, 3};
    const timeval send_timeout = ToTimeval(timeouts.send_ms);
    const timeval receive_timeout = ToTimeval(timeouts.receive_ms);
    return ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &reuse, sizeof reuse) == 0 &&
           ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &lingering, sizeof lingering) == 0 &&
           ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &send_timeout, sizeof send_timeout) == 0 &&
           ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &receive_timeout, sizeof receive_timeout) == 0;
}

bool SetNonBlocking(int fd, bool non_blocking) {
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0) {
        return false;
    }
    const int wanted = non_blocking ? (flags | O_NONBLOCK) : (flags & ~O_NONBLOCK);
    return ::fcntl(fd, F_SETFL, wanted) == 0;
}

bool ConnectWithin(int fd, const std::string& server, int port, int timeout_ms, int cancel_fd) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    if (port < 0 || port > 65535 || ::inet_pton(AF_INET, server.c_str(), &address.sin_addr) != 1) {
        return false;
    }
    address.sin_port = htons(static_cast<uint16_t>(port));
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
        return true;
    }
    return (errno == EINPROGRESS || errno == EINTR) &&
           WaitConnected(fd, timeout_ms, cancel_fd) == 0;
}

}  // namespace

CLookupClient::CLookupClient() : CLookupClient(LookupTimeouts{}) {}

CLookupClient::CLookupClient(const LookupTimeouts& timeouts)
    : timeouts_(timeouts), abort_event_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

CLookupClient::~CLookupClient() {
    if (abort_event_ >= 0) ::close(abort_event_);
}

void CLookupClient::Abort() {
    const uint64_t one = 1;
    if (abort_event_ >= 0) (void)!::write(abort_event_, &one, sizeof one);
}

bool CLookupClient::Aborted() const {
    pollfd entry{abort_event_, POLLIN, 0};
    return abort_event_ >= 0 && ::poll(&entry, 1, 0) > 0;
}

int CLookupClient::Startup() {
    started_ = 1;
    return kFound;
}

void CLookupClient::Cleanup() { started_ = 0; }

int CLookupClient::Lookup(const std::string& server, int port, const std::string& name) {
    const int result = QueryDvr(server, port, name);
    return result < 0 ? result : kFound;
}

int CLookupClient::QueryDvr(const std::string& server, int port, const std::string& name) {
    _LOOKUP_MESSAGE_ request{};
    // A name that does not fit its field with the terminator is refused before anything is
    // sent: a cut name could find another recorder.
    const std::size_t name_bytes = std::strlen(name.c_str());
    if (name_bytes >= sizeof request.szText || Aborted()) {
        return kFailed;
    }
    const int connected = ConnectTimed(lookup_socket_, server, port);
    if (connected < 0) {
        return connected;
    }
    request.nCode = kLookupRequestCode;
    std::memcpy(request.szText, name.c_str(), name_bytes);
    std::strcpy(request.szKind, kLookupClientKind);
    LookupWire message;
    PackMessage(message, request);
    if (SendAll(lookup_socket_, message.data(), static_cast<int>(message.size())) < 0) {
        CloseSocket(lookup_socket_);
        return kFailed;
    }
    LookupWire reply;
    if (RecvAll(lookup_socket_, reply.data(), static_cast<int>(reply.size())) < 0) {
        CloseSocket(lookup_socket_);
        return kFailed;
    }
    CloseSocket(lookup_socket_);
    return ReadReply(reply, address_, port_);
}

int CLookupClient::ConnectTimed(int& socket_fd, const std::string& server, int port) {
    socket_fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, IPPROTO_TCP);
    if (socket_fd < 0) {
        socket_fd = kNoSocket;
        return kNoSocketCreated;
    }
    if (!SetOptions(socket_fd, timeouts_) || !SetNonBlocking(socket_fd, true) ||
        !ConnectWithin(socket_fd, server, port, timeouts_.connect_ms, abort_event_) ||
        !SetNonBlocking(socket_fd, false)) {
        CloseSocket(socket_fd);
        return kFailed;
    }
    return kFound;
}

int CLookupClient::SendAll(int& socket_fd, const void* buffer, int length) {
    if (socket_fd == kNoSocket || length < 0) {
        return kFailed;
    }
    const auto* bytes = static_cast<const uint8_t*>(buffer);
    int sent = 0;
    while (sent < length) {
        // No SIGPIPE when the peer has gone: the failure is our result, not the end of the
        // program.
        const ssize_t result = ::send(socket_fd, bytes + sent, length - sent, MSG_NOSIGNAL);
        if (result < 0 && errno == EINTR) {
            continue;
        }
        if (result <= 0) {
            return kFailed;
        }
        sent += static_cast<int>(result);
    }
    return length;
}

int CLookupClient::RecvAll(int& socket_fd, void* buffer, int length) {
    if (socket_fd == kNoSocket || length < 0) {
        return kFailed;
    }
    auto* bytes = static_cast<uint8_t*>(buffer);
    int received = 0;
    while (received < length) {
        // The receive time-out as the socket has it, but an abort ends the wait at once.
        pollfd entries[2] = {{socket_fd, POLLIN, 0}, {abort_event_, POLLIN, 0}};
        const int ready = ::poll(entries, abort_event_ >= 0 ? 2 : 1, timeouts_.receive_ms);
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready <= 0 || entries[1].revents != 0) {
            return kFailed;
        }
        const ssize_t result = ::recv(socket_fd, bytes + received, length - received, 0);
        if (result < 0 && errno == EINTR) {
            continue;
        }
        if (result <= 0) {
            return kFailed;
        }
        received += static_cast<int>(result);
    }
    return length;
}

void CLookupClient::CloseSocket(int& socket_fd) {
    if (socket_fd != kNoSocket) {
        ::close(socket_fd);
        socket_fd = kNoSocket;
    }
}

void CLookupClient::PackMessage(LookupWire& message, const _LOOKUP_MESSAGE_& record) {
    message.fill(0);
    uint8_t* out = message.data();
    PutInt32(out + offsetof(_LOOKUP_MESSAGE_, nCode), record.nCode);
    CopyText(reinterpret_cast<char*>(out + offsetof(_LOOKUP_MESSAGE_, szText)), record.szText);
    CopyText(reinterpret_cast<char*>(out + offsetof(_LOOKUP_MESSAGE_, szKind)), record.szKind);
    CopyText(reinterpret_cast<char*>(out + offsetof(_LOOKUP_MESSAGE_, szExtra)), record.szExtra);
    PutInt32(out + offsetof(_LOOKUP_MESSAGE_, nPort), record.nPort);
    PutInt32(out + offsetof(_LOOKUP_MESSAGE_, nExtra), record.nExtra);
}

void CLookupClient::UnpackMessage(_LOOKUP_MESSAGE_& record, const LookupWire& message) {
    record = _LOOKUP_MESSAGE_{};
    const uint8_t* in = message.data();
    record.nCode = GetInt32(in + offsetof(_LOOKUP_MESSAGE_, nCode));
    CopyTextIn(record.szText, in + offsetof(_LOOKUP_MESSAGE_, szText));
    CopyTextIn(record.szKind, in + offsetof(_LOOKUP_MESSAGE_, szKind));
    CopyTextIn(record.szExtra, in + offsetof(_LOOKUP_MESSAGE_, szExtra));
    record.nPort = GetInt32(in + offsetof(_LOOKUP_MESSAGE_, nPort));
    record.nExtra = GetInt32(in + offsetof(_LOOKUP_MESSAGE_, nExtra));
}

int CLookupClient::ReadReply(const LookupWire& reply, std::string& address, int& port) {
    _LOOKUP_MESSAGE_ record;
    UnpackMessage(record, reply);
    if (record.nCode == kLookupRefused || record.nCode == kLookupNotOnline) {
        return record.nCode;
    }
    address = record.szText;
    port = record.nPort;
    return kFound;
}
