#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "liveview/core/streaming/WindowMap.h"

// The all-devices view's channel menu: a right press on a cell offers the camera it shows (or
// "NONE") and a sub-menu of cameras per linked device; choosing one puts that camera in the
// cell, or, when some cell shows it already, empties that cell.
//
// Command ids: 400000 + cell x 10000 + channel key for a camera, 40000000 for "NONE". A record
// holds 16 channels, so a sub-menu lists at most 16: a type code that claims 100 or more
// channels would otherwise make ids that name another device's cameras.
constexpr int kChannelCommandBase = 400000;
constexpr int kChannelCommandNone = 40000000;
constexpr int kChannelMenuChannels = 16;

struct ChannelMenuItem {
    std::string text;
    int id = 0;
    bool checked = false;

    bool operator==(const ChannelMenuItem&) const = default;
};

struct ChannelSubMenu {
    std::string title;
    std::vector<ChannelMenuItem> items;

    bool operator==(const ChannelSubMenu&) const = default;
};

struct ChannelMenuModel {
    ChannelMenuItem first;  // what the cell shows; a separator follows it
    std::vector<ChannelSubMenu> devices;
};

// What the menu needs of one device slot.
struct ChannelMenuDevice {
    std::string show_name;
    int link_state = 0;
    int32_t type_code = 0;
};

// A chosen camera and the cell the menu was opened on.
struct ChannelCommand {
    int cell = 0;
    int32_t key = CWindowMap::kNoChannel;

    bool operator==(const ChannelCommand&) const = default;
};

// Channels a device's sub-menu lists: its type code's channel count, at most 16.
int ChannelMenuChannels(int32_t type_code);
int ChannelCommandId(int cell, int32_t key);
// The command of a menu id; nothing for "NONE" and for ids that name no cell 0..255. The key
// may name any camera a store can hold (a channel past the menu's included), so that a cell's
// own item takes back whatever the cell shows.
std::optional<ChannelCommand> DecodeChannelCommand(int id);
// A cell's title in the all-devices view: "<show name>:CH03" for channel 2.
std::string ChannelTitle(const std::string& show_name, int32_t key);

// The menu of a cell that shows cell_key; shown(key) tells whether a camera is in some cell.
ChannelMenuModel MakeChannelMenu(int cell, int32_t cell_key,
                                 std::span<const ChannelMenuDevice> devices,
                                 const std::function<bool(int32_t)>& shown);

// Whether the menu can offer the key's camera: a device slot 0..63, a channel 0..15.
bool IsMenuCamera(int32_t key);

// Carries the command out on a window map (CWindowMap, or the device manager that owns one):
// a camera in no cell goes into the command's cell, replacing what it showed; a camera shown
// already leaves the cell that shows it. The cell emptied, or -1 when the camera was placed
// or, being none the menu offers, left out.
template <class Map>
int ApplyChannelCommand(Map& map, const ChannelCommand& command) {
    const int shown_in = map.FindWindowOfChannel(command.key);
    if (shown_in < 0) {
        if (IsMenuCamera(command.key)) map.SetWindowChannel(command.cell, command.key);
        return -1;
    }
    map.SetWindowChannel(shown_in, CWindowMap::kNoChannel);
    return shown_in;
}
