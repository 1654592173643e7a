#include "LookupServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
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
// Beyond this many open connections, new ones wait in the listen queue.
constexpr std::size_t kMaxConnections = 64;

struct Connection {
    int fd = -1;
    Clock::time_point deadline;
    LookupWire request{};
    std::size_t received_bytes = 0;
    LookupWire reply{};
    std::size_t sent_bytes = 0;
    bool replying = false;
};

int OpenListener(const std::string& bind_address, uint16_t port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    if (::inet_pton(AF_INET, bind_address.c_str(), &address.sin_addr) != 1) {
        return -1;
    }
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, IPPROTO_TCP);
    if (fd < 0) {
        return -1;
    }
    const int reuse = 1;
    if (::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &reuse, sizeof reuse) != 0 ||
        ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(fd, SOMAXCONN) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

uint16_t BoundPort(int fd) {
    sockaddr_in address{};
    socklen_t size = sizeof address;
    if (::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
        return 0;
    }
    return ntohs(address.sin_port);
}

void AcceptPending(int listen_fd, std::vector<Connection>& connections) {
    while (connections.size() < kMaxConnections) {
        const int fd = ::accept4(listen_fd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0) {
            return;
        }
        Connection connection;
        connection.fd = fd;
        connection.deadline = Clock::now() + kConnectionLimit;
        connections.push_back(connection);
    }
}

// Moves the exchange on as far as the socket allows. False when the connection is finished:
// reply sent, peer gone or broken.
bool Progress(Connection& connection, const LookupDirectory& directory) {
    while (!connection.replying) {
        const ssize_t result =
            ::recv(connection.fd, connection.request.data() + connection.received_bytes,
                   connection.request.size() - connection.received_bytes, 0);
        if (result < 0 && errno == EINTR) {
            continue;
        }
        if (result < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            return true;
        }
        if (result <= 0) {
            return false;
        }
        connection.received_bytes += static_cast<std::size_t>(result);
        if (connection.received_bytes == connection.request.size()) {
            connection.reply = directory.Answer(connection.request);
            connection.replying = true;
        }
    }
    while (connection.sent_bytes < connection.reply.size()) {
        const ssize_t result =
            ::send(connection.fd, connection.reply.data() + connection.sent_bytes,
                   connection.reply.size() - connection.sent_bytes, MSG_NOSIGNAL);
        if (result < 0 && errno == EINTR) {
            continue;
        }
        if (result < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            return true;
        }
        if (result <= 0) {
            return false;
        }
        connection.sent_bytes += static_cast<std::size_t>(result);
    }
    return false;
}

int PollTimeoutMs(const std::vector<Connection>& connections) {
    int timeout_ms = 1000;
    const auto now = Clock::now();
    for (const Connection& connection : connections) {
        const auto left_ms =
            std::chrono::duration_cast<std::chrono::milliseconds>(connection.deadline - now)
                .count();
        timeout_ms = std::clamp(static_cast<int>(left_ms) + 1, 0, timeout_ms);
    }
    return timeout_ms;
}

}  // namespace

LookupServer::LookupServer() = default;

LookupServer::~LookupServer() {
    Stop();
}

bool LookupServer::Start(const std::string& bind_address, uint16_t port) {
    std::lock_guard lock(control_mutex_);
    if (thread_.joinable()) {
        return false;
    }
    const int listen_fd = OpenListener(bind_address, port);
    if (listen_fd < 0) {
        return false;
    }
    const int wake_fd = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (wake_fd < 0) {
        ::close(listen_fd);
        return false;
    }
    listen_fd_ = listen_fd;
    wake_fd_ = wake_fd;
    port_ = BoundPort(listen_fd);
    thread_ = std::thread(&LookupServer::Serve, this, listen_fd, wake_fd);
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
    ::close(listen_fd_);
    ::close(wake_fd_);
    listen_fd_ = -1;
    wake_fd_ = -1;
    port_ = 0;
}

uint16_t LookupServer::Port() const {
    return port_;
}

void LookupServer::SetDevice(const std::string& name, const std::string& address, uint16_t port) {
    directory_.SetDevice(name, address, port);
}

void LookupServer::SetOffline(const std::string& name, bool offline) {
    directory_.SetOffline(name, offline);
}

void LookupServer::SetRefuseAll(bool refuse) {
    directory_.SetRefuseAll(refuse);
}

void LookupServer::Serve(int listen_fd, int wake_fd) {
    std::vector<Connection> connections;
    std::vector<pollfd> entries;
    for (;;) {
        entries.clear();
        entries.push_back({wake_fd, POLLIN, 0});
        const bool accepting = connections.size() < kMaxConnections;
        entries.push_back({accepting ? listen_fd : -1, POLLIN, 0});
        for (const Connection& connection : connections) {
            const short events = connection.replying ? POLLOUT : POLLIN;
            entries.push_back({connection.fd, events, 0});
        }
        const int ready = ::poll(entries.data(), entries.size(), PollTimeoutMs(connections));
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
        if (entries[1].revents != 0) {
            AcceptPending(listen_fd, connections);
        }
    }
    for (const Connection& connection : connections) {
        ::close(connection.fd);
    }
}
