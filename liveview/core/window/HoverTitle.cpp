#include "liveview/core/window/HoverTitle.h"

bool CHoverTitle::Inside(const Rect& grid, const Point& point) {
    return grid.left < point.x && point.x < grid.right && grid.top < point.y &&
           point.y < grid.bottom;
}

std::optional<CHoverTitle::Popup> CHoverTitle::OnTick(const Tick& tick) {
    const bool inside = Inside(tick.grid, tick.cursor);
    if (shown_) {
        // The notice closes itself; here it is only forgotten once the pointer leaves its cell.
        if (inside && tick.cell != popup_cell_) shown_ = false;
        return std::nullopt;
    }
    if (tick.cursor_client != last_client_) {
        last_client_ = tick.cursor_client;
        return std::nullopt;
    }
    if (!inside || tick.cell < 0 || tick.cell_key < 0) return std::nullopt;

    Popup popup;
    popup.cell = tick.cell;
    popup.x =
        tick.cursor.x + kWidth_px > tick.grid.right ? tick.cursor.x - kWidth_px : tick.cursor.x;
    popup.y = tick.cursor.y + tick.cell_height_px + kBottomMargin_px > tick.grid.bottom
                  ? tick.cursor.y - tick.cell_height_px
                  : tick.cursor.y + tick.cell_height_px;
    shown_ = true;
    popup_cell_ = tick.cell;
    return popup;
}
