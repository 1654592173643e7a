#include "update/app/DlgLogin.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "common/ui/widgets/DialogFont.h"
#include "common/ui/widgets/MakeControl.h"
#include "common/ui/widgets/MessageBoxSeam.h"
#include "common/ui/widgets/UiText.h"

DlgLogin::DlgLogin(const std::string& program_folder, QWidget* parent)
    : QDialog(parent),
      folder_(program_folder),
      settings_(program_folder),
      server_label_(MakeControl<QLabel>(this, "server_label", {20, 30, 60, 20})),
      user_label_(MakeControl<QLabel>(this, "user_label", {20, 60, 60, 20})),
      password_label_(MakeControl<QLabel>(this, "password_label", {20, 90, 60, 20})),
      server_edit_(MakeControl<QLineEdit>(this, "server", {90, 27, 180, 20})),
      user_edit_(MakeControl<QLineEdit>(this, "user", {90, 57, 180, 20})),
      password_edit_(MakeControl<QLineEdit>(this, "password", {90, 87, 180, 20})),
      ok_(MakeControl<QPushButton>(this, "ok", {80, 130, 60, 20})),
      cancel_(MakeControl<QPushButton>(this, "cancel", {170, 130, 60, 20})) {
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFont(DialogFont());
    setFixedSize(300, 170);
    password_edit_->setEchoMode(QLineEdit::Password);
    ok_->setDefault(true);
    connect(ok_, &QPushButton::clicked, this, &DlgLogin::accept);
    connect(cancel_, &QPushButton::clicked, this, &DlgLogin::reject);
}

void DlgLogin::OnInitDialog() {
    language_.Load(folder_, LanguageFileFor(settings_.GetLanguage()));
    setWindowTitle(UiText(language_, "Login_word6"));
    server_label_->setText(UiText(language_, "Login_word3"));
    user_label_->setText(UiText(language_, "Login_word1"));
    password_label_->setText(UiText(language_, "Login_word2"));
    ok_->setText(UiText(language_, "Set_word9"));
    cancel_->setText(UiText(language_, "Set_word8"));
    server_edit_->setText(QString::fromLatin1(kPresetServer));
    user_edit_->setText(QString::fromLatin1(kPresetUser));
    password_edit_->clear();
    user_edit_->setFocus();
}

void DlgLogin::accept() { OnOK(); }

void DlgLogin::OnOK() {
    user_ = user_edit_->text().toStdString();
    password_ = password_edit_->text().toStdString();
    server_ = server_edit_->text().toStdString();
    if (user_.empty() || password_.empty() || server_.empty()) {
        ShowMessageBox(this, UiText(language_, "word13"));
        return;
    }
    QDialog::accept();
}
