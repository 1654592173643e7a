// The main window's timers: button states, the grid's place on screen, lost links, keeping
// awake and reconnecting, the lock's buttons, connect-thread watches and the repaint after a
// window drag.
#include <QCursor>

#include "common/ui/widgets/VideoGrid.h"
#include "liveview/app/CLiveViewDlg.h"
#include "liveview/app/DlgNotice.h"
#include "liveview/core/window/LiveViewIds.h"
#include "liveview/core/window/VideoViews.h"
#include "liveview/manager/DvrManager.h"
#include "platform/surface/VideoSurfaceView.h"

namespace {

using namespace live_view_timer;

constexpr int kRepaintDelay_ms = 200;

}  // namespace

void CLiveViewDlg::StartTimers() {
    const std::pair<int, int> timers[] = {
        {kButtonStates, 300}, {kLostLink, 1000},   {kGridRect, 200},   {kPadGuard, 350},
        {kKeepAwake, 60000},  {kLockButtons, 300}, {kHoverTitle, 100}, {kDragEnd, 100},
    };
    for (const auto& [id, period_ms] : timers)
        timers_.Start(id, period_ms);
}

void CLiveViewDlg::OnTimer(int id) {
    // A drag of the window ends its no-drawing spell at the first tick after the release.
    if (!dragging_window_) manager_.SetDragging(0);
    if (id >= kWatchBase && id < kWatchBase + CConnectThreads::kSlots) {
        OnConnectWatch(id - kWatchBase);
        return;
    }
    switch (id) {
        case kButtonStates:
            OnButtonStates();
            break;
        case kGridRect:
            OnGridRect();
            break;
        case kLostLink:
            OnLostLink();
            break;
        case kKeepAwake:
            OnKeepAwake();
            break;
        case kLockButtons:
            OnLockButtons();
            break;
        case kPadGuard:
            OnPadGuard();
            break;
        case kDiskInfo:
            OnDiskInfo();
            break;
        case kHoverTitle:
            OnHoverTitle();
            break;
        case kDragEnd:
            OnDragEnd();
            break;
        case kRepaint:
            OnRepaint();
            break;
        default:
            break;
    }
}

void CLiveViewDlg::Apply(const std::vector<ButtonStep>& steps) {
    for (const ButtonStep& step : steps) {
        QWidget* control = Control(step.id);
        switch (step.action) {
            case ButtonAction::kEnable:
                control->setEnabled(true);
                break;
            case ButtonAction::kDisable:
                control->setEnabled(false);
                break;
            case ButtonAction::kShow:
                control->show();
                break;
            case ButtonAction::kHide:
                control->hide();
                break;
        }
    }
}

void CLiveViewDlg::OnButtonStates() {
    ButtonInputs inputs;
    inputs.dvr_count = manager_.GetDvrCount();
    inputs.selected = FindSelectedItem();
    if (inputs.selected >= 0) {
        inputs.link_state = manager_.GetMachineInfo(inputs.selected).nLinkState;
        inputs.recording = manager_.IsRecording(inputs.selected) == 1;
    }
    inputs.password_lock = password_lock_;
    inputs.role = role_;
    Apply(DeviceButtonSteps(inputs));
}

void CLiveViewDlg::OnGridRect() {
    grid_window_ = GridWindowRect();
    manager_.SetGridWindowRect(grid_window_);
    if (grid_window_.left != grid_window_seen_.left || grid_window_.top != grid_window_seen_.top) {
        // Pictures drawn by the old place are wiped.
        CVideoSurfaceView::ClearUnder(grid_, grid_->rect());
        grid_->update();
    }
    grid_window_seen_ = grid_window_;
}

void CLiveViewDlg::OnLostLink() {
    for (int a = 0; a < manager_.GetDvrCount(); ++a) {
        if (manager_.GetMachineInfo(a).nLinkState != kLinkLost) continue;
        _DVR_SETTINGS_ settings;
        manager_.GetDvr(a, settings);
        SetTreeItem(settings.show_name, kImageIdle, kImageIdle, a);
        manager_.ResetDvrNetwork(a);
        if (settings.auto_connect != 1) {
            gate_->Post([this, a] { OnNetStatus(3, a); });
        }
    }
}

void CLiveViewDlg::OnKeepAwake() {
    keep_awake_.KeepAwake();
    for (int a = 0; a < manager_.GetDvrCount(); ++a) {
        _DVR_SETTINGS_ settings;
        manager_.GetDvr(a, settings);
        if (manager_.GetMachineInfo(a).nLinkState == kLinkIdle && settings.auto_connect == 1 &&
            !connect_threads_.HasThread(a)) {
            StartConnectThread(a);
        }
    }
}

void CLiveViewDlg::OnLockButtons() { Apply(LockButtonSteps(password_lock_, role_)); }

// The titles of the small cells of the all-devices view, which the grid draws without them.
void CLiveViewDlg::OnHoverTitle() {
    const int layout = grid_->Cells().Layout();
    if (FindSelectedItem() >= 0 || right_click_mark_ != 0 ||
        (layout != 64 && layout != 144 && layout != 256)) {
        return;
    }
    grid_window_ = GridWindowRect();
    manager_.SetGridWindowRect(grid_window_);
    const QPoint cursor = QCursor::pos();
    const QPoint client = mapFromGlobal(cursor);
    const ViewPoint at = GridPointOf({client.x(), client.y()}, full_window_);
    const int cell = grid_->HitTest(QPoint(at.x, at.y));
    CHoverTitle::Tick tick;
    tick.cursor = {cursor.x(), cursor.y()};
    tick.cursor_client = {client.x(), client.y()};
    tick.grid = {grid_window_.left, grid_window_.top, grid_window_.right, grid_window_.bottom};
    tick.cell = cell;
    if (cell >= 0) {
        tick.cell_key = manager_.GetWindowChannel(cell);
        tick.cell_height_px = grid_->Cells().Cell(cell).height;
    }
    const auto popup = hover_.OnTick(tick);
    if (!popup) return;
    DlgNotice::Popup(QString::fromStdString(grid_->Cells().ChannelName(popup->cell)),
                     QRect(popup->x, popup->y, popup->width_px, popup->height_px), this);
}

void CLiveViewDlg::OnConnectWatch(int slot) {
    if (connect_threads_.Watch(slot)) timers_.Kill(kWatchBase + slot);
}

// One background repaint follows start-up and the end of each window drag.
void CLiveViewDlg::OnDragEnd() {
    if (manager_.GetGdiMode() != 1) return;
    if (manager_.IsDragging() == 1) {
        repaint_armed_ = false;
    } else if (!repaint_armed_) {
        repaint_armed_ = true;
        timers_.Start(kRepaint, kRepaintDelay_ms);
    }
}

void CLiveViewDlg::OnRepaint() {
    update();
    timers_.Kill(kRepaint);
}
