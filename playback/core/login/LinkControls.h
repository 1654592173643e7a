#pragma once

#include <optional>

// Which controls of the playback window the recorder's link state shows and enables; an
// empty field leaves the control as it is.
struct LinkControls {
    std::optional<bool> play_shown;
    std::optional<bool> stop_shown;
    std::optional<bool> login_shown;
    std::optional<bool> logout_shown;
    std::optional<bool> cameras_enabled;  // the four camera boxes
    std::optional<bool> audio_enabled;    // both audio buttons
    std::optional<bool> speed_enabled;    // both speed buttons

    bool operator==(const LinkControls&) const = default;
};

// 0 not connected, 1 logged in, 2 streaming; 3 (link lost) and unknown states change nothing.
LinkControls ControlsForLinkState(int link_state);
