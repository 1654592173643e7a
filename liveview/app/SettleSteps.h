#pragma once

#include <QObject>
#include <QTimer>
#include <deque>
#include <functional>

// Steps of the main window that wait a while after the one before them (the frame threads
// settle on a new view meanwhile), run by a timer so the window thread keeps painting and
// answering in between. Steps run in the order they were added. A new view change first
// runs whatever is still waiting, at once and in order, so no step is lost or overtaken.
class CSettleSteps : public QObject {
    Q_OBJECT

public:
    using Step = std::function<void()>;

    explicit CSettleSteps(QObject* parent = nullptr);

    // Runs step once delay_ms have passed after the step added before it ran (or now).
    void Then(int delay_ms, Step step);
    // Runs every waiting step now, in order.
    void Flush();
    // Forgets the waiting steps (the window is closing).
    void Drop();
    bool Waiting() const { return !steps_.empty(); }

private:
    struct Pending {
        int delay_ms;
        Step step;
    };
    void RunFirst();

    QTimer timer_;
    std::deque<Pending> steps_;
};
