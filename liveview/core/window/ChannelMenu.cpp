#include "liveview/core/window/ChannelMenu.h"

#include <algorithm>
#include <cstdio>

#include "liveview/core/store/DvrList.h"
#include "platform/records/DvrMachineInfo.h"

namespace {

constexpr int kCellStride = 10000;

std::string ChannelText(int channel) {
    char text[16];
    std::snprintf(text, sizeof text, "CH%02d", channel + 1);
    return text;
}

}  // namespace

int ChannelMenuChannels(int32_t type_code) {
    return std::clamp(static_cast<int>(type_code % 1000), 0, kChannelMenuChannels);
}

int ChannelCommandId(int cell, int32_t key) {
    return kChannelCommandBase + cell * kCellStride + key;
}

std::optional<ChannelCommand> DecodeChannelCommand(int id) {
    if (id < kChannelCommandBase || id == kChannelCommandNone) return std::nullopt;
    const ChannelCommand command{(id - kChannelCommandBase) / kCellStride,
                                 (id - kChannelCommandBase) % kCellStride};
    if (command.cell >= CWindowMap::kCells) return std::nullopt;
    return command;
}

bool IsMenuCamera(int32_t key) {
    return key >= 0 && KeyDevice(key) < CDvrList::kMaxDvrs &&
           KeyChannel(key) < kChannelMenuChannels;
}

std::string ChannelTitle(const std::string& show_name, int32_t key) {
    return show_name + ":" + ChannelText(KeyChannel(key));
}

ChannelMenuModel MakeChannelMenu(int cell, int32_t cell_key,
                                 std::span<const ChannelMenuDevice> devices,
                                 const std::function<bool(int32_t)>& shown) {
    ChannelMenuModel menu;
    const int device = KeyDevice(cell_key);
    if (KeyChannel(cell_key) < 0) {
        menu.first = {"NONE", kChannelCommandNone, false};
    } else {
        const bool listed = device >= 0 && device < static_cast<int>(devices.size());
        const std::string name = listed ? devices[device].show_name : "";
        menu.first = {ChannelTitle(name, cell_key), ChannelCommandId(cell, cell_key), false};
    }
    for (std::size_t i = 0; i < devices.size(); ++i) {
        if (devices[i].link_state == kLinkIdle) continue;
        ChannelSubMenu sub{devices[i].show_name, {}};
        for (int channel = 0; channel < ChannelMenuChannels(devices[i].type_code); ++channel) {
            const int32_t key = MakeChannelKey(static_cast<int>(i), channel);
            sub.items.push_back({ChannelText(channel), ChannelCommandId(cell, key), shown(key)});
        }
        menu.devices.push_back(std::move(sub));
    }
    return menu;
}
