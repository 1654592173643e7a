#pragma once

// What a slider tells its parent window, with the control's id and the new position: while
// its thumb is dragged, and when a move is complete (button released, key handled).
inline constexpr int WM_IMAGESLIDER_MOVING = 10449;
inline constexpr int WM_IMAGESLIDER_CHANGED = 10450;

struct SliderPost {
    int message = 0;
    int position = 0;

    bool operator==(const SliderPost&) const = default;
};
