#pragma once

#include <QDialog>
#include <array>
#include <string>

#include "common/settings/ConfigFile.h"
#include "common/settings/LanguageSelect.h"
#include "update/core/TitleLayout.h"
#include "update/core/TitlePicture.h"

class NetCtrl;
class PreviewCanvas;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

// The channel-title dialog: sixteen names drawn in a chosen font as the recorder shows them,
// and sent to the recorder as its title files. The main window lends it its connection for
// each opening.
class DlgChangeChannel : public QDialog {
    Q_OBJECT

public:
    DlgChangeChannel(const std::string& program_folder, QWidget* parent);

    void SetConnection(NetCtrl* net) { net_ = net; }
    void OnInitDialog();

    void OnPreview();
    void OnSelchangeFontList();
    void OnUpdateDvrChannel();

    // The names drawn into the preview box, at its size and the cell size of the H and W
    // fields; returns the drawing.
    TitlePicture RenderPreview();
    void FillFontList();

    const QString& FaceName() const { return face_name_; }

private:
    void DoDataExchange();
    void SetPreviewBox(const PreviewBox& box);  // size, H and W
    TitleNames Names() const;

    std::string folder_;
    QListWidget* font_list_;
    QString face_name_;
    LanguageSelect language_{LanguageTable::kUpdateTool};
    CConfigFile settings_;
    PreviewCanvas* preview_;
    int cell_width_px_ = 0;
    int cell_height_px_ = 0;
    NetCtrl* net_ = nullptr;
    int series_ = 0;
    int channel_count_ = 0;

    QGroupBox* names_group_;
    std::array<QLineEdit*, kTitleRows> names_{};
    QLabel* font_label_;
    QLabel* size_label_;
    QLabel* height_label_;
    QLabel* width_label_;
    QLineEdit* height_edit_;
    QLineEdit* width_edit_;
    QPushButton* preview_button_;
    QPushButton* update_button_;
    QPushButton* cancel_;
};
