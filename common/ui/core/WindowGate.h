#pragma once

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

// How worker threads reach a window: tasks handed to the window thread through a poster the
// window provides (a queued call), never run on the worker. Once the window closes the gate,
// tasks still queued are skipped, new ones are dropped and every worker waiting in Call is let
// go, so a thread that outlives the window never touches it. Workers hold the gate by
// shared_ptr; it outlives the window.
class CWindowGate : public std::enable_shared_from_this<CWindowGate> {
public:
    using Task = std::function<void()>;
    // Queues a task to run on the window thread; must be callable from any thread.
    using Poster = std::function<void(Task)>;

    // Made on the window thread, which Call then recognises.
    static std::shared_ptr<CWindowGate> Create(Poster poster);

    // Any thread: queues the task. false when the gate is closed (nothing queued).
    bool Post(Task task);
    // Waits until the task has run on the window thread, or until the gate closes (the task
    // then may never run). On the window thread itself it runs the task at once.
    void Call(Task task);
    // Window thread, before the window goes.
    void Close();
    bool IsClosed() const;

private:
    explicit CWindowGate(Poster poster);

    Poster poster_;
    const std::thread::id window_thread_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    bool closed_ = false;
};
