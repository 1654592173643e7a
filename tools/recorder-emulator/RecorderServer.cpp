#include "RecorderServer.h"

#include "RecorderSession.h"

#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr int kAcceptWaitMs = 50;
// Far more than any recorder lets log in; keeps a flood of connections from making threads.
// At the limit the oldest connection that has not logged in gives way to a new one, so idle
// connections cannot lock honest clients out.
constexpr size_t kMaxConnections = 64;
// Connections that gave way end within a poll step; this bounds the threads until then.
constexpr size_t kMaxThreads = 2 * kMaxConnections;

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
    while (!stop_) {
        ReapFinished();
        const int fd = listen_.Accept(kAcceptWaitMs);
        if (fd < 0) continue;
        if (!MakeRoom()) {
            ::close(fd);
            continue;
        }
        Connection& c = connections_.emplace_back();
        c.thread = std::thread([this, fd, &c] {
            {
                RecorderSession session(*state_, fd);
                session.Run(c.stop, c.logged_in);
            }
            c.done = true;
        });
    }
}

bool RecorderServer::MakeRoom() {
    if (connections_.size() >= kMaxThreads) return false;
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
