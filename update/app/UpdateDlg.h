#pragma once

#include <QDialog>
#include <chrono>
#include <string>
#include <vector>

#include "common/settings/ConfigFile.h"
#include "common/settings/LanguageSelect.h"

class NetCtrl;
class QLabel;
class QLineEdit;
class QPushButton;
class UpdateTreeUpload;

// Sends an update folder to the recorder between its start and end scripts. The main window
// lends it its connection for each opening.
class UpdateDlg : public QDialog {
    Q_OBJECT

public:
    // The recorder runs its end script meanwhile; the success message waits for it.
    static constexpr std::chrono::milliseconds kSuccessWait{15000};

    UpdateDlg(const std::string& program_folder, QWidget* parent,
              std::chrono::milliseconds success_wait = kSuccessWait);

    void SetConnection(NetCtrl* net) { net_ = net; }
    void OnInitDialog();

    void OnBrowse();
    void OnUpgrade();
    // 0, or -1 after a message.
    int UploadUpdateFolder();

    // The folder an opening starts with: "update" in the home folder.
    static QString DefaultFolder();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void ShowFolder(const QString& folder);
    // True, after saying so, when the recorder's link has gone since the dialog opened.
    bool LinkGone();
    // The message naming the entries an upload left out.
    static QString LeftOutText(const QString& heading, const std::vector<std::string>& paths);
    // "Update faild!", naming the file that was not sent and saying when the link has gone.
    QString SendFailureText(const UpdateTreeUpload& upload) const;

    std::string folder_;
    LanguageSelect language_{LanguageTable::kUpdateTool};
    CConfigFile settings_;
    NetCtrl* net_ = nullptr;
    std::chrono::milliseconds success_wait_;
    bool busy_ = false;

    QLabel* folder_label_;
    QLineEdit* folder_edit_;
    QPushButton* browse_;
    QLabel* progress_;
    QPushButton* ok_;
    QPushButton* cancel_;
};
