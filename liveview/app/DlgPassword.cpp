#include "liveview/app/DlgPassword.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

#include "liveview/app/DialogStyle.h"

DlgPassword::DlgPassword(QWidget* parent)
    : QDialog(parent),
      frame_(new QGroupBox(this)),
      entry_(new QLineEdit(this)),
      ok_(new QPushButton(this)),
      cancel_(new QPushButton(this)) {
    ApplyDialogStyle(this, 182, 69);
    entry_->setObjectName(QStringLiteral("entry"));
    entry_->setEchoMode(QLineEdit::Password);
    ok_->setObjectName(QStringLiteral("ok"));
    cancel_->setObjectName(QStringLiteral("cancel"));
    ok_->setDefault(true);
    frame_->setGeometry(10, 5, 255, 93);
    entry_->setGeometry(30, 25, 215, 20);
    ok_->setGeometry(55, 62, 70, 22);
    cancel_->setGeometry(150, 62, 70, 22);
    connect(ok_, &QPushButton::clicked, this, &DlgPassword::accept);
    connect(cancel_, &QPushButton::clicked, this, &DlgPassword::reject);
}

int DlgPassword::SetPrompt(const QString& text) {
    prompt_ = text;
    return 1;
}

int DlgPassword::DoModal() {
    OnInitDialog();
    return exec();
}

void DlgPassword::OnInitDialog() {
    texts_.Load();
    setWindowTitle(prompt_);
    ok_->setText(texts_.Text("Set_word9"));
    cancel_->setText(texts_.Text("Set_word8"));
    entered_.clear();
    entry_->clear();
    entry_->setFocus();
}

void DlgPassword::accept() {
    entered_ = entry_->text().toStdString();
    entry_->clear();
    QDialog::accept();
}
