// The pan/tilt/zoom pad: presses and releases caught before the buttons see them, requests
// posted to the window and handed to the device manager in posting order, the release guard of
// timer 15, and the pad shown or covered by its plate.
#include <QCursor>
#include <QMouseEvent>
#include <QWindow>

#include "common/ui/widgets/VideoGrid.h"
#include "liveview/app/CLiveViewDlg.h"
#include "liveview/core/window/LiveViewIds.h"
#include "liveview/manager/DvrManager.h"

namespace {

using namespace live_view_id;

constexpr QRect kPlateOverPad(803, 44, 200, 220);
constexpr QRect kPlateAway(-200, -220, 200, 220);

}  // namespace

void CLiveViewDlg::HidePanel() {
    for (int id = kUp; id <= kAuto; ++id)
        Control(id)->hide();
    Control(kCoverPlate)->setGeometry(kPlateOverPad);
}

void CLiveViewDlg::ShowPanel() {
    Control(kCoverPlate)->setGeometry(kPlateAway);
    for (int id = kUp; id <= kAuto; ++id)
        Control(id)->show();
}

int CLiveViewDlg::GetSelectedChannel() const {
    int shown = -1;
    for (int i = 0; i < CVideoGridLayout::kCellCount; ++i) {
        if (!grid_->Cells().IsVisible(i)) continue;
        if (shown >= 0) return -1;
        shown = i;
    }
    return shown;
}

bool CLiveViewDlg::eventFilter(QObject* watched, QEvent* event) {
    // A window's input arrives at its window object once, before any widget of it.
    if (qobject_cast<QWindow*>(watched) != nullptr) PreTranslateMessage(event);
    return QDialog::eventFilter(watched, event);
}

void CLiveViewDlg::PreTranslateMessage(QEvent* event) {
    const bool press = event->type() == QEvent::MouseButtonPress;
    if ((!press && event->type() != QEvent::MouseButtonRelease) || grid_ == nullptr) return;
    const auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() != Qt::LeftButton) return;
    const int channel = GetSelectedChannel();
    if (press) {
        for (const PtzRequest& request :
             pad_.Press(channel, PadHits(mouse->globalPosition().toPoint())))
            PostPtz(request);
    } else if (const auto stop = pad_.Release(channel)) {
        PostPtz(*stop);
    }
}

// Bounds count on every side, so neighbours share the pixel column at their common edge.
CPtzPad::Hits CLiveViewDlg::PadHits(const QPoint& screen_point) const {
    CPtzPad::Hits hits = 0;
    int n = 0;
    for (const CPtzPad::HoldButton& button : CPtzPad::HoldButtons()) {
        const QWidget* control = Control(button.id);
        const QPoint top_left = control->mapToGlobal(QPoint(0, 0));
        const QRect area(top_left, top_left + QPoint(control->width(), control->height()));
        if (area.contains(screen_point)) hits |= CPtzPad::Hits{1} << n;
        ++n;
    }
    return hits;
}

void CLiveViewDlg::PostPtz(const PtzRequest& request) {
    gate_->Post([this, request] { OnPtzCommand(request.code, request.param); });
}

int CLiveViewDlg::OnPtzCommand(int code, int param) {
    // In the all-devices view the device is -1 and the manager finds the camera by the cell;
    // a cell without one sends nothing.
    manager_.SendPtzCommand(code, param / 10, param % 10, current_dvr_);
    return 1;
}

void CLiveViewDlg::OnPtzEnter() {
    if (const auto request = pad_.Click(CPtzPad::kEnterCode, GetSelectedChannel()))
        PostPtz(*request);
}

void CLiveViewDlg::OnPtzAuto() {
    if (const auto request = pad_.Click(CPtzPad::kAutoCode, GetSelectedChannel()))
        PostPtz(*request);
}

void CLiveViewDlg::OnPadGuard() {
    if (const auto stop = pad_.Guard(PadHits(QCursor::pos()))) PostPtz(*stop);
}
