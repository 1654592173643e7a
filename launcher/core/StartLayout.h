#pragma once

// The launcher window's controls by their dialog ids.
enum class StartControl {
    kPlayer = 1000,
    kLiveView = 1001,
    kRemotePlayback = 1002,
    kUpdateTool = 1003,
    kChineseChoice = 1004,
    kEnglishChoice = 1005,
    kMinimize = 1008,
    kClose = 1009,
    kStatusLabel = 1010,
    kChineseLabel = 1011,
    kEnglishLabel = 1012,
    kChineseButton = 1013,
    kChinesePlainButton = 1014,
    kEnglishButton = 1015,
    kEnglishPlainButton = 1016,
};

struct StartRect {
    int x = 0;
    int y = 0;
    int width_px = 0;
    int height_px = 0;

    friend bool operator==(const StartRect&, const StartRect&) = default;
};

inline constexpr int kStartWidth_px = 358;
inline constexpr int kStartHeight_px = 175;

// The window centred in the screen's available area (integer halves), at its fixed size.
StartRect StartWindowPlace(const StartRect& available);

// Where a control sits within the window.
StartRect StartControlPlace(StartControl control);
