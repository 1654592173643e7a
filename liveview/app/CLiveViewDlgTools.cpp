// The tool row: the snapshot of the video window and the audio pair. ADMIN and INFO open
// their dialogs (CLiveViewDlgDialogs.cpp).
#include "common/ui/core/SnapshotName.h"
#include "common/ui/widgets/VideoGrid.h"
#include "common/ui/widgets/WindowSnapshot.h"
#include "liveview/app/CLiveViewDlg.h"
#include "liveview/core/window/LiveViewIds.h"
#include "liveview/manager/DvrManager.h"

// The grid as the screen shows it now, pictures included, at its present size.
void CLiveViewDlg::OnCapture() { SaveWindowBitmap(grid_, SnapshotNameNow()); }

// The two buttons share one place and show the action that is available.
void CLiveViewDlg::OnAudioOn() {
    manager_.AudioOn();
    Control(live_view_id::kAudioOn)->hide();
    Control(live_view_id::kAudioOff)->show();
}

void CLiveViewDlg::OnAudioOff() {
    manager_.AudioOff();
    Control(live_view_id::kAudioOn)->show();
    Control(live_view_id::kAudioOff)->hide();
}
