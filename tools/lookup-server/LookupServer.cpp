#include "tools/lookup-server/LookupServer.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// A peer gets this long for its request and for taking the reply.
constexpr auto kConnectionLimit = std::chrono::seconds(5);
// Beyond this many open connections, a new one takes the place of the oldest that still waits
// for its request; when all are replying, new ones wait in the listen queue.
constexpr std::size_t kMaxConnections = 64;
// After accept fails for want of descriptors, the listener rests this long rather than spin.
constexpr auto kAcceptPause = std::chrono::milliseconds(100);

struct Connection {
    int fd = -1;
    Clock::time_point deadline;
    LookupWire request{};
    std::size_t received_bytes = 0;
    LookupWire reply{};
    std::size_t sent_bytes = 0;
    bool replying = false;
};

// One non-blocking recv or send, retried when interrupted: the bytes it moved, 0 when the
// socket would block, -1 when the connection is over (peer gone or broken).
template <typename Io>
ssize_t MoveBytes(Io io) {
    for (;;) {
        const ssize_t result = io();
        if (result > 0) {
            return result;
        }
        if (result < 0 && errno == EINTR) {
            continue;
        }
        return result < 0 && (errno == EAGAIN || errno == EWOULDBLOCK) ? 0 : -1;
    }
}

// Moves the exchange on as far as the socket allows. False when the connection is finished:
// reply sent, peer gone or broken.
bool Progress(Connection& connection, const LookupDirectory& directory) {
    while (!connection.replying) {
        const ssize_t moved = MoveBytes([&] {
            return ::recv(connection.fd, connection.request.data() + connection.received_bytes,
                          connection.request.size() - connection.received_bytes, 0);
        });
        if (moved <= 0) {
            return moved == 0;
        }
        connection.received_bytes += static_cast<std::size_t>(moved);
        if (connection.received_bytes == connection.request.size()) {
            connection.reply = directory.Answer(connection.request);
            connection.replying = true;
        }
    }
    while (connection.sent_bytes < connection.reply.size()) {
        const ssize_t moved = MoveBytes([&] {
            return ::send(connection.fd, connection.reply.data() + connection.sent_bytes,
                          connection.reply.size() - connection.sent_bytes, MSG_NOSIGNAL);
        });
        if (moved <= 0) {
            return moved == 0;
        }
        connection.sent_bytes += static_cast<std::size_t>(moved);
    }
    return false;
}

bool Waiting(const Connection& connection) { return !connection.replying; }

// Room for one more: at the limit, the oldest connection still waiting for its request gives
// way, so idle peers cannot lock honest ones out. False when every connection is replying.
bool MakeRoom(std::vector<Connection>& connections) {
    if (connections.size() < kMaxConnections) return true;
    const auto oldest = std::find_if(connections.begin(), connections.end(), Waiting);
    if (oldest == connections.end()) return false;
    ::close(oldest->fd);
    connections.erase(oldest);
    return true;
}

// False when accepting failed for another reason than an empty queue.
bool AcceptPending(int listen_fd, std::vector<Connection>& connections,
                   const LookupDirectory& directory) {
    while (MakeRoom(connections)) {
        const int fd = ::accept4(listen_fd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0) {
            return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR ||
                   errno == ECONNABORTED;
        }
        Connection connection;
        connection.fd = fd;
        connection.deadline = Clock::now() + kConnectionLimit;
        // A request that came with the connection is answered before anything can evict it.
        if (Progress(connection, directory)) {
            connections.push_back(connection);
        } else {
            ::close(fd);
        }
    }
    return true;
}

int PollTimeoutMs(const std::vector<Connection>& connections, Clock::time_point accept_resume) {
    int timeout_ms = 1000;
    const auto now = Clock::now();
    const auto shorten = [&](Clock::time_point deadline) {
        const auto left_ms =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now).count();
        timeout_ms = std::clamp(static_cast<int>(left_ms) + 1, 0, timeout_ms);
    };
    for (const Connection& connection : connections) {
        shorten(connection.deadline);
    }
    if (accept_resume > now) {
        shorten(accept_resume);
    }
    return timeout_ms;
}

}  // namespace

LookupServer::LookupServer() = default;

LookupServer::~LookupServer() { Stop(); }

bool LookupServer::Start(const std::string& bind_address, uint16_t port) {
    std::lock_guard lock(control_mutex_);
    if (thread_.joinable()) {
        return false;
    }
    std::string error;
    if (!listener_.Open(bind_address, port, &error, SOMAXCONN)) {
        return false;
    }
    const int wake_fd = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (wake_fd < 0) {
        listener_.Close();
        return false;
    }
    wake_fd_ = wake_fd;
    port_ = listener_.Port();
    thread_ = std::thread(&LookupServer::Serve, this, listener_.Fd(), wake_fd);
    return true;
}

void LookupServer::Stop() {
    std::lock_guard lock(control_mutex_);
    if (!thread_.joinable()) {
        return;
    }
    const uint64_t one = 1;
    // An eventfd write of 1 cannot fail short of overflowing its counter.
    [[maybe_unused]] const ssize_t written = ::write(wake_fd_, &one, sizeof one);
    thread_.join();
    listener_.Close();
    ::close(wake_fd_);
    wake_fd_ = -1;
    port_ = 0;
}

uint16_t LookupServer::Port() const { return port_; }

void LookupServer::SetDevice(const std::string& name, const std::string& address, uint16_t port) {
    directory_.SetDevice(name, address, port);
}

void LookupServer::SetOffline(const std::string& name, bool offline) {
    directory_.SetOffline(name, offline);
}

void LookupServer::SetRefuseAll(bool refuse) { directory_.SetRefuseAll(refuse); }

void LookupServer::Serve(int listen_fd, int wake_fd) {
    std::vector<Connection> connections;
    std::vector<pollfd> entries;
    Clock::time_point accept_resume;
    for (;;) {
        entries.clear();
        entries.push_back({wake_fd, POLLIN, 0});
        const bool room = connections.size() < kMaxConnections ||
                          std::any_of(connections.begin(), connections.end(), Waiting);
        const bool accepting = room && Clock::now() >= accept_resume;
        entries.push_back({accepting ? listen_fd : -1, POLLIN, 0});
        for (const Connection& connection : connections) {
            const short events = connection.replying ? POLLOUT : POLLIN;
            entries.push_back({connection.fd, events, 0});
        }
        const int ready =
            ::poll(entries.data(), entries.size(), PollTimeoutMs(connections, accept_resume));
        if (ready < 0 && errno != EINTR) {
            break;
        }
        if (entries[0].revents != 0) {
            break;
        }
        const auto now = Clock::now();
        std::vector<Connection> still_open;
        for (std::size_t i = 0; i < connections.size(); ++i) {
            Connection& connection = connections[i];
            const bool alive = entries[i + 2].revents == 0 || Progress(connection, directory_);
            if (alive && now < connection.deadline) {
                still_open.push_back(connection);
            } else {
                ::close(connection.fd);
            }
        }
        connections.swap(still_open);
        if (entries[1].revents != 0 && !AcceptPending(listen_fd, connections, directory_)) {
            accept_resume = Clock::now() + kAcceptPause;
        }
    }
    for (const Connection& connection : connections) {
        ::close(connection.fd);
    }
}
