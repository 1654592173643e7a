#include "liveview/app/DlgDeviceLogin.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>

#include "liveview/app/DialogStyle.h"
#include "liveview/app/DvrTextPrompt.h"
#include "liveview/core/dialogs/DvrTextCheck.h"

DlgDeviceLogin::DlgDeviceLogin(QWidget* parent)
    : QDialog(parent),
      frame_(new QGroupBox(this)),
      address_label_(NewStaticText(this)),
      address_edit_(new QLineEdit(this)),
      port_label_(NewStaticText(this)),
      port_edit_(new QLineEdit(this)),
      user_label_(NewStaticText(this)),
      user_edit_(new QLineEdit(this)),
      password_label_(NewStaticText(this)),
      password_edit_(new QLineEdit(this)),
      ok_(new QPushButton(this)),
      cancel_(new QPushButton(this)) {
    ApplyDialogStyle(this, 195, 137);
    address_edit_->setObjectName(QStringLiteral("address"));
    port_edit_->setObjectName(QStringLiteral("port"));
    user_edit_->setObjectName(QStringLiteral("user"));
    password_edit_->setObjectName(QStringLiteral("password"));
    password_edit_->setEchoMode(QLineEdit::Password);
    ok_->setObjectName(QStringLiteral("ok"));
    cancel_->setObjectName(QStringLiteral("cancel"));
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
    frame_->setGeometry(10, 10, 270, 150);
    address_label_->setText(texts_.Text("Login_word3"));
    user_label_->setText(texts_.Text("Login_word1"));
    password_label_->setText(texts_.Text("Login_word2"));
    // The edits begin at 70, or where the widest caption ends when it is wider than the 50
    // pixels before them ("PASSWORD:" is), so that no edit covers a caption.
    int widest = 0;
    for (const QLabel* label : {address_label_, user_label_, password_label_})
        widest = std::max(widest, label->sizeHint().width());
    const int label_width = std::max(60, widest);
    const int edit_x = std::max(70, 20 + widest + 4);
    address_label_->setGeometry(20, 30, label_width, 24);
    address_edit_->setGeometry(edit_x, 27, 160, 20);
    user_label_->setGeometry(20, 60, label_width, 24);
    user_edit_->setGeometry(edit_x, 57, 60, 20);
    password_label_->setGeometry(20, 90, label_width, 24);
    password_edit_->setGeometry(edit_x, 87, 60, 20);
    ok_->setText(texts_.Text("Set_word9"));
    ok_->setGeometry(120, 170, 60, 20);
    cancel_->setText(texts_.Text("Set_word8"));
    cancel_->setGeometry(200, 170, 60, 20);
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
