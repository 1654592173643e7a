#pragma once

#include <QDialog>
#include <string>

#include "liveview/app/DialogTexts.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The start-up password check of the lock: the password entered decides the role of the run.
class DlgLockCheck : public QDialog {
    Q_OBJECT

public:
    explicit DlgLockCheck(QWidget* parent = nullptr);

    int SetPasswords(const std::string& admin_password, const std::string& user_password);
    // OnInitDialog, then the modal loop: QDialog::Accepted with Role() 1 or 2, or Rejected.
    int DoModal();
    void OnInitDialog();
    int Role() const { return role_; }

    // OnOK: a wrong password is said and the dialog stays for another try.
    void accept() override;

private:
    DialogTexts texts_;
    std::string admin_password_;
    std::string user_password_;
    int role_ = 0;

    QGroupBox* frame_;     // 1082
    QLabel* label_;        // 1083
    QLineEdit* entry_;     // 1034
    QPushButton* ok_;      // 1
    QPushButton* cancel_;  // 2
};
