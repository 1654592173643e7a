#include "RecorderServer.h"

#include "RecorderSession.h"

#include <algorithm>
#include <chrono>
#include <vector>

#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr int kAcceptWaitMs = 50;
// Far more than any recorder lets log in; keeps a flood of connections from making threads.
// At the limit the oldest connection that has not logged in gives way to a new one, so idle
// connections cannot lock honest clients out.
constexpr size_t kMaxConnections = 64;
// Connections that gave way end within a poll step; this bounds the threads meanwhile.
constexpr size_t kMaxThreads = 2 * kMaxConnections;
// Connections taken from the listen queue at once.
constexpr size_t kMaxBurst = 1024;

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
    std::vector<int> burst;
    while (!stop_) {
        ReapFinished();
        burst.clear();
        for (int fd = listen_.Accept(kAcceptWaitMs); fd >= 0; fd = listen_.Accept(0)) {
            burst.push_back(fd);
            if (burst.size() == kMaxBurst) break;
        }
        // Of a burst, the older connections would give way to the newer ones at once: they are
        // hung up before they cost a thread.
        const size_t keep = std::min(burst.size(), kMaxConnections - LoggedInCount());
        for (size_t i = 0; i < burst.size(); ++i) {
            if (i + keep < burst.size() || !MakeRoom()) {
                ::close(burst[i]);
            } else {
                Serve(burst[i]);
            }
        }
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

size_t RecorderServer::LoggedInCount() const {
    return static_cast<size_t>(
        std::count_if(connections_.begin(), connections_.end(),
                      [](const Connection& c) { return !c.stop && c.logged_in; }));
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
