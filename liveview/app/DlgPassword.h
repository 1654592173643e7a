#pragma once

#include <QDialog>
#include <string>

#include "liveview/app/DialogTexts.h"

class QGroupBox;
class QLineEdit;
class QPushButton;

// One password prompt of a password change; the prompt is the window's caption.
class DlgPassword : public QDialog {
    Q_OBJECT

public:
    explicit DlgPassword(QWidget* parent = nullptr);

    // The caption of the next showing.
    int SetPrompt(const QString& text);
    // OnInitDialog, then the modal loop; after QDialog::Accepted the entry is readable.
    int DoModal();
    void OnInitDialog();
    const std::string& Entered() const { return entered_; }

    // OnOK.
    void accept() override;

private:
    DialogTexts texts_;
    QString prompt_;
    std::string entered_;

    QGroupBox* frame_;     // 1084
    QLineEdit* entry_;     // 1034
    QPushButton* ok_;      // 1
    QPushButton* cancel_;  // 2
};
