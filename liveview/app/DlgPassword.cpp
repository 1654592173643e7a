#include "liveview/app/DlgPassword.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

#include "common/ui/widgets/MakeControl.h"
#include "liveview/app/DialogStyle.h"

DlgPassword::DlgPassword(QWidget* parent)
    : QDialog(parent),
      frame_(MakeControl<QGroupBox>(this, "frame", {10, 5, 255, 93})),
      entry_(MakeControl<QLineEdit>(this, "entry", {30, 25, 215, 20})),
      ok_(MakeControl<QPushButton>(this, "ok", {55, 62, 70, 22})),
      cancel_(MakeControl<QPushButton>(this, "cancel", {150, 62, 70, 22})) {
    ApplyDialogStyle(this, 182, 69);
    entry_->setEchoMode(QLineEdit::Password);
    ok_->setDefault(true);
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
