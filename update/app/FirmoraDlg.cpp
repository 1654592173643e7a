#include "update/app/FirmoraDlg.h"

#include <QKeyEvent>
#include <QPushButton>
#include <algorithm>

#include "common/ui/widgets/DialogFont.h"
#include "common/ui/widgets/MakeControl.h"
#include "common/ui/widgets/MessageBoxSeam.h"
#include "common/ui/widgets/UiText.h"
#include "update/core/LoginRules.h"
#include "update/core/ServerText.h"
#include "update/core/ToolText.h"

namespace {

void UpperCase(std::string& text) {
    std::transform(text.begin(), text.end(), text.begin(), [](char c) {
        return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    });
}

}  // namespace

CFirmoraDlg::CFirmoraDlg(const std::string& program_folder, QWidget* parent)
    : QDialog(parent),
      folder_(program_folder),
      icon_(QString::fromStdString(program_folder + "/res/Firmora.png")),
      settings_(program_folder),
      update_dlg_(program_folder, this),
      login_dlg_(program_folder, this),
      channel_dlg_(program_folder, this),
      connect_(MakeControl<QPushButton>(this, "connect", {40, 40, 80, 40})),
      disconnect_(MakeControl<QPushButton>(this, "disconnect", {180, 40, 90, 40})),
      soft_update_(MakeControl<QPushButton>(this, "soft_update", {40, 100, 80, 40})),
      channel_title_(MakeControl<QPushButton>(this, "channel_title", {40, 100, 80, 40})),
      exit_(MakeControl<QPushButton>(this, "exit", {180, 100, 90, 40})) {
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFont(DialogFont());
    setFixedSize(310, 180);
    connect(connect_, &QPushButton::clicked, this, &CFirmoraDlg::OnConnect);
    connect(disconnect_, &QPushButton::clicked, this, &CFirmoraDlg::OnDisconnect);
    connect(soft_update_, &QPushButton::clicked, this, &CFirmoraDlg::OnSoftUpdate);
    connect(channel_title_, &QPushButton::clicked, this, &CFirmoraDlg::OnChannelTitle);
    connect(exit_, &QPushButton::clicked, this, &CFirmoraDlg::OnCancel);
    link_timer_.setInterval(kLinkTimerPeriod_ms);
    connect(&link_timer_, &QTimer::timeout, this, [this] { OnTimer(kLinkTimerId); });
}

CFirmoraDlg::~CFirmoraDlg() { net_.StopNetWork(); }

void CFirmoraDlg::OnInitDialog() {
    setWindowIcon(icon_);
    language_.Load(folder_, LanguageFileFor(settings_.GetLanguage()));
    connect_->setText(UiText(language_, "Connect"));
    disconnect_->setText(UiText(language_, "Disconnect"));
    soft_update_->setText(UiText(language_, "Update_Word1"));
    channel_title_->setText(UiText(language_, "Update_Word2"));
    exit_->setText(UiText(language_, "TextExit"));
    setWindowTitle(UiText(language_, "Update_Word9"));
    // Nothing shows this button again; the title button sits on its place.
    soft_update_->hide();

    if (net_.InitNetWork() < 0) {
        ShowMessageBox(this, QString::fromLatin1(kNetInitErrorText));
        return;
    }
    link_timer_.start();
}

void CFirmoraDlg::OnTimer(int timer_id) {
    if (timer_id != kLinkTimerId) return;
    const LinkTick tick = LinkTickFor(net_.GetMachineInfe().nLinkState);
    if (tick.reset_network) net_.ResetNetWork();
    if (!tick.buttons) return;
    connect_->setEnabled(tick.buttons->connect);
    disconnect_->setEnabled(tick.buttons->disconnect);
    soft_update_->setEnabled(tick.buttons->soft_update);
    channel_title_->setEnabled(tick.buttons->channel_title);
}

void CFirmoraDlg::OnConnect() {
    login_dlg_.OnInitDialog();
    if (login_dlg_.exec() != QDialog::Accepted) return;
    const ServerAddress server = SplitServerText(login_dlg_.Server());
    UpperCase(login_dlg_.User());
    const int result = net_.ConnectToServer(
        server.host.c_str(), server.port, login_dlg_.User().c_str(), login_dlg_.Password().c_str());
    if (result < 0) {
        if (const auto refusal = LoginRefusalText(result)) {
            ShowMessageBox(this, QString::fromStdString(*refusal));
        } else if (result == NetCtrl::kConnectError) {
            ShowMessageBox(this, UiText(language_, "word11"));
        }
        return;
    }
    if (net_.GetMachineInfe().nUserLevel != kSuperUserLevel) {
        net_.DisConnect();
        ShowMessageBox(this, QString::fromLatin1(kUseSuperUserText));
    }
}

void CFirmoraDlg::OnDisconnect() { net_.DisConnect(); }

void CFirmoraDlg::OnSoftUpdate() {
    update_dlg_.SetConnection(&net_);
    update_dlg_.OnInitDialog();
    update_dlg_.exec();
}

void CFirmoraDlg::OnChannelTitle() {
    channel_dlg_.SetConnection(&net_);
    channel_dlg_.OnInitDialog();
    channel_dlg_.exec();
}

void CFirmoraDlg::OnCancel() {
    link_timer_.stop();
    net_.StopNetWork();
    QDialog::reject();
}

void CFirmoraDlg::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
