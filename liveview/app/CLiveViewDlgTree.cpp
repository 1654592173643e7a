// The device tree, the device buttons and the connect threads of the main window.
#include <QSignalBlocker>
#include <QTreeWidget>
#include <chrono>
#include <thread>

#include "common/ui/core/WindowGate.h"
#include "common/ui/widgets/MessageBoxSeam.h"
#include "liveview/app/CLiveViewDlg.h"
#include "liveview/app/DlgDeviceLogin.h"
#include "liveview/core/streaming/ConnectMessages.h"
#include "liveview/core/window/LiveViewIds.h"
#include "liveview/manager/DvrManager.h"

namespace {

using namespace live_view_id;

constexpr auto kConnectSettle = std::chrono::milliseconds(100);
constexpr int kWatchPeriod_ms = 200;

QString Qs(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

int CLiveViewDlg::InsertTreeItem(const std::string& text, int image, int selected_image) {
    if (item_count_ >= kMaxTreeItems) return -1;
    auto* item = new QTreeWidgetItem(root_item_, QStringList{Qs(text)});
    items_[item_count_++] = item;
    SetTreeItem(text, image, selected_image, item_count_ - 1);
    root_item_->setExpanded(true);
    if (item_count_ == 1) tree_->setCurrentItem(item);
    return 1;
}

int CLiveViewDlg::DeleteTreeItem(int i) {
    if (i < 0 || i >= item_count_) return -1;
    QTreeWidgetItem* item = items_[i];
    // The table is whole again before the tree moves its selection off the item.
    for (int k = i; k < item_count_ - 1; ++k)
        items_[k] = items_[k + 1];
    items_[--item_count_] = nullptr;
    delete item;
    return 1;
}

int CLiveViewDlg::FindSelectedItem() const {
    const QTreeWidgetItem* selected = tree_->currentItem();
    for (int i = 0; i < item_count_; ++i) {
        if (items_[i] == selected) return i;
    }
    return -1;
}

void CLiveViewDlg::SetTreeItem(const std::string& text, int image, int selected_image, int i) {
    // A connect thread's late word about a device deleted meanwhile finds no item.
    if (i < 0 || i >= item_count_) return;
    QTreeWidgetItem* item = items_[i];
    item->setText(0, Qs(text));
    if (image >= 0) SetItemImage(item, image, selected_image);
}

void CLiveViewDlg::SetItemImage(QTreeWidgetItem* item, int image, int selected_image) {
    QIcon icon;
    icon.addPixmap(tree_images_.at(image).pixmap(16, 16), QIcon::Normal);
    icon.addPixmap(tree_images_.at(selected_image).pixmap(16, 16), QIcon::Selected);
    item->setIcon(0, icon);
    item->setData(0, Qt::UserRole, image);
}

void CLiveViewDlg::LoadDvrList() {
    // A short store still gives the devices that lie whole in it: the tree shows whatever the
    // manager holds.
    manager_.LoadUserStore();
    for (int a = 0; a < manager_.GetDvrCount(); ++a)
        InsertTreeItem(ShowName(a), kImageIdle, kImageIdle);
    const std::string& copy = manager_.DamagedStoreCopy();
    if (!copy.empty()) {
        ShowMessageBox(this, Qs(FillText(texts_.Text("Store_Word1"), {copy})), {},
                       MessageBoxButtons::kOk, MessageBoxIcon::kWarning);
    }
}

std::string CLiveViewDlg::ShowName(int slot) const {
    _DVR_SETTINGS_ settings;
    manager_.GetDvr(slot, settings);
    return settings.show_name;
}

void CLiveViewDlg::OnAdd() {
    if (RoleForbids()) return;
    const QString full = Qs(texts_.Text("Connect_Error1"));
    if (manager_.GetDvrCount() >= CDvrManager::kMaxDvrs) {
        ShowMessageBox(this, full);
        return;
    }
    DlgDeviceLogin dialog(this);
    dialog.SetFields(DlgDeviceLogin::kDefaultAddress, DlgDeviceLogin::kDefaultPortText,
                     DlgDeviceLogin::kDefaultUser, "", DlgDeviceLogin::kTitleAdd);
    if (dialog.DoModal() != QDialog::Accepted) return;
    if (manager_.AddDvr(dialog.Address(), dialog.PortText(), dialog.User(), dialog.Password(),
                        dialog.Address()) < 0) {
        ShowMessageBox(this, full);
        return;
    }
    InsertTreeItem(dialog.Address(), kImageIdle, kImageIdle);
}

void CLiveViewDlg::OnConnect() {
    const int count = manager_.GetDvrCount();
    if (count == 0) return;
    const int selected = FindSelectedItem();
    if (selected >= 0) {
        if (!connect_threads_.HasThread(selected)) StartConnectThread(selected);
        return;
    }
    for (int a = 0; a < count; ++a) {
        if (manager_.GetMachineInfo(a).nLinkState == kLinkIdle && !connect_threads_.HasThread(a))
            StartConnectThread(a);
    }
}

void CLiveViewDlg::OnDisconnect() {
    const int selected = FindSelectedItem();
    if (selected < 0) return;
    manager_.DisconnectDvr(selected);
    SetTreeItem(ShowName(selected), kImageIdle, kImageIdle, selected);
}

void CLiveViewDlg::OnRec() {
    if (RoleForbids()) return;
    const int selected = FindSelectedItem();
    if (selected < 0) return;
    manager_.StartRecord(selected);
    manager_.RequestKeyFrame(selected);
}

void CLiveViewDlg::OnStopRec() {
    const int selected = FindSelectedItem();
    if (selected >= 0) manager_.StopRecord(selected);
}

void CLiveViewDlg::OnLive() {
    const int selected = FindSelectedItem();
    if (selected >= 0) manager_.StartLiveView(selected);
}

void CLiveViewDlg::OnStopLive() {
    const int selected = FindSelectedItem();
    if (selected >= 0) manager_.StopLiveView(selected);
}

void CLiveViewDlg::OnDelete() {
    if (RoleForbids()) return;
    const int selected = FindSelectedItem();
    if (selected < 0) return;
    const MessageBoxAnswer answer =
        ShowMessageBox(this, Qs(texts_.Text("DleInfo")), "INFOMATION", MessageBoxButtons::kYesNo,
                       MessageBoxIcon::kInformation);
    if (answer != MessageBoxAnswer::kYes) return;
    manager_.DeleteDvr(selected);
    DeleteTreeItem(selected);
    for (int i = 0; i < item_count_; ++i)
        SetTreeItem(ShowName(i), kImageIdle, kImageIdle, i);
    // The device before the deleted one is shown next, or every device's view after device 0.
    // The tree selects it and the selection handling sets view and label to match, so tree,
    // label and view agree whichever item the tree moved to while the deleted one went.
    const int next = selected - 1;
    {
        const QSignalBlocker quiet(tree_);
        tree_->setCurrentItem(next < 0 ? root_item_ : items_[next]);
    }
    OnDvrSelected();
}

void CLiveViewDlg::OnNetStatus(int code, int slot) {
    if (code != 3) return;
    ShowMessageBox({nullptr, Qs(LostLinkText(ShowName(slot), texts_)), "Net Error",
                    MessageBoxButtons::kOk, MessageBoxIcon::kError});
}

void CLiveViewDlg::StartConnectThread(int slot) {
    manager_.StartDvrNetwork(slot);
    if (!connect_threads_.Start(slot, [this, slot] { ConnectThreadProc(slot); })) return;
    timers_.Start(live_view_timer::kWatchBase + slot, kWatchPeriod_ms);
}

// The body of a connect thread. The window joins it only after this returned, so the members
// it reads (manager, texts, gate) are there throughout; widgets it reaches through the gate.
void CLiveViewDlg::ConnectThreadProc(int slot) {
    DoConnect(slot);
    std::this_thread::sleep_for(kConnectSettle);
}

void CLiveViewDlg::DoConnect(int slot) {
    const std::shared_ptr<CWindowGate> gate = gate_;
    const std::string connecting = texts_.Text("Net_Word4");
    gate->Post([this, slot, connecting] { SetTreeItem(connecting, kImageIdle, kImageIdle, slot); });

    const int result = manager_.ConnectDvr(slot);
    _DVR_SETTINGS_ settings;
    manager_.GetDvr(slot, settings);
    const std::string& name = settings.show_name;
    if (result < 0) {
        const std::string text = LoginFailureText(result, name, texts_);
        gate->Post([this, slot, name] { SetTreeItem(name, kImageIdle, kImageIdle, slot); });
        // Devices that connect on their own are retried every minute without a word.
        if (settings.auto_connect != 1)
            gate->Call([this, text] { ShowMessageBox(this, Qs(text)); });
        return;
    }
    const bool super_user = manager_.GetMachineInfo(slot).nUserLevel == kSuperUserLevel;
    gate->Post([this, slot, name, super_user] {
        if (super_user) {
            SetTreeItem(name, kImageSuperUser, kImageSuperUser, slot);
            ShowPanel();
        } else {
            SetTreeItem(name, kImageUser, kImageUser, slot);
            HidePanel();
        }
    });
}
