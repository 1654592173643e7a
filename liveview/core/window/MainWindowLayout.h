#pragma once

#include <array>
#include <span>

// Where every control of the live view's main window sits, and how it is skinned: client
// pixels of the window in its normal layout. Skin images are skin1/<stem><n>.bmp; a button
// with three images shows its normal image when disabled.
struct MainWindowControl {
    int id = 0;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    const char* stem = nullptr;          // skinned buttons only
    int images = 0;                      // 3 or 4
    const char* tooltip_key = nullptr;   // language key of the tooltip
    const char* tooltip_text = nullptr;  // a fixed tooltip in place of a key
    bool shown_at_start = true;
};

constexpr int kMainWindowWidth_px = 1024;
constexpr int kMainWindowHeight_px = 738;
// The height the window gets back after full window.
constexpr int kMainWindowRestoredHeight_px = 735;

// The controls in the order they are placed (the grid last).
std::span<const MainWindowControl> MainWindowControls();
// Plain buttons of the template, hidden for the whole run.
std::span<const MainWindowControl> HiddenPlainButtons();
// The control of an id in either table, nullptr when there is none.
const MainWindowControl* FindMainWindowControl(int id);
// The skinned buttons in the order they are skinned.
std::span<const int> SkinOrder();
