#include "playback/core/login/LinkControls.h"

#include "platform/records/DvrMachineInfo.h"

LinkControls ControlsForLinkState(int link_state) {
    switch (link_state) {
        case kLinkIdle:
            return {true, false, true, false, false, true, true};
        case kLinkLoggedIn:
            return {true, false, false, true, true, true, true};
        case kLinkStreaming:
            return {false, true, false, true, false, false, std::nullopt};
        default:
            return {};
    }
}
