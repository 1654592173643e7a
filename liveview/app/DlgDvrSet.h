#pragma once

#include <QDialog>
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "liveview/app/DialogTexts.h"
#include "liveview/core/dialogs/DvrSetParameters.h"
#include "liveview/core/store/DvrSettings.h"
#include "platform/records/NetMacSetPara.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;

// The SET button's dialog: on five pages, one device's own settings (address, log-in, show
// name, recorded channels, live frame rate and quality, audio, auto connect) with the record
// directory, and the recorder's parameters (PTZ port, camera pictures, recording), which are
// edited in place while the dialog is open and which the caller sends only after Confirm.
class DlgDvrSet : public QDialog {
    Q_OBJECT

public:
    // A modal folder choice, as BrowseForFolder.
    using FolderChooser =
        std::function<int(QWidget* owner, std::string& path, const std::string& title)>;

    explicit DlgDvrSet(QWidget* parent = nullptr);

    int SetDvr(const _DVR_SETTINGS_& settings, const std::string& record_directory);
    int GetDvr(_DVR_SETTINGS_& settings, std::string& record_directory) const;

    // What the caller gives before the dialog opens: the series code (7 or 0), the recorder's
    // parameters (filled through Parameters()) and whether they were read, and its cameras.
    void SetSeriesCode(int series_code) { series_code_ = series_code; }
    NET_MAC_SET_PARA* Parameters() { return &para_; }
    void SetParametersValid(int valid) { parameters_valid_ = valid; }
    void SetChannelCount(int channel_count) { channel_count_ = channel_count; }
    // What it reads after Confirm: whether a parameter page changed, and the record edited.
    int Changed() const { return pages_.Changed(); }
    const NET_MAC_SET_PARA& EditedParameters() const { return pages_.Para(); }

    int DoModal();
    void OnInitDialog();
    void SetFolderChooser(FolderChooser chooser) { choose_folder_ = std::move(chooser); }

    // OnOK.
    void accept() override;

    void OnTabChange(int page);
    void OnBrowse();
    void OnAllChannels();
    void OnPtzChange();
    void OnPictureChange();
    void OnEncodeChange();

private:
    static constexpr int kPages = 5;

    // A control or static text of a page, named and placed.
    template <class Control>
    Control* PageControl(int page, const QString& name, QRect place);
    QLabel* PageText(int page, const QString& name, QRect place);
    void PlaceControls();
    void FillPages();
    void ShowPtz(const CDvrSetParameters::PtzShown& shown);
    void ShowPicture(const CDvrSetParameters::PictureShown& shown);
    void ShowEncode(const CDvrSetParameters::EncodeShown& shown);

    DialogTexts texts_;
    _DVR_SETTINGS_ settings_;
    std::string record_directory_;
    int parameters_valid_ = 0;
    NET_MAC_SET_PARA para_{};
    int channel_count_ = 0;
    int series_code_ = 0;
    CDvrSetParameters pages_;
    FolderChooser choose_folder_;

    std::array<std::vector<QWidget*>, kPages> page_controls_;
    QTabWidget* tab_;  // 1044
    QPushButton* ok_;
    QPushButton* cancel_;
    // Page 0.
    QLabel* address_label_;      // 1033
    QLineEdit* address_edit_;    // 1034
    QLabel* user_label_;         // 1037
    QLineEdit* user_edit_;       // 1038
    QLabel* password_label_;     // 1039
    QLineEdit* password_edit_;   // 1040
    QLabel* show_name_label_;    // 1045
    QLineEdit* show_name_edit_;  // 1046
    QLabel* port_label_;         // 1035, never shown
    QLineEdit* port_edit_;       // 1036, never shown
    // Page 1.
    QGroupBox* channel_group_;                    // 1070
    QCheckBox* all_channels_;                     // 1074
    std::array<QCheckBox*, 16> channel_boxes_{};  // 1041, 1048 .. 1062
    QGroupBox* live_group_;                       // 1071
    QLabel* frame_rate_label_;                    // 1063
    QComboBox* frame_rate_;                       // 1065
    QLabel* quality_label_;                       // 1064
    QComboBox* quality_;                          // 1066
    QLabel* directory_label_;                     // 1068
    QLineEdit* directory_edit_;                   // 1069
    QPushButton* browse_;                         // 1072
    QCheckBox* send_audio_;                       // 1067
    QCheckBox* auto_connect_;                     // 1077
    // Page 2: camera, baud, device id, protocol.
    std::array<QLabel*, 4> ptz_labels_{};     // 1099 .. 1102
    std::array<QComboBox*, 4> ptz_combos_{};  // 1103 .. 1106
    // Page 3: camera and the seven picture values.
    std::array<QLabel*, 8> picture_labels_{};     // 1107 .. 1114
    std::array<QComboBox*, 8> picture_combos_{};  // 1115 .. 1122
    // Page 4: camera, resolution, quality, frame rate.
    std::array<QLabel*, 4> encode_labels_{};     // 1123 .. 1126
    std::array<QComboBox*, 4> encode_combos_{};  // 1127 .. 1130
};
