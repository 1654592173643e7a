#pragma once

#include <atomic>

// The window is moved by pressing on its background. While it moves, the window-drag flag
// is set: the decode thread then pauses instead of drawing, and the background is repainted
// once about 200 ms after the move (and once after start-up).
class CWindowDrag {
public:
    explicit CWindowDrag(std::atomic<int>& window_drag_flag) : flag_(window_drag_flag) {}

    // A press outside the video window starts a move.
    void Press();
    // The button is released: the move ends.
    void Release() { moving_ = false; }
    // Any timer message: the flag drops once the move has ended.
    void OnTimerMessage();
    // Timer 60 (100 ms): true when the one-shot repaint timer 50 starts now.
    bool OnDragWatch();

    bool Moving() const { return moving_; }

private:
    std::atomic<int>& flag_;
    bool moving_ = false;
    bool repaint_armed_ = false;  // timer 50 pending or done since the last move
};
