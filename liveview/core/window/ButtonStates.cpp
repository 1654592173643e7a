#include "liveview/core/window/ButtonStates.h"

#include <initializer_list>

#include "liveview/core/window/LiveViewIds.h"
#include "platform/records/DvrMachineInfo.h"

namespace {

using enum ButtonAction;
using namespace live_view_id;

constexpr int kUserRole = 2;

void Add(std::vector<ButtonStep>& steps, ButtonAction action, std::initializer_list<int> ids) {
    for (int id : ids)
        steps.push_back({id, action});
}

}  // namespace

std::vector<ButtonStep> DeviceButtonSteps(const ButtonInputs& in) {
    std::vector<ButtonStep> steps;
    const bool user_locked = in.password_lock && in.role == kUserRole;
    if (in.dvr_count <= 0) {
        Add(steps, kDisable, {kConnect, kDisconnect, kLive, kStop, kSet, kRec});
        Add(steps, kShow, {kConnect});
        Add(steps, kHide, {kDisconnect});
        Add(steps, kShow, {kRec});
        Add(steps, kHide, {kStopRec});
        return steps;
    }
    if (in.selected < 0) {
        Add(steps, kEnable, {kConnect});
        Add(steps, kShow, {kConnect});
        Add(steps, kHide, {kDisconnect});
        Add(steps, kDisable, {kSet, kRec, kStopRec});
        return steps;
    }
    switch (in.link_state) {
        case kLinkIdle:
            Add(steps, kEnable, {kConnect});
            Add(steps, kDisable, {kDisconnect, kLive, kStop, kRec, kStopRec});
            Add(steps, kShow, {kConnect});
            Add(steps, kHide, {kDisconnect});
            Add(steps, kShow, {kRec});
            Add(steps, kHide, {kStopRec});
            if (!user_locked) Add(steps, kEnable, {kSet});
            break;
        case kLinkLoggedIn:
            Add(steps, kDisable, {kConnect});
            Add(steps, kEnable, {kDisconnect, kLive, kStop});
            Add(steps, kDisable, {kRec, kStopRec});
            Add(steps, kHide, {kConnect});
            Add(steps, kShow, {kDisconnect, kRec});
            Add(steps, kHide, {kStopRec});
            break;
        case kLinkStreaming:
            Add(steps, kDisable, {kConnect});
            Add(steps, kEnable, {kDisconnect});
            Add(steps, kDisable, {kLive});
            Add(steps, kEnable, {kStop});
            Add(steps, kHide, {kConnect});
            Add(steps, kShow, {kDisconnect});
            if (in.recording) {
                Add(steps, kHide, {kRec});
                Add(steps, kShow, {kStopRec});
                Add(steps, kDisable, {kRec});
                Add(steps, kEnable, {kStopRec});
                Add(steps, kDisable, {kSet});
            } else {
                Add(steps, kShow, {kRec});
                Add(steps, kHide, {kStopRec});
                Add(steps, kDisable, {kStopRec});
                if (!user_locked) Add(steps, kEnable, {kRec, kSet});
            }
            break;
        default:  // a lost link keeps the buttons until timer 12 resets it
            break;
    }
    if (user_locked) Add(steps, kDisable, {kSet, kRec});
    return steps;
}

std::vector<ButtonStep> LockButtonSteps(bool password_lock, int role) {
    std::vector<ButtonStep> steps;
    if (password_lock) Add(steps, role == 1 ? kEnable : kDisable, {kAdd, kDelete, kAdmin});
    return steps;
}
