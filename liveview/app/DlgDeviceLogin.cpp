#include "liveview/app/DlgDeviceLogin.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>

#include "common/ui/widgets/MakeControl.h"
#include "liveview/app/DialogStyle.h"
#include "liveview/app/DvrTextPrompt.h"
#include "liveview/core/dialogs/DvrTextCheck.h"

DlgDeviceLogin::DlgDeviceLogin(QWidget* parent)
    : QDialog(parent),
      frame_(MakeControl<QGroupBox>(this, "frame", {10, 10, 270, 150})),
      address_label_(MakeStaticText(this, "address_label", {20, 30, 60, 24})),
      address_edit_(MakeControl<QLineEdit>(this, "address", {70, 27, 160, 20})),
      // The port is never shown.
      port_label_(MakeStaticText(this, "port_label", {})),
      port_edit_(MakeControl<QLineEdit>(this, "port", {})),
      user_label_(MakeStaticText(this, "user_label", {20, 60, 60, 24})),
      user_edit_(MakeControl<QLineEdit>(this, "user", {70, 57, 60, 20})),
      password_label_(MakeStaticText(this, "password_label", {20, 90, 60, 24})),
      password_edit_(MakeControl<QLineEdit>(this, "password", {70, 87, 60, 20})),
      ok_(MakeControl<QPushButton>(this, "ok", {120, 170, 60, 20})),
      cancel_(MakeControl<QPushButton>(this, "cancel", {200, 170, 60, 20})) {
    ApplyDialogStyle(this, 195, 137);
    password_edit_->setEchoMode(QLineEdit::Password);
    ok_->setDefault(true);
    connect(ok_, &QPushButton::clicked, this, &DlgDeviceLogin::accept);
    connect(cancel_, &QPushButton::clicked, this, &DlgDeviceLogin::reject);
}

int DlgDeviceLogin::SetFields(const std::string& address, const std::string& port_text,
                              const std::string& user, const std::string& password,
                              uint8_t title_mode) {
    address_ = address;
    port_text_ = port_text;
    user_ = user;
    password_ = password;
    title_mode_ = title_mode;
    return 1;
}

int DlgDeviceLogin::DoModal() {
    OnInitDialog();
    return exec();
}

void DlgDeviceLogin::OnInitDialog() {
    texts_.Load();
    setWindowTitle(texts_.Text(title_mode_ == kTitleAdd ? "Login_word7" : "Login_word6"));
    address_label_->setText(texts_.Text("Login_word3"));
    user_label_->setText(texts_.Text("Login_word1"));
    password_label_->setText(texts_.Text("Login_word2"));
    // The edits begin at 70, or where the widest caption ends when it is wider than the 50
    // pixels before them ("PASSWORD:" is), so that no edit covers a caption.
    int widest = 0;
    for (const QLabel* label : {address_label_, user_label_, password_label_})
        widest = std::max(widest, label->sizeHint().width());
    for (QLabel* label : {address_label_, user_label_, password_label_})
        label->resize(std::max(60, widest), label->height());
    for (QLineEdit* edit : {address_edit_, user_edit_, password_edit_})
        edit->move(std::max(70, 20 + widest + 4), edit->y());
    ok_->setText(texts_.Text("Set_word9"));
    cancel_->setText(texts_.Text("Set_word8"));
    port_label_->hide();
    port_edit_->hide();
    address_edit_->setText(QString::fromStdString(address_));
    port_edit_->setText(QString::fromStdString(port_text_));
    user_edit_->setText(QString::fromStdString(user_));
    password_edit_->setText(QString::fromStdString(password_));
    address_edit_->setFocus();
}

void DlgDeviceLogin::accept() {
    _DVR_SETTINGS_ typed;
    typed.address = address_edit_->text().toStdString();
    typed.port_text = port_edit_->text().toStdString();
    typed.user = user_edit_->text().toStdString();
    typed.password = password_edit_->text().toStdString();
    if (!DvrTextsTaken(this, texts_, typed, false)) return;
    address_ = typed.address;
    port_text_ = typed.port_text;
    user_ = UpperCaseUser(typed.user);
    password_ = typed.password;
    QDialog::accept();
}
