#include "common/ui/widgets/WindowTimers.h"

#include <QTimer>
#include <utility>

CWindowTimers::CWindowTimers(QObject* window, Handler handler)
    : window_(window), handler_(std::move(handler)) {}

void CWindowTimers::Start(int id, int period_ms, bool single_shot) {
    QTimer*& timer = timers_[id];
    if (timer == nullptr) {
        timer = new QTimer(window_);
        QObject::connect(timer, &QTimer::timeout, window_, [this, id] { handler_(id); });
    }
    timer->setSingleShot(single_shot);
    timer->start(period_ms);
}

void CWindowTimers::Kill(int id) {
    if (const auto it = timers_.find(id); it != timers_.end()) it->second->stop();
}

void CWindowTimers::KillAll() {
    for (auto& [id, timer] : timers_)
        timer->stop();
}

bool CWindowTimers::IsActive(int id) const {
    const auto it = timers_.find(id);
    return it != timers_.end() && it->second->isActive();
}

int CWindowTimers::Interval(int id) const {
    const auto it = timers_.find(id);
    return it == timers_.end() ? -1 : it->second->interval();
}
