#include "update/app/UpdateDlg.h"

#include <QCloseEvent>
#include <QDir>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "common/ui/widgets/DialogFont.h"
#include "common/ui/widgets/FolderChooser.h"
#include "common/ui/widgets/MakeControl.h"
#include "common/ui/widgets/MessageBoxSeam.h"
#include "common/ui/widgets/UiText.h"
#include "platform/netctrl/NetCtrl.h"
#include "update/app/DialogUnits.h"
#include "update/core/LoginRules.h"
#include "update/core/ToolText.h"
#include "update/core/UpdateTreeUpload.h"

UpdateDlg::UpdateDlg(const std::string& program_folder, QWidget* parent,
                     std::chrono::milliseconds success_wait)
    : QDialog(parent),
      folder_(program_folder),
      settings_(program_folder),
      success_wait_(success_wait),
      // Two lines up to the folder field, centred on it: the caption is too long for one.
      folder_label_(MakeControl<QLabel>(this, "folder_label", DialogUnitRect(23, 21, 62, 20))),
      folder_edit_(MakeControl<QLineEdit>(this, "folder", DialogUnitRect(88, 25, 79, 12))),
      browse_(MakeControl<QPushButton>(this, "browse", DialogUnitRect(177, 24, 33, 13))),
      progress_(MakeControl<QLabel>(this, "progress", DialogUnitRect(7, 49, 214, 17))),
      ok_(MakeControl<QPushButton>(this, "ok", DialogUnitRect(87, 88, 50, 14))),
      cancel_(MakeControl<QPushButton>(this, "cancel", DialogUnitRect(153, 88, 50, 14))) {
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFont(DialogFont());
    setFixedSize(DialogUnitsX_px(228, kToolDialogBase), DialogUnitsY_px(110, kToolDialogBase));
    // Static texts wrap within their box.
    for (QLabel* label : {folder_label_, progress_}) {
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }
    folder_label_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    ok_->setDefault(true);
    connect(browse_, &QPushButton::clicked, this, &UpdateDlg::OnBrowse);
    connect(ok_, &QPushButton::clicked, this, &UpdateDlg::OnUpgrade);
    connect(cancel_, &QPushButton::clicked, this, &UpdateDlg::reject);
}

QString UpdateDlg::DefaultFolder() { return QDir::homePath() + QStringLiteral("/update"); }

void UpdateDlg::OnInitDialog() {
    language_.Load(folder_, LanguageFileFor(settings_.GetLanguage()));
    setWindowTitle(UiText(language_, "Update_Word1"));
    folder_label_->setText(UiText(language_, "Update_Word8"));
    browse_->setText(UiText(language_, "Set_word7"));
    ok_->setText(UiText(language_, "Set_word9"));
    cancel_->setText(UiText(language_, "Set_word8"));
    ShowFolder(DefaultFolder());
    progress_->clear();
}

void UpdateDlg::ShowFolder(const QString& folder) {
    folder_edit_->setText(folder);
    // From its start, as a path is read; the whole of a long one in the tooltip.
    folder_edit_->setCursorPosition(0);
    folder_edit_->setToolTip(folder);
}

void UpdateDlg::OnBrowse() {
    std::string path = folder_edit_->text().toStdString().substr(0, kMaxFolderPath_bytes);
    if (BrowseForFolder(this, path, kSelectDirectoryText) == 1) {
        ShowFolder(QString::fromStdString(path));
    }
}

void UpdateDlg::OnUpgrade() {
    if (LinkGone()) return;
    ok_->setEnabled(false);
    const int result = UploadUpdateFolder();
    ok_->setEnabled(true);
    progress_->clear();
    if (result < 0) return;

    // The window takes no input while the recorder finishes, and says so.
    busy_ = true;
    setEnabled(false);
    progress_->setText(UiText(language_, "Update_Wait"));
    QEventLoop wait;
    QTimer::singleShot(success_wait_, &wait, &QEventLoop::quit);
    wait.exec();
    progress_->clear();
    setEnabled(true);
    busy_ = false;
    ShowMessageBox(this, UiText(language_, "Update_Word11"));
    QDialog::accept();
}

int UpdateDlg::UploadUpdateFolder() {
    UpdateTreeUpload upload(*net_, [this](const std::string& text) {
        progress_->setText(QString::fromStdString(text));
        progress_->repaint();
    });
    const UpdateOutcome outcome = upload.UploadUpdateFolder(folder_edit_->text().toStdString());
    if (!upload.LeftOut().empty()) {
        ShowMessageBox(this, LeftOutText(UiText(language_, "Update_LeftOut"), upload.LeftOut()));
    }
    switch (outcome) {
        case UpdateOutcome::kDone:
            return 0;
        case UpdateOutcome::kMissingScript:
            ShowMessageBox(this, UiText(language_, "Update_Word12"));
            return -1;
        case UpdateOutcome::kTreeRefused:
            ShowMessageBox(this, UiText(language_, "Update_Word13"));
            return -1;
        case UpdateOutcome::kSendFailed:
            ShowMessageBox(this, SendFailureText(upload));
            return -1;
        case UpdateOutcome::kEndNotRun:
            ShowMessageBox(this,
                           SendFailureText(upload) + "\n" + UiText(language_, "Update_EndNotRun"));
            return -1;
    }
    return -1;
}

QString UpdateDlg::SendFailureText(const UpdateTreeUpload& upload) const {
    std::string text = language_.Text("Update_Word13");
    if (!upload.FailedFile().empty()) {
        text += "\n" + upload.FailedFile() + ": " + upload.FailedReason();
    }
    if (!LinkUp(net_->GetMachineInfe().nLinkState)) text += "\n" + language_.Text("word8");
    return QString::fromStdString(text);
}

bool UpdateDlg::LinkGone() {
    if (net_ != nullptr && LinkUp(net_->GetMachineInfe().nLinkState)) return false;
    ShowMessageBox(this, UiText(language_, "word8"));
    return true;
}

QString UpdateDlg::LeftOutText(const QString& heading, const std::vector<std::string>& paths) {
    // A box taller than the screen would hide its button.
    constexpr std::size_t kShown = 20;
    QString text = heading;
    for (std::size_t i = 0; i < paths.size() && i < kShown; ++i) {
        text += "\n" + QString::fromStdString(paths[i]);
    }
    if (paths.size() > kShown) text += QStringLiteral("\n(+%1)").arg(paths.size() - kShown);
    return text;
}

void UpdateDlg::closeEvent(QCloseEvent* event) {
    if (busy_) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}
