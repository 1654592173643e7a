#include "liveview/app/DlgAdmin.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>

#include "common/ui/widgets/MakeControl.h"
#include "common/ui/widgets/MessageBoxSeam.h"
#include "liveview/app/DialogStyle.h"
#include "liveview/core/dialogs/DvrTextCheck.h"

DlgAdmin::DlgAdmin(QWidget* parent)
    : QDialog(parent),
      prompt_(this),
      frame_(MakeControl<QGroupBox>(this, "frame", {10, 5, 254, 150})),
      use_passwords_(MakeControl<QCheckBox>(this, "use_passwords", {30, 25, 214, 20})),
      admin_password_button_(
          MakeControl<QPushButton>(this, "set_admin_password", {30, 62, 214, 26})),
      user_password_button_(
          MakeControl<QPushButton>(this, "set_user_password", {30, 105, 214, 26})),
      ok_(MakeControl<QPushButton>(this, "ok", {55, 172, 70, 24})),
      cancel_(MakeControl<QPushButton>(this, "cancel", {150, 172, 70, 24})) {
    ApplyDialogStyle(this, 183, 141);
    ok_->setDefault(true);
    connect(admin_password_button_, &QPushButton::clicked, this, &DlgAdmin::OnSetAdminPassword);
    connect(user_password_button_, &QPushButton::clicked, this, &DlgAdmin::OnSetUserPassword);
    connect(ok_, &QPushButton::clicked, this, &DlgAdmin::accept);
    connect(cancel_, &QPushButton::clicked, this, &DlgAdmin::reject);
}

int DlgAdmin::SetPasswords(const std::string& admin_password, const std::string& user_password,
                           int flag) {
    admin_password_ = admin_password;
    user_password_ = user_password;
    flag_ = flag;
    return 1;
}

int DlgAdmin::DoModal() {
    OnInitDialog();
    return exec();
}

void DlgAdmin::OnInitDialog() {
    texts_.Load();
    setWindowTitle(texts_.Text("Pass_Word8"));
    use_passwords_->setText(texts_.Text("Pass_Word9"));
    use_passwords_->setChecked(flag_ == 1);
    admin_password_button_->setText(texts_.Text("Pass_Word10"));
    user_password_button_->setText(texts_.Text("Pass_Word11"));
    ok_->setText(texts_.Text("Set_word9"));
    cancel_->setText(texts_.Text("Set_word8"));
}

void DlgAdmin::accept() {
    flag_ = use_passwords_->isChecked() ? 1 : 0;
    QDialog::accept();
}

void DlgAdmin::OnSetAdminPassword() { RunChange(CPasswordChange::Target::kAdmin, admin_password_); }

void DlgAdmin::OnSetUserPassword() { RunChange(CPasswordChange::Target::kUser, user_password_); }

void DlgAdmin::RunChange(CPasswordChange::Target target, std::string& password) {
    CPasswordChange change(target, admin_password_);
    CPasswordChange::Step step = change.First();
    while (step.prompt_key != nullptr) {
        prompt_.SetPrompt(texts_.Text(step.prompt_key));
        if (prompt_.DoModal() != QDialog::Accepted) return;
        const std::string entry = prompt_.Entered();
        step = change.Enter(entry);
        switch (step.message) {
            case CPasswordChange::Message::kNone:
                break;
            case CPasswordChange::Message::kWrongPassword:
                ShowMessageBox(this, texts_.Text("Pass_Word6"));
                break;
            case CPasswordChange::Message::kBadLength:
                ShowMessageBox(this, texts_.Text("word13"));
                break;
            case CPasswordChange::Message::kUnstorable:
                ShowMessageBox(
                    this, QString::fromStdString(UnfitTextMessage(
                              target == CPasswordChange::Target::kAdmin ? UssField::kAdminPassword
                                                                        : UssField::kUserPassword,
                              entry)));
                break;
            case CPasswordChange::Message::kChanged:
                password = change.NewPassword();
                ShowMessageBox(this, texts_.Text("Pass_Word7"));
                break;
        }
    }
}
