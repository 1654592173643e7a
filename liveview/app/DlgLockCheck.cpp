#include "liveview/app/DlgLockCheck.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "common/ui/widgets/MessageBoxSeam.h"
#include "liveview/app/DialogStyle.h"
#include "liveview/core/dialogs/PasswordLock.h"

DlgLockCheck::DlgLockCheck(QWidget* parent)
    : QDialog(parent),
      frame_(new QGroupBox(this)),
      label_(NewStaticText(this)),
      entry_(new QLineEdit(this)),
      ok_(new QPushButton(this)),
      cancel_(new QPushButton(this)) {
    ApplyDialogStyle(this, 213, 69);
    entry_->setObjectName(QStringLiteral("entry"));
    entry_->setEchoMode(QLineEdit::Password);
    ok_->setObjectName(QStringLiteral("ok"));
    cancel_->setObjectName(QStringLiteral("cancel"));
    ok_->setDefault(true);
    frame_->setGeometry(10, 5, 215, 93);
    entry_->setGeometry(110, 30, 100, 20);
    ok_->setGeometry(238, 22, 70, 22);
    cancel_->setGeometry(238, 58, 70, 22);
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
    label_->setGeometry(30, 30, 80, 20);
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
