#include "liveview/core/dialogs/ChannelBoxes.h"

ChannelBoxStates ChannelBoxesOf(int32_t channel_mask) {
    ChannelBoxStates boxes{};
    for (int n = 0; n < kChannelBoxes; ++n)
        boxes[n] = (static_cast<uint32_t>(channel_mask) >> n & 1) != 0;
    return boxes;
}

int32_t ChannelMaskOf(const ChannelBoxStates& boxes) {
    uint32_t mask = 0;
    for (int n = 0; n < kChannelBoxes; ++n) {
        if (boxes[n]) mask |= 1u << n;
    }
    return static_cast<int32_t>(mask);
}

CAllChannelsToggle& CAllChannelsToggle::Program() {
    static CAllChannelsToggle toggle;
    return toggle;
}
