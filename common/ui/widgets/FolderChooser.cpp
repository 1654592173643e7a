#include "common/ui/widgets/FolderChooser.h"

#include "common/ui/widgets/MessageBoxSeam.h"

#include <QDir>
#include <QFileDialog>

int BrowseForFolder(QWidget* owner, std::string& path, const std::string& title) {
    QFileDialog dialog(owner, QString::fromStdString(title), QString::fromStdString(path));
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return 0;
    const std::string chosen =
        QDir::toNativeSeparators(dialog.selectedFiles().constFirst()).toStdString();
    if (chosen.size() > kMaxFolderPath_bytes) {
        ShowMessageBox(owner,
                       QStringLiteral("The folder path is longer than %1 bytes:\n%2")
                           .arg(kMaxFolderPath_bytes)
                           .arg(QString::fromStdString(chosen)),
                       QString::fromStdString(title), MessageBoxButtons::kOk,
                       MessageBoxIcon::kWarning);
        return 0;
    }
    path = chosen;
    return 1;
}
