#include "liveview/core/streaming/StreamPlan.h"

#include "platform/records/DvrMachineInfo.h"

namespace {

StreamPlan Restart(uint32_t mask) {
    return {.stop = true, .play = true, .key_frame = true, .mask = mask};
}

StreamPlan Start(uint32_t mask) {
    return {.stop = false, .play = true, .key_frame = true, .mask = mask};
}

// While recording, the stream is restarted only when the mask changes, so the recording does
// not lose frames to every refresh.
StreamPlan RestartStreaming(bool recording, uint32_t mask, uint32_t channel_mask,
                            uint32_t last_mask) {
    if (!recording) return Restart(mask);
    const uint32_t widened = mask | channel_mask;
    if (widened == last_mask) return {};
    return Restart(widened);
}

}  // namespace

StreamPlan PlanCurrentView(int link_state, bool recording, uint32_t visible_mask,
                           uint32_t channel_mask, uint32_t last_mask) {
    if (link_state == kLinkStreaming) {
        return RestartStreaming(recording, visible_mask, channel_mask, last_mask);
    }
    if (link_state == kLinkLoggedIn) return Start(visible_mask);
    return {.key_frame = true};
}

StreamPlan PlanHiddenView(int link_state, bool recording) {
    if (link_state == kLinkStreaming && !recording) return {.stop = true};
    return {};
}

StreamPlan PlanMappedView(int link_state, bool recording, uint32_t mapped_mask,
                          uint32_t channel_mask, uint32_t last_mask) {
    if (link_state == kLinkStreaming) {
        return RestartStreaming(recording, mapped_mask, channel_mask, last_mask);
    }
    if (link_state == kLinkLoggedIn && mapped_mask != 0) return Start(mapped_mask);
    return {};
}
