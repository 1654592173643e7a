#pragma once

#include <optional>
#include <string>

// What the operator is told when NetCtrl::ConnectToServer refuses; nothing for results
// without a message of their own.
std::optional<std::string> LoginRefusalText(int result);

// Buttons of the main window as the link state sets them on a tick of its 500 ms timer.
struct LinkButtons {
    bool connect = false;
    bool disconnect = false;
    bool soft_update = false;
    bool channel_title = false;
};

struct LinkTick {
    std::optional<LinkButtons> buttons;  // nothing: the buttons stay as they are
    bool reset_network = false;          // a lost link is recovered on every tick
};

LinkTick LinkTickFor(int link_state);

// True while the tool is logged in to a recorder; a lost link, once reset, is no longer.
bool LinkUp(int link_state);
