#pragma once

#include <QDialog>
#include <string>

#include "common/lookup/LookupClient.h"
#include "common/settings/ConfigFile.h"
#include "common/settings/LanguageSelect.h"
#include "playback/core/login/LoginServers.h"
#include "playback/core/login/PlaybackLogin.h"

class NetCtrl;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The modal log-in to one recorder: a server box offering the recent servers, user and
// password. It ends with OK only after a super-user log-in (or for a recorder without a
// disk, after saying so); every refusal keeps it open with what was typed.
class DlgPlaybackLogin : public QDialog {
    Q_OBJECT

public:
    explicit DlgPlaybackLogin(const std::string& program_folder, QWidget* parent = nullptr);

    int SetNetCtrl(NetCtrl* connection);
    // Sets the dialog up afresh and runs it: Accepted or Rejected.
    int DoModal();
    // Re-reads the language and the ring, places the controls, proposes the newest server.
    bool OnInitDialog();

    // What the last log-in went to, for the window's host label.
    const std::string& Host() const { return login_.Host(); }
    CPlaybackLogin& Login() { return login_; }

    QComboBox* ServerBox() const { return server_box_; }
    QLineEdit* UserEdit() const { return user_edit_; }
    QLineEdit* PasswordEdit() const { return password_edit_; }
    QPushButton* OkButton() const { return ok_button_; }

private:
    void OnSelchangeServer(int index);
    void OnOK();
    const std::string& Tr(const char* key) const { return texts_.Text(key); }

    const std::string program_folder_;
    CConfigFile settings_;
    LanguageSelect texts_;
    SavedServers saved_;
    CLookupClient lookup_client_;
    CPlaybackLogin login_;

    QLabel* server_label_;
    QLabel* user_label_;
    QLabel* password_label_;
    QComboBox* server_box_;
    QLineEdit* user_edit_;
    QLineEdit* password_edit_;
    QPushButton* ok_button_;
    QPushButton* cancel_button_;
};
