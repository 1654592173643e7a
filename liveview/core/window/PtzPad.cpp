#include "liveview/core/window/PtzPad.h"

#include <array>

#include "liveview/core/window/LiveViewIds.h"

namespace {

using namespace live_view_id;

constexpr std::array<CPtzPad::HoldButton, 10> kHoldButtons{{
    {kUp, 9},
    {kLeft, 15},
    {kRight, 11},
    {kDown, 13},
    {kIrisOpen, 18},
    {kIrisClose, 17},
    {kFocusNear, 20},
    {kFocusFar, 19},
    {kZoomIn, 22},
    {kZoomOut, 21},
}};

PtzRequest Request(int code, int channel, int action) { return {code, channel * 10 + action}; }

}  // namespace

std::span<const CPtzPad::HoldButton> CPtzPad::HoldButtons() { return kHoldButtons; }

std::vector<PtzRequest> CPtzPad::Press(int channel, Hits hits) {
    channel_ = channel;
    std::vector<PtzRequest> requests;
    if (channel < 0) return requests;
    int number = 0;
    for (int n = 1; n <= static_cast<int>(kHoldButtons.size()); ++n) {
        if (hits & (Hits{1} << (n - 1))) number = n;
    }
    if (number == 0) return requests;
    if (const auto stop = StopHeld()) requests.push_back(*stop);
    requests.push_back(Request(kHoldButtons[number - 1].code, channel, kStart));
    button_number_ = number;
    held_channel_ = channel;
    return requests;
}

std::optional<PtzRequest> CPtzPad::Release(int channel) {
    channel_ = channel;
    return StopHeld();
}

std::optional<PtzRequest> CPtzPad::Click(int code, int channel) {
    channel_ = channel;
    if (channel < 0) return std::nullopt;
    return Request(code, channel, kSingle);
}

std::optional<PtzRequest> CPtzPad::Guard(Hits hits) {
    if (hits != 0) return std::nullopt;
    return StopHeld();
}

std::optional<PtzRequest> CPtzPad::StopHeld() {
    if (button_number_ == 0) return std::nullopt;
    const PtzRequest stop = Request(kHoldButtons[button_number_ - 1].code, held_channel_, kStop);
    button_number_ = 0;
    held_channel_ = -1;
    return stop;
}
