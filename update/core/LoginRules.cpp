#include "update/core/LoginRules.h"

#include "platform/records/DvrMachineInfo.h"
#include "update/core/ToolText.h"

std::optional<std::string> LoginRefusalText(int result) {
    switch (result) {
        case -4:
            return kTooMuchUserText;
        case -3:
            return kSuperUserBusyText;
        case -2:
            return kLoginErrorText;
        default:
            return std::nullopt;
    }
}

LinkTick LinkTickFor(int link_state) {
    switch (link_state) {
        case kLinkIdle:
            return {LinkButtons{true, false, false, false}, false};
        case kLinkLoggedIn:
            return {LinkButtons{false, true, true, true}, false};
        case kLinkLost:
            return {std::nullopt, true};
        default:
            return {};
    }
}

bool LinkUp(int link_state) { return link_state == kLinkLoggedIn || link_state == kLinkStreaming; }
