#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// The pan/tilt/zoom pad: ten buttons that steer the camera shown alone in the grid while held
// (UP, LEFT, RIGHT, DOWN, I+, I-, F+, F-, Z+, Z-, numbered 1 to 10 in that order) and ENTER and
// AUTO that act once. A press on a held button asks its camera to start, and the camera is
// asked to stop when the mouse button comes up, or when the release guard finds the pointer
// off the pad while it is still down.
//
// Each request is a command code and channel x 10 + action, where the channel is the grid cell
// shown alone. One button is held at a time, and its stop always follows its start, on the
// channel of its start, wherever the pointer is let go: a camera never goes on turning.
struct PtzRequest {
    int code = 0;
    int param = 0;  // channel x 10 + action

    bool operator==(const PtzRequest&) const = default;
};

class CPtzPad {
public:
    static constexpr int kStart = 1;
    static constexpr int kStop = 2;
    static constexpr int kSingle = 3;
    static constexpr int kEnterCode = 12;
    static constexpr int kAutoCode = 23;

    struct HoldButton {
        int id = 0;
        int code = 0;
    };
    // The ten held buttons in number order (button n at n - 1).
    static std::span<const HoldButton> HoldButtons();

    // Which held buttons the pointer lies on: bit n - 1 for button n.
    using Hits = std::uint32_t;

    // A left press; channel is the cell shown alone, or -1. A press on a held button starts
    // it (a button still held is stopped first); where two buttons share the pointer's pixel
    // the later one takes the press.
    std::vector<PtzRequest> Press(int channel, Hits hits);
    // A left release: stops the held button.
    std::optional<PtzRequest> Release(int channel);
    // ENTER or AUTO.
    std::optional<PtzRequest> Click(int code, int channel);
    // Timer 15: stops the held button once the pointer is on none of the ten.
    std::optional<PtzRequest> Guard(Hits hits);

    bool Pressed() const { return button_number_ != 0; }
    // 1..10 of the held button; 0 when none.
    int ButtonNumber() const { return button_number_; }
    // The cell the last pad event found shown alone, or -1.
    int Channel() const { return channel_; }

private:
    std::optional<PtzRequest> StopHeld();

    int button_number_ = 0;
    int held_channel_ = -1;
    int channel_ = -1;
};
