#include "liveview/app/DlgLockCheck.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "common/ui/widgets/MakeControl.h"
#include "common/ui/widgets/MessageBoxSeam.h"
#include "liveview/app/DialogStyle.h"
#include "liveview/core/dialogs/PasswordLock.h"

DlgLockCheck::DlgLockCheck(QWidget* parent)
    : QDialog(parent),
      frame_(MakeControl<QGroupBox>(this, "frame", {10, 5, 215, 93})),
      label_(MakeStaticText(this, "label", {30, 30, 80, 20})),
      entry_(MakeControl<QLineEdit>(this, "entry", {110, 30, 100, 20})),
      ok_(MakeControl<QPushButton>(this, "ok", {238, 22, 70, 22})),
      cancel_(MakeControl<QPushButton>(this, "cancel", {238, 58, 70, 22})) {
    ApplyDialogStyle(this, 213, 69);
    entry_->setEchoMode(QLineEdit::Password);
    ok_->setDefault(true);
    connect(ok_, &QPushButton::clicked, this, &DlgLockCheck::accept);
    connect(cancel_, &QPushButton::clicked, this, &DlgLockCheck::reject);
}

int DlgLockCheck::SetPasswords(const std::string& admin_password,
                               const std::string& user_password) {
    admin_password_ = admin_password;
    user_password_ = user_password;
    return 1;
}

int DlgLockCheck::DoModal() {
    OnInitDialog();
    return exec();
}

void DlgLockCheck::OnInitDialog() {
    texts_.Load();
    setWindowTitle(texts_.Text("Login_word6"));
    label_->setText(texts_.Text("Login_word2"));
    ok_->setText(texts_.Text("Set_word9"));
    cancel_->setText(texts_.Text("Set_word8"));
    entry_->setFocus();
}

void DlgLockCheck::accept() {
    role_ = LockRoleOf(entry_->text().toStdString(), admin_password_, user_password_);
    if (role_ == kRoleNone) {
        ShowMessageBox(this, texts_.Text("word12"));
        return;
    }
    QDialog::accept();
}
