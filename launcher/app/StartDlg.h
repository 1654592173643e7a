#pragma once

#include <QDialog>
#include <QIcon>
#include <string>

#include "common/settings/ConfigFile.h"
#include "common/settings/LanguageSelect.h"
#include "common/ui/widgets/SkinBitmap.h"
#include "launcher/core/StartTargets.h"

class CSegmentLabel;
class CSkinButton;
class QPushButton;
class QRadioButton;

// The launcher's window: four picture buttons that each start one program of the suite and
// close the launcher, a minimise and a close button. The language controls are laid out and
// kept hidden: the language follows the launcher's settings as read at start-up.
class CStartDlg : public QDialog {
    Q_OBJECT

public:
    // launcher_folder holds the launcher, its config/ and ClientSoftware/.
    explicit CStartDlg(const std::string& launcher_folder, QWidget* parent = nullptr);

    // Texts, places, skin and tooltips; called once before the window shows.
    void OnInitDialog();

    void OnStartPlayer();
    void OnStartLiveView();
    void OnStartRemotePlayback();
    void OnStartUpdateTool();
    void OnMinimize();

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void PlaceWindow();
    void LoadLanguage();
    void SkinControls();
    void StartProgramFile(StartProgram program);

    std::string folder_;
    LanguageSelect language_{LanguageTable::kLauncher};
    CConfigFile settings_;
    CSkinBitmap background_;
    QIcon icon_;

    CSkinButton* player_;
    CSkinButton* live_view_;
    CSkinButton* remote_playback_;
    CSkinButton* update_tool_;
    CSkinButton* minimize_;
    CSkinButton* close_;
    CSkinButton* chinese_button_;
    CSkinButton* english_button_;
    QPushButton* chinese_plain_button_;
    QPushButton* english_plain_button_;
    QRadioButton* chinese_choice_;
    QRadioButton* english_choice_;
    CSegmentLabel* status_label_;
    CSegmentLabel* chinese_label_;
    CSegmentLabel* english_label_;
};
