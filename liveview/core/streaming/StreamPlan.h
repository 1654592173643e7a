#pragma once

#include <cstdint>

// Link states: 1 logged in and idle, 2 streaming.
//
// What one refresh asks of a device's connection, in this order: stop the live view, play
// `mask` (which then becomes the device's last stream mask), request a key frame.
struct StreamPlan {
    bool stop = false;
    bool play = false;
    bool key_frame = false;
    uint32_t mask = 0;

    bool operator==(const StreamPlan&) const = default;
};

// The device shown in the single-device view. A recording device streams its recorded
// channels as well, and is restarted only when that widened mask changes.
StreamPlan PlanCurrentView(int link_state, bool recording, uint32_t visible_mask,
                           uint32_t channel_mask, uint32_t last_mask);

// A device not shown: it stops streaming unless it records.
StreamPlan PlanHiddenView(int link_state, bool recording);

// A device in the all-devices view, by the channels its cells show. An idle device with no
// cell is left idle.
StreamPlan PlanMappedView(int link_state, bool recording, uint32_t mapped_mask,
                          uint32_t channel_mask, uint32_t last_mask);
