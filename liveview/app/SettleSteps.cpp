#include "liveview/app/SettleSteps.h"

#include <utility>

CSettleSteps::CSettleSteps(QObject* parent) : QObject(parent) {
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &CSettleSteps::RunFirst);
}

void CSettleSteps::Then(int delay_ms, Step step) {
    steps_.push_back({delay_ms, std::move(step)});
    if (!timer_.isActive()) timer_.start(steps_.front().delay_ms);
}

void CSettleSteps::Flush() {
    timer_.stop();
    // A step may add steps of its own; they run here too.
    while (!steps_.empty()) {
        const Step step = std::move(steps_.front().step);
        steps_.pop_front();
        step();
    }
}

void CSettleSteps::Drop() {
    timer_.stop();
    steps_.clear();
}

void CSettleSteps::RunFirst() {
    if (steps_.empty()) return;
    const Step step = std::move(steps_.front().step);
    steps_.pop_front();
    step();
    if (!steps_.empty() && !timer_.isActive()) timer_.start(steps_.front().delay_ms);
}
