#include "liveview/core/window/VideoViews.h"

#include <array>
#include <utility>

#include "liveview/core/window/LiveViewIds.h"
#include "liveview/core/window/MainWindowLayout.h"
#include "platform/records/DvrMachineInfo.h"

namespace {

using namespace live_view_id;

constexpr std::array<std::pair<int, int>, 8> kLayoutButtons{{
    {kWindow4, 4},
    {kWindow9, 9},
    {kWindow16, 16},
    {kWindow25, 25},
    {kWindow36, 36},
    {kWindow64, 64},
    {kWindow144, 144},
    {kWindow256, 256},
}};

constexpr std::array<int, 5> kAllDvrLayoutButtons{kWindow25, kWindow36, kWindow64, kWindow144,
                                                  kWindow256};

constexpr std::array<int, 44> kFullWindowControls{
    kUp,          kEnter,    kLeft,      kRight,     kDown,       kIrisOpen,  kIrisClose,
    kFocusNear,   kFocusFar, kZoomIn,    kZoomOut,   kAuto,       kSpare1021, kTree,
    kStatusLabel, kCapture,  kInfo,      kAudioOn,   kAudioOff,   kAdmin,     kWindow4,
    kWindow9,     kWindow16, kWindow25,  kWindow36,  kWindow64,   kWindow144, kWindow256,
    kFullWindow,  kAdd,      kDelete,    kConnect,   kDisconnect, kSet,       kRec,
    kStopRec,     kDisk,     kSpare1022, kSpare1023, kSpare1024,  kSpare1029, kExit,
    kMinimise,    kClose,
};

}  // namespace

ViewPoint GridPointOf(ViewPoint client, bool full_window) {
    if (full_window) return client;
    const MainWindowControl& grid = *FindMainWindowControl(kGrid);
    return {client.x - grid.x, client.y - grid.y};
}

int LayoutOfButton(int id) {
    for (const auto& [button, layout] : kLayoutButtons) {
        if (button == id) return layout;
    }
    return 0;
}

std::span<const int> AllDvrLayoutButtons() { return kAllDvrLayoutButtons; }

std::span<const int> FullWindowControls() { return kFullWindowControls; }

DvrSelection PlanDvrSelection(int slot, int layout, int user_level) {
    if (slot < 0) return {};
    return {.all_dvr_view = false,
            .total = 16,
            .to_layout_16 = layout != 16,
            .pad_shown = user_level == kSuperUserLevel};
}
