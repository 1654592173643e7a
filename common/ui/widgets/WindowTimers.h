#pragma once

#include <QObject>
#include <functional>
#include <map>

class QTimer;

// A window's timers by id: starting an id that runs restarts it with the new period, killing
// one that never ran does nothing, and every tick calls the handler with the id on the
// window's thread. The timers go with the window.
class CWindowTimers {
public:
    using Handler = std::function<void(int id)>;

    CWindowTimers(QObject* window, Handler handler);

    void Start(int id, int period_ms, bool single_shot = false);
    void Kill(int id);
    void KillAll();
    bool IsActive(int id) const;
    // The period the id last started with; -1 for an id never started.
    int Interval(int id) const;

private:
    QObject* window_;
    Handler handler_;
    std::map<int, QTimer*> timers_;
};
