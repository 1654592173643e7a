#include "RecorderServer.h"

#include "RecorderSession.h"

namespace {

constexpr int kAcceptWaitMs = 50;

}  // namespace

RecorderServer::RecorderServer(std::shared_ptr<RecorderState> state) : state_(std::move(state)) {}

RecorderServer::~RecorderServer() { Stop(); }

bool RecorderServer::Start(const std::string& bind_address, uint16_t port, std::string* error) {
    if (!listen_.Open(bind_address, port, error)) return false;
    stop_ = false;
    accept_thread_ = std::thread([this] { AcceptLoop(); });
    return true;
}

void RecorderServer::Stop() {
    stop_ = true;
    if (accept_thread_.joinable()) accept_thread_.join();
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
        Connection& c = connections_.emplace_back();
        c.thread = std::thread([this, fd, &c] {
            {
                RecorderSession session(*state_, fd);
                session.Run(stop_);
            }
            c.done = true;
        });
    }
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
