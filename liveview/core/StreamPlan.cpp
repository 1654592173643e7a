#include "StreamPlan.h"

#include "DvrMachineInfo.h"

namespace {

StreamPlan Restart(uint32_t mask) {
    return {.stop = true, .play = true, .keyFrame = true, .mask = mask};
}

StreamPlan Start(uint32_t mask) {
    return {.stop = false, .play = true, .keyFrame = true, .mask = mask};
}

// While recording, the stream is restarted only when the mask changes, so the recording does
// not lose frames to every refresh.
StreamPlan RestartStreaming(bool recording, uint32_t mask, uint32_t channelMask,
                            uint32_t lastMask) {
    if (!recording) return Restart(mask);
    const uint32_t widened = mask | channelMask;
    if (widened == lastMask) return {};
    return Restart(widened);
}

}  // namespace

StreamPlan PlanCurrentView(int linkState, bool recording, uint32_t visibleMask,
                           uint32_t channelMask, uint32_t lastMask) {
    if (linkState == kLinkStreaming) {
        return RestartStreaming(recording, visibleMask, channelMask, lastMask);
    }
    if (linkState == kLinkLoggedIn) return Start(visibleMask);
    return {.keyFrame = true};
}

StreamPlan PlanHiddenView(int linkState, bool recording) {
    if (linkState == kLinkStreaming && !recording) return {.stop = true};
    return {};
}

StreamPlan PlanMappedView(int linkState, bool recording, uint32_t mappedMask, uint32_t channelMask,
                          uint32_t lastMask) {
    if (linkState == kLinkStreaming) {
        return RestartStreaming(recording, mappedMask, channelMask, lastMask);
    }
    if (linkState == kLinkLoggedIn && mappedMask != 0) return Start(mappedMask);
    return {};
}
