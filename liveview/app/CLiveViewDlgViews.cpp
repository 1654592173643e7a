// The video window's views: layout buttons and paging, a cell enlarged and back, full window
// and its way back on Esc, what a tree selection shows, and the all-devices view's channel
// menu over the device manager's window map.
#include <QMenu>
#include <QScreen>
#include <optional>

#include "common/ui/widgets/SegmentLabel.h"
#include "common/ui/widgets/VideoGrid.h"
#include "liveview/app/CLiveViewDlg.h"
#include "liveview/app/SettleSteps.h"
#include "liveview/core/streaming/ConnectMessages.h"
#include "liveview/core/window/ChannelMenu.h"
#include "liveview/core/window/LiveViewIds.h"
#include "liveview/core/window/MainWindowLayout.h"
#include "liveview/core/window/VideoViews.h"
#include "liveview/manager/DvrManager.h"
#include "platform/surface/VideoSurfaceView.h"

namespace {

using namespace live_view_id;

// The window lets the frame threads settle this long after a selection and a channel command
// before it repaints the grid, so they have started on the new cameras; it keeps painting and
// answering meanwhile.
constexpr int kSelectionSettle_ms = 300;
constexpr int kChannelSettle_ms = 3000;
// Where the controls wait while the grid fills the screen.
constexpr QRect kOutOfSight(-50, -50, 20, 20);
// The status label's area, repainted with the window's background after a selection.
constexpr QRect kLabelArea(QPoint(810, 580), QPoint(990, 630));

QPoint ToQPoint(ViewPoint p) { return {p.x, p.y}; }
ViewPoint ToViewPoint(const QPoint& p) { return {p.x(), p.y()}; }
QString Qs(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

bool CLiveViewDlg::InGrid(const QPoint& screen_point) const {
    const ScreenRect grid = GridWindowRect();
    return grid.left < screen_point.x() && screen_point.x() < grid.right &&
           grid.top < screen_point.y() && screen_point.y() < grid.bottom;
}

void CLiveViewDlg::EraseGrid() {
    CVideoSurfaceView::ClearUnder(grid_, grid_->rect());
    grid_->update();
}

bool CLiveViewDlg::Settling() const { return settle_->Waiting(); }

void CLiveViewDlg::OnLayout(int layout) {
    settle_->Flush();
    manager_.SetSkipOneFrame();
    grid_->SetLayout(layout);
    // The repaint after the settle covers what frame threads drew meanwhile, a picture that
    // landed in its cell's old place included.
    settle_->Then(CVideoGrid::kLayoutSettle_ms, [this] {
        EraseGrid();
        manager_.RefreshLiveViews();
    });
}

void CLiveViewDlg::OnLButtonDown(const QPoint& client) {
    right_click_mark_ = 0;
    const QPoint cursor = mapToGlobal(client);
    if (InGrid(cursor)) {
        settle_->Flush();
        manager_.SetSkipOneFrame();
        grid_->SelectAt(ToQPoint(GridPointOf(ToViewPoint(client), full_window_)));
        manager_.RefreshLiveViews();
        return;
    }
    // The frame threads draw nothing while the window moves.
    manager_.SetDragging(1);
    dragging_window_ = true;
    drag_offset_ = cursor - pos();
}

void CLiveViewDlg::OnFullWindow() {
    const QSize screen_size = screen()->geometry().size();
    manager_.SetSkipOneFrame();
    setGeometry(QRect(QPoint(0, 0), screen_size));
    for (int id : FullWindowControls())
        Control(id)->setGeometry(kOutOfSight);
    grid_->setGeometry(QRect(QPoint(0, 0), screen_size));
    full_window_ = true;
    FollowGrid();
}

void CLiveViewDlg::FollowGrid() {
    // Pictures drawn by the grid's old place, or still on their way there, must not stay
    // outside the grid: the surface keeps them inside it, and the frame threads draw by the
    // new place at once rather than at the next tick of timer 11.
    CVideoSurfaceView::ClipTo(grid_);
    OnGridRect();
}

void CLiveViewDlg::RestoreLayout() {
    setGeometry(0, 0, kMainWindowWidth_px, kMainWindowRestoredHeight_px);
    for (int id : FullWindowControls()) {
        const MainWindowControl& c = *FindMainWindowControl(id);
        Control(id)->setGeometry(c.x, c.y, c.width, c.height);
    }
    const MainWindowControl& grid = *FindMainWindowControl(kGrid);
    grid_->setGeometry(grid.x, grid.y, grid.width, grid.height);
    full_window_ = false;
    FollowGrid();
}

void CLiveViewDlg::OnDvrSelected() {
    settle_->Flush();
    current_dvr_ = FindSelectedItem();
    _DVR_SETTINGS_ settings;
    const int found = manager_.GetDvr(current_dvr_, settings);
    const int user_level = manager_.GetMachineInfo(current_dvr_).nUserLevel;
    const DvrSelection view = PlanDvrSelection(current_dvr_, grid_->Cells().Layout(), user_level);
    for (int id : AllDvrLayoutButtons())
        Control(id)->setVisible(view.all_dvr_view);
    grid_->Cells().SetTotal(view.total);
    if (view.to_layout_16) {
        grid_->SetLayout(16);
        settle_->Then(CVideoGrid::kLayoutSettle_ms, [this] { manager_.RefreshLiveViews(); });
    }
    if (view.pad_shown) {
        ShowPanel();
    } else {
        HidePanel();
    }
    if (found < 1) {
        status_label_->SetText(texts_.Text("Net_Word3"));
        manager_.SetAllDvrMode(1);
    } else {
        status_label_->SetText(settings.show_name);
        manager_.SetAllDvrMode(0);
    }
    ApplyWindowMap();
    update(kLabelArea);
    manager_.SetCurrentDvr(current_dvr_);
    settle_->Then(kSelectionSettle_ms, [this] {
        EraseGrid();
        manager_.RefreshLiveViews();
    });
}

void CLiveViewDlg::OnRButtonDown(const QPoint& client) {
    // The channel menu belongs to the all-devices view.
    if (current_dvr_ >= 0) return;
    if (!InGrid(mapToGlobal(client))) return;
    const int cell = grid_->HitTest(ToQPoint(GridPointOf(ToViewPoint(client), full_window_)));
    if (cell >= 0) BuildChannelMenu(cell, client.x(), client.y());
    right_click_mark_ = 1;
}

void CLiveViewDlg::BuildChannelMenu(int cell, int x, int y) {
    std::vector<ChannelMenuDevice> devices;
    for (int a = 0; a < manager_.GetDvrCount(); ++a) {
        const _DVR_MACHINE_INFO_ info = manager_.GetMachineInfo(a);
        devices.push_back({ShowName(a), info.nLinkState, info.nTypeCode});
    }
    const ChannelMenuModel model =
        MakeChannelMenu(cell, manager_.GetWindowChannel(cell), devices,
                        [this](int32_t key) { return manager_.FindWindowOfChannel(key) >= 0; });

    QMenu menu(this);
    const auto add = [](QMenu& to, const ChannelMenuItem& item) {
        QAction* action = to.addAction(Qs(item.text));
        action->setData(item.id);
        action->setCheckable(item.checked);
        action->setChecked(item.checked);
    };
    add(menu, model.first);
    menu.addSeparator();
    for (const ChannelSubMenu& device : model.devices) {
        QMenu* sub = menu.addMenu(Qs(device.title));
        for (const ChannelMenuItem& item : device.items)
            add(*sub, item);
    }
    std::optional<int> chosen;
    connect(&menu, &QMenu::triggered, this,
            [&chosen](QAction* action) { chosen = action->data().toInt(); });
    menu.exec(mapToGlobal(QPoint(x, y)));
    // The choice arrives as a command once the press is handled, as a menu's commands do.
    if (chosen) {
        gate_->Post([this, id = *chosen] { OnCommand(id); });
    }
}

void CLiveViewDlg::OnCommand(int id) {
    const std::optional<ChannelCommand> command = DecodeChannelCommand(id);
    if (!command) return;
    settle_->Flush();
    const int emptied = ApplyChannelCommand(manager_, *command);
    if (emptied < 0) {
        ApplyWindowMap();
    } else {
        grid_->SetChannelName(emptied, "");
    }
    right_click_mark_ = 0;
    manager_.RefreshLiveViews();
    settle_->Then(kChannelSettle_ms, [this] { EraseGrid(); });
}

void CLiveViewDlg::ApplyWindowMap() {
    const bool all_dvr_view = manager_.IsAllDvrMode() == 1;
    for (int i = 0; i < CWindowMap::kCells; ++i) {
        const int32_t key = manager_.GetWindowChannel(i);
        const bool titled = all_dvr_view && key != CWindowMap::kNoChannel;
        grid_->SetChannelName(i, titled ? ChannelTitle(ShowName(KeyDevice(key)), key) : "");
    }
}
