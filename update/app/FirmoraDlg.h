#pragma once

#include <QDialog>
#include <QIcon>
#include <QTimer>
#include <string>

#include "common/settings/ConfigFile.h"
#include "common/settings/LanguageSelect.h"
#include "platform/netctrl/NetCtrl.h"
#include "update/app/DlgChangeChannel.h"
#include "update/app/DlgLogin.h"
#include "update/app/UpdateDlg.h"

class QPushButton;

// The update tool's main window: logs in to one recorder as its super user, follows the link
// every 500 ms and opens the channel-title dialog (and, from its hidden button, the update
// dialog) on its connection.
class CFirmoraDlg : public QDialog {
    Q_OBJECT

public:
    static constexpr int kLinkTimerId = 1;
    static constexpr int kLinkTimerPeriod_ms = 500;

    explicit CFirmoraDlg(const std::string& program_folder, QWidget* parent = nullptr);
    ~CFirmoraDlg() override;

    void OnInitDialog();

    void OnConnect();
    void OnDisconnect();
    void OnSoftUpdate();
    void OnChannelTitle();
    void OnTimer(int timer_id);
    void OnCancel();

    NetCtrl& Connection() { return net_; }
    DlgLogin& Login() { return login_dlg_; }

    // The window's close box leaves the way Exit does.
    void reject() override { OnCancel(); }

protected:
    // Escape never closes the window.
    void keyPressEvent(QKeyEvent* event) override;

private:
    std::string folder_;
    QIcon icon_;
    LanguageSelect language_{LanguageTable::kUpdateTool};
    CConfigFile settings_;
    NetCtrl net_;
    UpdateDlg update_dlg_;
    DlgLogin login_dlg_;
    DlgChangeChannel channel_dlg_;

    QPushButton* connect_;
    QPushButton* disconnect_;
    QPushButton* soft_update_;
    QPushButton* channel_title_;
    QPushButton* exit_;
    QTimer link_timer_;
};
