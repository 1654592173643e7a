#include "common/ui/core/VideoGridLayout.h"
#include "liveview/core/streaming/NetParameter.h"
#include "liveview/manager/DvrManager.h"
#include "liveview/manager/EngineLog.h"

namespace {

constexpr uint32_t kAllChannels = 0xffff;

// A device that is not logged in refuses every call as a matter of course: no diagnostic line.
bool IsLoggedIn(const _DVR_MACHINE_INFO_& info) {
    return info.nLinkState == kLinkLoggedIn || info.nLinkState == kLinkStreaming;
}

}  // namespace

int CDvrManager::NoteNetCall(int a, const char* call, int result) const {
    if (result < 0) {
        EngineDiag(
            spdlog::level::warn, [&] { return DiagWhere(a); }, "{} failed: {}", call, result);
    }
    return result;
}

int CDvrManager::StartLiveView(int a) {
    if (!IsSlot(a)) return -1;
    NetCtrl& connection = slots_.Connection(a);
    const _DVR_MACHINE_INFO_ info = connection.GetMachineInfe();
    if (info.nLinkState != kLinkLoggedIn) return -1;
    _DVR_SETTINGS_ entry;
    if (GetDvr(a, entry) < 0) return -1;
    const NetParameter parameter =
        LiveViewNetParameter(info.nUserLevel, entry.quality_index, entry.frame_rate_index);
    NoteNetCall(a, "SetNetParameter",
                connection.SetNetParameter(parameter.rate_value, parameter.frames_per_second, 0));
    NoteNetCall(a, "NetLocalViewPlay", connection.NetLocalViewPlay(kAllChannels, entry.send_audio));
    return 1;
}

int CDvrManager::StopLiveView(int a) {
    if (!IsSlot(a)) return -1;
    if (slots_.Connection(a).GetMachineInfe().nLinkState != kLinkStreaming) return 1;
    return NoteNetCall(a, "StopNetLocalView", slots_.Connection(a).StopNetLocalView()) == 1 ? 1
                                                                                            : -1;
}

int CDvrManager::ApplyNetParameter(int a) {
    if (!IsDevice(a)) return -1;
    const _DVR_SETTINGS_& entry = registry_.Settings(a);
    const _DVR_MACHINE_INFO_ info = slots_.Connection(a).GetMachineInfe();
    const NetParameter parameter =
        ChangedNetParameter(info.nUserLevel, entry.quality_index, entry.frame_rate_index);
    const int result =
        slots_.Connection(a).SetNetParameter(parameter.rate_value, parameter.frames_per_second, 0);
    if (IsLoggedIn(info)) NoteNetCall(a, "SetNetParameter", result);
    return 1;
}

VisibleCells CDvrManager::VisibleCellsNow() const {
    VisibleCells visible;
    if (const CVideoGridLayout* grid = grid_.load(std::memory_order_acquire)) {
        for (int cell = 0; cell < kVideoCells; ++cell)
            visible[cell] = grid->IsVisible(cell);
    }
    return visible;
}

void CDvrManager::ApplyPlan(int a, const StreamPlan& plan) {
    NetCtrl& connection = slots_.Connection(a);
    if (plan.stop) NoteNetCall(a, "StopNetLocalView", connection.StopNetLocalView());
    if (plan.play) {
        slots_.LastStreamMask(a) = plan.mask;
        NoteNetCall(a, "NetLocalViewPlay",
                    connection.NetLocalViewPlay(static_cast<int>(plan.mask),
                                                registry_.Settings(a).send_audio));
    }
    if (plan.key_frame) NoteNetCall(a, "CreateNetKeyFrame", connection.CreateNetKeyFrame());
}

int CDvrManager::RefreshLiveViews() {
    for (int a = 0; a < GetDvrCount(); ++a) {
        const _DVR_MACHINE_INFO_ info = slots_.Connection(a).GetMachineInfe();
        if (info.nUserLevel != kSuperUserLevel) {
            const int result = slots_.Connection(a).CreateNetKeyFrame();
            if (IsLoggedIn(info)) NoteNetCall(a, "CreateNetKeyFrame", result);
        } else if (a == GetCurrentDvr()) {
            RefreshCurrentDvrView(a);
        } else {
            StopHiddenDvrView(a);
        }
    }
    RefreshMappedViews();
    return 1;
}

int CDvrManager::RefreshCurrentDvrView(int a) {
    if (!IsSlot(a)) return -1;
    ApplyPlan(a, PlanCurrentView(slots_.Connection(a).GetMachineInfe().nLinkState,
                                 slots_.Recording(a), VisibleCellMask(VisibleCellsNow()),
                                 static_cast<uint32_t>(registry_.Settings(a).channel_mask),
                                 slots_.LastStreamMask(a)));
    return 1;
}

int CDvrManager::StopHiddenDvrView(int a) {
    if (!IsSlot(a)) return -1;
    ApplyPlan(
        a, PlanHiddenView(slots_.Connection(a).GetMachineInfe().nLinkState, slots_.Recording(a)));
    return 1;
}

int CDvrManager::RefreshMappedViews() {
    if (!IsAllDvrMode()) return -1;
    const std::array<uint32_t, kMaxDvrs> mapped_masks =
        MappedMasks(VisibleCellsNow(), registry_.WindowMap());
    for (int a = 0; a < kMaxDvrs; ++a) {
        const _DVR_MACHINE_INFO_ info = slots_.Connection(a).GetMachineInfe();
        if (info.nUserLevel != kSuperUserLevel) continue;
        ApplyPlan(a, PlanMappedView(info.nLinkState, slots_.Recording(a), mapped_masks[a],
                                    static_cast<uint32_t>(registry_.Settings(a).channel_mask),
                                    slots_.LastStreamMask(a)));
    }
    return 1;
}
