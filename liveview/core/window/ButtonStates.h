#pragma once

#include <vector>

// What the main window's timers do to its device buttons, as steps applied in order.
enum class ButtonAction { kEnable, kDisable, kShow, kHide };

struct ButtonStep {
    int id = 0;
    ButtonAction action = ButtonAction::kEnable;

    bool operator==(const ButtonStep&) const = default;
};

// The window's state that the button rules read.
struct ButtonInputs {
    int dvr_count = 0;
    int selected = -1;   // device slot of the tree's selection, -1 for the root
    int link_state = 0;  // of the selected device
    bool recording = false;
    bool password_lock = false;  // the start-up password check was passed
    int role = 0;                // 1 admin, 2 user
};

// Timer 10: CONNECT/DISCONNECT, the hidden LIVE/STOP, SET and LOCAL REC/STOP by the list, the
// selection, the selected device's link state and recording, and the lock's role.
std::vector<ButtonStep> DeviceButtonSteps(const ButtonInputs& inputs);

// Timer 14: under the password lock, ADD, DEL and ADMIN only for the admin role.
std::vector<ButtonStep> LockButtonSteps(bool password_lock, int role);
