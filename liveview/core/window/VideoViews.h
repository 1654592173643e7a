#pragma once

#include <span>

// What the main window's video window shows, as rules without a window: where a press lands in
// the grid, which layout each button asks for, what selecting a tree item does to the view,
// and which controls make way for full window.

struct ViewPoint {
    int x = 0;
    int y = 0;

    bool operator==(const ViewPoint&) const = default;
};

// A press at a client point of the main window as a point of the grid: in full window the grid
// lies at (0, 0), otherwise at its place in the window's layout, so a press acts on the cell
// under the pointer.
ViewPoint GridPointOf(ViewPoint client, bool full_window);

// Cells per screen of a layout button; 0 for any other control.
int LayoutOfButton(int id);
// The layout buttons of the all-devices view alone (25 to 256 cells).
std::span<const int> AllDvrLayoutButtons();
// The controls full window moves out of sight, in the order they go; leaving full window puts
// the same ones back at their places.
std::span<const int> FullWindowControls();

// What selecting a tree item does to the view.
struct DvrSelection {
    bool all_dvr_view = true;   // the root: every device's cameras, 256 cells
    int total = 256;            // cells the grid pages through
    bool to_layout_16 = false;  // a device shown at another layout goes to 16 at page 0
    bool pad_shown = true;
};

// slot: the selected device, -1 for the root; layout: the grid's now (1 in single mode);
// user_level: the device's.
DvrSelection PlanDvrSelection(int slot, int layout, int user_level);
