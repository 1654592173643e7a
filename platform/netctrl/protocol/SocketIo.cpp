#include "platform/netctrl/protocol/SocketIo.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <optional>

#include "platform/net/ConnectWait.h"
#include "platform/net/Ipv4Resolve.h"

namespace netproto {
namespace {

using Clock = std::chrono::steady_clock;

int MsLeft(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left < 0 ? 0 : static_cast<int>(left);
}

// Waits for events on fd until the deadline; kOk when they came.
IoStatus WaitFor(int fd, short events, Clock::time_point deadline) {
    for (;;) {
        pollfd p{fd, events, 0};
        const int n = ::poll(&p, 1, MsLeft(deadline));
        if (n > 0) {
            return IoStatus::kOk;
        }
        if (n == 0) {
            return IoStatus::kTimeout;
        }
        if (errno != EINTR) {
            return IoStatus::kError;
        }
    }
}

}  // namespace

const char* IoStatusText(IoStatus status) {
    switch (status) {
        case IoStatus::kOk:
            return "ok";
        case IoStatus::kTimeout:
            return "timed out";
        case IoStatus::kClosed:
            return "connection closed by the peer";
        case IoStatus::kError:
            return "socket error";
    }
    return "unknown";
}

int ConnectTcp(const std::string& host, int port, int timeout_ms, std::string& error,
               int cancel_fd) {
    if (port <= 0 || port > 65535) {
        error = "port " + std::to_string(port) + " outside 1..65535";
        return -1;
    }
    const std::optional<in_addr> resolved = ResolveIpv4(host);
    if (!resolved) {
        error = "cannot resolve host \"" + host + "\"";
        return -1;
    }
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<uint16_t>(port));
    addr.sin_addr = *resolved;
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) {
        error = std::string("socket: ") + std::strerror(errno);
        return -1;
    }
    int failure = 0;
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) != 0) {
        failure = errno == EINPROGRESS ? WaitConnected(fd, timeout_ms, cancel_fd) : errno;
    }
    if (failure != 0) {
        error = "connect to " + host + ":" + std::to_string(port) + ": " + std::strerror(failure);
        ::close(fd);
        return -1;
    }
    const int one = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    return fd;
}

IoStatus SendAll(int fd, const void* data, std::size_t size_bytes, int timeout_ms) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeout_ms);
    const auto* p = static_cast<const uint8_t*>(data);
    while (size_bytes > 0) {
        const ssize_t n = ::send(fd, p, size_bytes, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n > 0) {
            p += n;
            size_bytes -= static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            const IoStatus waited = WaitFor(fd, POLLOUT, deadline);
            if (waited != IoStatus::kOk) {
                return waited;
            }
            continue;
        }
        return (errno == EPIPE || errno == ECONNRESET) ? IoStatus::kClosed : IoStatus::kError;
    }
    return IoStatus::kOk;
}

IoStatus RecvSome(int fd, void* data, std::size_t capacity_bytes, int timeout_ms,
                  std::size_t& received_bytes) {
    received_bytes = 0;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeout_ms);
    for (;;) {
        const ssize_t n = ::recv(fd, data, capacity_bytes, MSG_DONTWAIT);
        if (n > 0) {
            received_bytes = static_cast<std::size_t>(n);
            return IoStatus::kOk;
        }
        if (n == 0) {
            return IoStatus::kClosed;
        }
        if (errno == EINTR) {
            continue;
        }
        if (errno != EAGAIN && errno != EWOULDBLOCK) {
            return errno == ECONNRESET ? IoStatus::kClosed : IoStatus::kError;
        }
        const IoStatus waited = WaitFor(fd, POLLIN, deadline);
        if (waited != IoStatus::kOk) {
            return waited;
        }
    }
}

IoStatus RecvExact(int fd, void* data, std::size_t size_bytes, int timeout_ms) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeout_ms);
    auto* p = static_cast<uint8_t*>(data);
    while (size_bytes > 0) {
        std::size_t got = 0;
        const IoStatus status = RecvSome(fd, p, size_bytes, MsLeft(deadline), got);
        if (status != IoStatus::kOk) {
            return status;
        }
        p += got;
        size_bytes -= got;
    }
    return IoStatus::kOk;
}

}  // namespace netproto
