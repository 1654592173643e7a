#include "common/ui/core/WindowGate.h"

std::shared_ptr<CWindowGate> CWindowGate::Create(Poster poster) {
    return std::shared_ptr<CWindowGate>(new CWindowGate(std::move(poster)));
}

CWindowGate::CWindowGate(Poster poster)
    : poster_(std::move(poster)), window_thread_(std::this_thread::get_id()) {}

bool CWindowGate::Post(Task task) {
    std::lock_guard lock(mutex_);
    if (closed_) return false;
    // Posted under the lock: Close cannot complete, and the window cannot go, in between.
    poster_([gate = shared_from_this(), task = std::move(task)] {
        if (!gate->IsClosed()) task();
    });
    return true;
}

void CWindowGate::Call(Task task) {
    if (std::this_thread::get_id() == window_thread_) {
        if (!IsClosed()) task();
        return;
    }
    auto done = std::make_shared<bool>(false);
    const bool posted = Post([gate = shared_from_this(), done, task = std::move(task)] {
        task();
        std::lock_guard lock(gate->mutex_);
        *done = true;
        gate->changed_.notify_all();
    });
    if (!posted) return;
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return *done || closed_; });
}

void CWindowGate::Close() {
    std::lock_guard lock(mutex_);
    closed_ = true;
    changed_.notify_all();
}

bool CWindowGate::IsClosed() const {
    std::lock_guard lock(mutex_);
    return closed_;
}
