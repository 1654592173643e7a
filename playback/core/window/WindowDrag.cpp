#include "playback/core/window/WindowDrag.h"

void CWindowDrag::Press() {
    moving_ = true;
    flag_.store(1, std::memory_order_relaxed);
}

void CWindowDrag::OnTimerMessage() {
    if (!moving_) flag_.store(0, std::memory_order_relaxed);
}

bool CWindowDrag::OnDragWatch() {
    if (flag_.load(std::memory_order_relaxed) == 1) {
        repaint_armed_ = false;
        return false;
    }
    if (repaint_armed_) return false;
    repaint_armed_ = true;
    return true;
}
