#pragma once

#include <optional>

// Timer 26's title pop-up over the small cells of the all-devices view: a cell's title opens
// beside the pointer once it rested one tick over a cell that shows a camera, and the pop-up
// is given up as soon as the pointer moves to another cell. Coordinates are screen pixels
// unless named client.
class CHoverTitle {
public:
    static constexpr int kWidth_px = 135;
    static constexpr int kHeight_px = 14;
    // Room kept below a pop-up before it flips above the pointer.
    static constexpr int kBottomMargin_px = 12;

    struct Point {
        int x = 0;
        int y = 0;
        bool operator==(const Point&) const = default;
    };

    // The grid's window rectangle; right and bottom as the window system gives them.
    struct Rect {
        int left = 0;
        int top = 0;
        int right = 0;
        int bottom = 0;
    };

    // One tick's view of the pointer and the cell under it.
    struct Tick {
        Point cursor;         // screen
        Point cursor_client;  // main window's client area
        Rect grid;
        int cell = -1;      // the grid's cell under the pointer, -1 for none
        int cell_key = -1;  // that cell's channel key, -1 for no camera
        int cell_height_px = 0;
    };

    struct Popup {
        int x = 0;
        int y = 0;
        int width_px = kWidth_px;
        int height_px = kHeight_px;
        int cell = -1;
        bool operator==(const Popup&) const = default;
    };

    // Runs one tick; a pop-up to open comes back with its place and cell.
    std::optional<Popup> OnTick(const Tick& tick);

    bool Shown() const { return shown_; }

    // Whether the pointer lies strictly inside the rectangle.
    static bool Inside(const Rect& grid, const Point& point);

private:
    Point last_client_{-1, -1};
    bool shown_ = false;
    int popup_cell_ = -1;
};
