#pragma once

#include <QDialog>
#include <string>

#include "liveview/app/DialogTexts.h"
#include "liveview/app/DlgPassword.h"
#include "liveview/core/dialogs/PasswordLock.h"

class QCheckBox;
class QGroupBox;
class QPushButton;

// The ADMIN button's dialog: the password system on or off, a new admin password, a new user
// password. A changed password holds in the dialog at once, whether it closes with Confirm or
// Cancel; the caller reads all three values back either way.
class DlgAdmin : public QDialog {
    Q_OBJECT

public:
    explicit DlgAdmin(QWidget* parent = nullptr);

    int SetPasswords(const std::string& admin_password, const std::string& user_password, int flag);
    int DoModal();
    void OnInitDialog();

    const std::string& AdminPassword() const { return admin_password_; }
    const std::string& UserPassword() const { return user_password_; }
    int Flag() const { return flag_; }

    // OnOK: the check box becomes the flag.
    void accept() override;

    void OnSetAdminPassword();
    void OnSetUserPassword();

private:
    // Runs the prompts of one change; a password changed goes into password.
    void RunChange(CPasswordChange::Target target, std::string& password);

    DlgPassword prompt_;
    DialogTexts texts_;
    int flag_ = 0;
    std::string user_password_;
    std::string admin_password_;

    QGroupBox* frame_;                    // 1082
    QCheckBox* use_passwords_;            // 1041
    QPushButton* admin_password_button_;  // 1047
    QPushButton* user_password_button_;   // 1072
    QPushButton* ok_;                     // 1
    QPushButton* cancel_;                 // 2
};
