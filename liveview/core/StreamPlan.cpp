#include "StreamPlan.h"

namespace {

constexpr int kLoggedIn = 1;
constexpr int kStreaming = 2;

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
    if (linkState == kStreaming) {
        return RestartStreaming(recording, visibleMask, channelMask, lastMask);
    }
    if (linkState == kLoggedIn) return Start(visibleMask);
    return {.keyFrame = true};
}

StreamPlan PlanHiddenView(int linkState, bool recording) {
    if (linkState == kStreaming && !recording) return {.stop = true};
    return {};
}

StreamPlan PlanMappedView(int linkState, bool recording, uint32_t mappedMask, uint32_t channelMask,
                          uint32_t lastMask) {
    if (linkState == kStreaming) {
        return RestartStreaming(recording, mappedMask, channelMask, lastMask);
    }
    if (linkState == kLoggedIn && mappedMask != 0) return Start(mappedMask);
    return {};
}
