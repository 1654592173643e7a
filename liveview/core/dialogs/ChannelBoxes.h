#pragma once

#include <array>
#include <cstdint>

// The sixteen "Rec Channel" boxes of the settings dialog and the device's channel mask: box n
// (from 1) is bit n - 1.
inline constexpr int kChannelBoxes = 16;
using ChannelBoxStates = std::array<bool, kChannelBoxes>;

ChannelBoxStates ChannelBoxesOf(int32_t channel_mask);
int32_t ChannelMaskOf(const ChannelBoxStates& boxes);

// The "all" box: one toggle for the whole run, not reset when the dialog opens again, so the
// first click after the program starts checks every box and the next clears them.
class CAllChannelsToggle {
public:
    // Flips the toggle and gives the state every box takes.
    bool Flip() {
        on_ = !on_;
        return on_;
    }

    // The program's one toggle.
    static CAllChannelsToggle& Program();

private:
    bool on_ = false;
};
