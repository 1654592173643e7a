// The main window's dialog buttons: SET with the recorder settings, ADMIN with the password
// lock, INFO with the recorder's disks and lamps and its timer 16; and the lock's role.
#include "liveview/app/CLiveViewDlg.h"
#include "liveview/app/DlgAdmin.h"
#include "liveview/app/DlgDvrInfo.h"
#include "liveview/app/DlgDvrSet.h"
#include "liveview/app/DvrSetFlow.h"
#include "liveview/core/dialogs/PasswordLock.h"
#include "liveview/core/window/LiveViewIds.h"
#include "liveview/manager/DvrManager.h"

namespace {

constexpr int kDiskInfoDelay_ms = 300;

}  // namespace

bool CLiveViewDlg::RoleForbids() const { return password_lock_ && role_ == kRoleUser; }

void CLiveViewDlg::OnSet() {
    if (RoleForbids()) return;
    const int selected = FindSelectedItem();
    if (selected < 0 || manager_.GetDvrCount() == 0) return;
    if (dvr_set_ == nullptr) dvr_set_ = new DlgDvrSet(this);
    if (!RunDvrSet(manager_, *dvr_set_, selected)) return;
    SetTreeItem(ShowName(selected), -1, -1, selected);
    OnDvrSelected();
}

// The dialog's values go to the manager however it closed: a password changed holds even
// when the dialog is left with Cancel.
void CLiveViewDlg::OnAdmin() {
    if (RoleForbids()) return;
    DlgAdmin dialog(this);
    dialog.SetPasswords(manager_.GetAdminPassword(), manager_.GetUserPassword(),
                        manager_.GetPasswordFlag());
    dialog.DoModal();
    manager_.SetPasswords(dialog.AdminPassword(), dialog.UserPassword(), dialog.Flag());
}

void CLiveViewDlg::OnInfo() {
    const int device = current_dvr_;
    if (device < 0 || manager_.GetDvrCount() < 1 ||
        manager_.GetMachineInfo(device).nLinkState == kLinkIdle)
        return;
    timers_.Start(live_view_timer::kDiskInfo, kDiskInfoDelay_ms);
    if (dvr_info_ == nullptr) dvr_info_ = new DlgDvrInfo(this);
    dvr_info_->SetDevice(&manager_, device);
    dvr_info_->DoModal();
}

void CLiveViewDlg::OnDiskInfo() {
    timers_.Kill(live_view_timer::kDiskInfo);
    if (dvr_info_ != nullptr) dvr_info_->UpdateFromDevice();
}
