#include "tools/recorder-emulator/RecorderServer.h"

#include "tools/recorder-emulator/RecorderSession.h"

#include <algorithm>
#include <chrono>
#include <vector>

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr int kAcceptWaitMs = 50;
// Sessions at once: far more than any recorder lets log in. At the bound the oldest session
// that has not logged in gives way to a new one, so clients that never log in cannot lock
// honest ones out.
constexpr size_t kMaxConnections = 64;
// Sessions that gave way end within a poll step; this bounds the threads meanwhile.
constexpr size_t kMaxThreads = 2 * kMaxConnections;
// Accepted connections that have sent nothing yet cost a descriptor, not a thread. At the bound
// the oldest is hung up for a new one; none waits longer than a client has to log in.
constexpr size_t kMaxWaiting = 64;
constexpr auto kWaitingLimit = std::chrono::seconds(10);
// Connections taken from the listen queue at once.
constexpr size_t kMaxBurst = 1024;

// True when the connection has bytes to read; false when the peer has gone.
bool HasBytes(int fd) {
    char byte;
    return ::recv(fd, &byte, 1, MSG_PEEK | MSG_DONTWAIT) > 0;
}

}  // namespace

RecorderServer::RecorderServer(std::shared_ptr<RecorderState> state) : state_(std::move(state)) {}

RecorderServer::~RecorderServer() { Stop(); }

bool RecorderServer::Start(const std::string& bind_address, uint16_t port, std::string* error) {
    // A deep queue: under a flood of connections an honest one still finds a place to wait.
    if (!listen_.Open(bind_address, port, error, SOMAXCONN)) return false;
    stop_ = false;
    accept_thread_ = std::thread([this] { AcceptLoop(); });
    return true;
}

void RecorderServer::Stop() {
    stop_ = true;
    if (accept_thread_.joinable()) accept_thread_.join();
    for (Connection& c : connections_)
        c.stop = true;
    for (Connection& c : connections_)
        c.thread.join();
    connections_.clear();
    listen_.Close();
}

void RecorderServer::AcceptLoop() {
    std::vector<pollfd> polled;
    std::vector<Waiting> still_waiting;
    while (!stop_) {
        ReapFinished();
        polled.assign(1, pollfd{listen_.Fd(), POLLIN, 0});
        for (const Waiting& w : waiting_)
            polled.push_back({w.fd, POLLIN, 0});
        if (::poll(polled.data(), polled.size(), kAcceptWaitMs) > 0) {
            // A connection that spoke gets a session; one that hung up is closed.
            still_waiting.clear();
            for (size_t i = 0; i < waiting_.size(); ++i) {
                const int fd = waiting_[i].fd;
                if (polled[i + 1].revents == 0) {
                    still_waiting.push_back(waiting_[i]);
                } else if (HasBytes(fd) && MakeRoom()) {
                    Serve(fd);
                } else {
                    ::close(fd);
                }
            }
            waiting_.swap(still_waiting);
            if (polled[0].revents != 0) AcceptWaiting();
        }
        DropStale();
    }
    for (const Waiting& w : waiting_)
        ::close(w.fd);
    waiting_.clear();
}

void RecorderServer::AcceptWaiting() {
    const auto now = std::chrono::steady_clock::now();
    for (size_t taken = 0; taken < kMaxBurst; ++taken) {
        const int fd = listen_.Accept(0);
        if (fd < 0) break;
        if (waiting_.size() == kMaxWaiting) {
            ::close(waiting_.front().fd);
            waiting_.erase(waiting_.begin());
        }
        waiting_.push_back({fd, now});
    }
}

void RecorderServer::DropStale() {
    const auto oldest_kept = std::chrono::steady_clock::now() - kWaitingLimit;
    while (!waiting_.empty() && waiting_.front().accepted < oldest_kept) {
        ::close(waiting_.front().fd);
        waiting_.erase(waiting_.begin());
    }
}

void RecorderServer::Serve(int fd) {
    Connection& c = connections_.emplace_back();
    c.thread = std::thread([this, fd, &c] {
        {
            RecorderSession session(*state_, fd);
            session.Run(c.stop, c.logged_in);
        }
        std::lock_guard lock(ended_mutex_);
        c.done = true;
        ended_.notify_all();
    });
}

bool RecorderServer::MakeRoom() {
    // Connections that gave way end within a poll step: wait for them rather than hang up on
    // the new one.
    while (connections_.size() >= kMaxThreads && !stop_) {
        {
            std::unique_lock lock(ended_mutex_);
            ended_.wait_for(lock, std::chrono::milliseconds(kAcceptWaitMs), [this] {
                return std::any_of(connections_.begin(), connections_.end(),
                                   [](const Connection& c) { return c.done.load(); });
            });
        }
        ReapFinished();
    }
    size_t serving = 0;
    Connection* oldest_waiting = nullptr;
    for (Connection& c : connections_) {
        if (c.stop) continue;
        ++serving;
        if (oldest_waiting == nullptr && !c.logged_in) oldest_waiting = &c;
    }
    if (serving < kMaxConnections) return true;
    if (oldest_waiting == nullptr) return false;
    oldest_waiting->stop = true;
    return true;
}

void RecorderServer::ReapFinished() {
    for (auto it = connections_.begin(); it != connections_.end();) {
        if (it->done) {
            it->thread.join();
            it = connections_.erase(it);
        } else {
            ++it;
        }
    }
}
