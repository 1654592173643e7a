#include "liveview/app/DlgDvrSet.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>

#include "common/ui/widgets/DialogFont.h"
#include "common/ui/widgets/FolderChooser.h"
#include "common/ui/widgets/MakeControl.h"
#include "common/ui/widgets/MessageBoxSeam.h"
#include "liveview/app/DialogStyle.h"
#include "liveview/app/DvrTextPrompt.h"
#include "liveview/core/dialogs/ChannelBoxes.h"
#include "liveview/core/dialogs/DvrSetLists.h"
#include "liveview/core/dialogs/DvrTextCheck.h"

namespace {

// 376 x 300 with its frame: a 3-pixel border round a client area under a 19-pixel caption.
constexpr QSize kWindow(376, 300);
constexpr QSize kClient(370, 275);
constexpr int kComboHeight_px = 20;
// The parameter pages' lists open 160 pixels tall.
constexpr int kOpenListItems = 10;

void Fill(QComboBox* combo, const std::vector<std::string>& entries) {
    const QSignalBlocker quiet(combo);
    combo->clear();
    for (const std::string& entry : entries)
        combo->addItem(QString::fromStdString(entry));
}

void Select(QComboBox* combo, int position) {
    const QSignalBlocker quiet(combo);
    combo->setCurrentIndex(position < combo->count() ? position : -1);
}

}  // namespace

DlgDvrSet::DlgDvrSet(QWidget* parent)
    : QDialog(parent),
      choose_folder_(BrowseForFolder),
      tab_(MakeControl<QTabWidget>(this, "tab", {10, 5, 350, 235})) {
    setFont(DialogFont());
    setFixedSize(kClient);
    ok_ = MakeControl<QPushButton>(this, "ok", {180, 243, 70, 20});
    cancel_ = MakeControl<QPushButton>(this, "cancel", {270, 243, 70, 20});
    ok_->setDefault(true);

    address_label_ = PageText(0, "address_label", {25, 50, 70, 20});
    address_edit_ = PageControl<QLineEdit>(0, "address", {90, 48, 250, 20});
    user_label_ = PageText(0, "user_label", {25, 75, 70, 20});
    user_edit_ = PageControl<QLineEdit>(0, "user", {90, 73, 170, 20});
    password_label_ = PageText(0, "password_label", {25, 100, 70, 20});
    password_edit_ = PageControl<QLineEdit>(0, "password", {90, 98, 170, 20});
    show_name_label_ = PageText(0, "show_name_label", {25, 125, 70, 20});
    show_name_edit_ = PageControl<QLineEdit>(0, "show_name", {90, 123, 250, 20});
    // The port is never shown.
    port_label_ = MakeStaticText(this, "port_label", {});
    port_edit_ = MakeControl<QLineEdit>(this, "port", {});
    password_edit_->setEchoMode(QLineEdit::Password);

    channel_group_ = PageControl<QGroupBox>(1, "channel_group", {25, 30, 320, 80});
    all_channels_ = PageControl<QCheckBox>(1, "all", {35, 50, 40, 20});
    for (int n = 0; n < 16; ++n) {
        channel_boxes_[n] = PageControl<QCheckBox>(1, QStringLiteral("channel%1").arg(n + 1),
                                                   {80 + 30 * (n % 8), n < 8 ? 50 : 80, 30, 20});
    }
    live_group_ = PageControl<QGroupBox>(1, "live_group", {25, 120, 320, 110});
    frame_rate_label_ = PageText(1, "live_frame_rate_label", {35, 140, 80, 20});
    frame_rate_ = PageControl<QComboBox>(1, "live_frame_rate", {110, 138, 60, kComboHeight_px});
    quality_label_ = PageText(1, "live_quality_label", {195, 140, 80, 20});
    quality_ = PageControl<QComboBox>(1, "live_quality", {255, 138, 60, kComboHeight_px});
    directory_label_ = PageText(1, "directory_label", {35, 173, 110, 20});
    directory_edit_ = PageControl<QLineEdit>(1, "directory", {135, 171, 140, 20});
    browse_ = PageControl<QPushButton>(1, "browse", {285, 171, 50, 20});
    send_audio_ = PageControl<QCheckBox>(1, "send_audio", {35, 198, 80, 20});
    auto_connect_ = PageControl<QCheckBox>(1, "auto_connect", {195, 198, 120, 20});
    directory_edit_->setEnabled(false);
    browse_->setAutoDefault(false);

    // Pages 2 and 4 share one layout.
    for (std::size_t k = 0; k < ptz_combos_.size(); ++k) {
        const int step = 30 * static_cast<int>(k);
        ptz_labels_[k] = PageText(2, QStringLiteral("ptz_label%1").arg(k), {35, 55 + step, 80, 20});
        ptz_combos_[k] = PageControl<QComboBox>(2, QStringLiteral("ptz%1").arg(k),
                                                {115, 50 + step, 80, kComboHeight_px});
        connect(ptz_combos_[k], &QComboBox::currentIndexChanged, this, &DlgDvrSet::OnPtzChange);
    }
    for (std::size_t k = 0; k < picture_combos_.size(); ++k) {
        const int step = 25 * static_cast<int>(k);
        picture_labels_[k] =
            PageText(3, QStringLiteral("picture_label%1").arg(k), {35, 40 + step, 100, 20});
        picture_combos_[k] = PageControl<QComboBox>(3, QStringLiteral("picture%1").arg(k),
                                                    {155, 35 + step, 80, kComboHeight_px});
        connect(picture_combos_[k], &QComboBox::currentIndexChanged, this,
                &DlgDvrSet::OnPictureChange);
    }
    for (std::size_t k = 0; k < encode_combos_.size(); ++k) {
        const int step = 30 * static_cast<int>(k);
        encode_labels_[k] =
            PageText(4, QStringLiteral("encode_label%1").arg(k), {35, 55 + step, 80, 20});
        encode_combos_[k] = PageControl<QComboBox>(4, QStringLiteral("encode%1").arg(k),
                                                   {115, 50 + step, 80, kComboHeight_px});
        connect(encode_combos_[k], &QComboBox::currentIndexChanged, this,
                &DlgDvrSet::OnEncodeChange);
    }
    for (int page = 2; page < kPages; ++page) {
        for (QWidget* control : page_controls_[page]) {
            if (auto* combo = qobject_cast<QComboBox*>(control))
                combo->setMaxVisibleItems(kOpenListItems);
        }
    }

    tab_->tabBar()->setStyle(CompactControlStyle());
    all_channels_->setStyle(CompactControlStyle());
    for (QCheckBox* box : channel_boxes_)
        box->setStyle(CompactControlStyle());
    for (int page = 0; page < kPages; ++page)
        tab_->addTab(new QWidget, QString());
    connect(tab_, &QTabWidget::currentChanged, this, &DlgDvrSet::OnTabChange);
    connect(browse_, &QPushButton::clicked, this, &DlgDvrSet::OnBrowse);
    connect(all_channels_, &QCheckBox::clicked, this, &DlgDvrSet::OnAllChannels);
    connect(ok_, &QPushButton::clicked, this, &DlgDvrSet::accept);
    connect(cancel_, &QPushButton::clicked, this, &DlgDvrSet::reject);
}

template <class Control>
Control* DlgDvrSet::PageControl(int page, const QString& name, QRect place) {
    auto* control = MakeControl<Control>(this, name, place);
    page_controls_[page].push_back(control);
    return control;
}

QLabel* DlgDvrSet::PageText(int page, const QString& name, QRect place) {
    QLabel* label = MakeStaticText(this, name, place);
    page_controls_[page].push_back(label);
    return label;
}

int DlgDvrSet::SetDvr(const _DVR_SETTINGS_& settings, const std::string& record_directory) {
    settings_ = settings;
    record_directory_ = record_directory;
    return 1;
}

int DlgDvrSet::GetDvr(_DVR_SETTINGS_& settings, std::string& record_directory) const {
    settings = settings_;
    record_directory = record_directory_;
    return 1;
}

int DlgDvrSet::DoModal() {
    OnInitDialog();
    return exec();
}

void DlgDvrSet::OnInitDialog() {
    texts_.Load();
    setWindowTitle(texts_.Text("NetSet"));
    const char* const tab_keys[kPages] = {"NetUserEdit_Word1", "NetUserEdit_Word2",
                                          "NetUserEdit_Word4", "NetUserEdit_Word5",
                                          "NetUserEdit_Word6"};
    for (int page = 0; page < kPages; ++page)
        tab_->setTabText(page, texts_.Text(tab_keys[page]));
    address_label_->setText(texts_.Text("Login_word3"));
    user_label_->setText(texts_.Text("Login_word1"));
    password_label_->setText(texts_.Text("Login_word2"));
    show_name_label_->setText(texts_.Text("Machine_Showname"));
    port_label_->setText(texts_.Text("Login_word4"));
    channel_group_->setTitle(texts_.Text("Machine_Word1"));
    all_channels_->setText(QStringLiteral("all"));
    for (int n = 0; n < 16; ++n)
        channel_boxes_[n]->setText(QString::number(n + 1));
    frame_rate_label_->setText(texts_.Text("Set_word4"));
    quality_label_->setText(texts_.Text("Set_word3"));
    directory_label_->setText(texts_.Text("Set_word6"));
    browse_->setText(texts_.Text("Set_word7"));
    send_audio_->setText(texts_.Text("Avi_Word4"));
    auto_connect_->setText(texts_.Text("Machine_Word2"));
    const char* const ptz_keys[] = {"NetUserEdit_Word7", "NetUserEdit_Word8", "NetUserEdit_Word9",
                                    "NetUserEdit_Word10"};
    for (std::size_t k = 0; k < ptz_labels_.size(); ++k)
        ptz_labels_[k]->setText(texts_.Text(ptz_keys[k]));
    const char* const picture_keys[] = {
        "NetUserEdit_Word7",  "NetUserEdit_Word11", "NetUserEdit_Word12", "NetUserEdit_Word13",
        "NetUserEdit_Word14", "NetUserEdit_Word15", "NetUserEdit_Word16", "NetUserEdit_Word17"};
    for (std::size_t k = 0; k < picture_labels_.size(); ++k)
        picture_labels_[k]->setText(texts_.Text(picture_keys[k]));
    const char* const encode_keys[] = {"NetUserEdit_Word7", "NetUserEdit_Word18",
                                       "NetUserEdit_Word19", "NetUserEdit_Word20"};
    for (std::size_t k = 0; k < encode_labels_.size(); ++k)
        encode_labels_[k]->setText(texts_.Text(encode_keys[k]));
    ok_->setText(texts_.Text("Set_word9"));
    cancel_->setText(texts_.Text("Set_word8"));
    PlaceControls();

    {
        const QSignalBlocker quiet(tab_);
        tab_->setCurrentIndex(0);
    }
    OnTabChange(0);
    FillPages();

    send_audio_->setChecked(settings_.send_audio == 1);
    auto_connect_->setChecked(settings_.auto_connect == 1);
    directory_edit_->setText(QString::fromStdString(record_directory_));
    const ChannelBoxStates boxes = ChannelBoxesOf(settings_.channel_mask);
    for (int n = 0; n < 16; ++n)
        channel_boxes_[n]->setChecked(boxes[n]);
    all_channels_->setChecked(false);
    address_edit_->setText(QString::fromStdString(settings_.address));
    port_edit_->setText(QString::fromStdString(settings_.port_text));
    user_edit_->setText(QString::fromStdString(settings_.user));
    password_edit_->setText(QString::fromStdString(settings_.password));
    show_name_edit_->setText(QString::fromStdString(settings_.show_name));
}

void DlgDvrSet::PlaceControls() {
    port_label_->hide();
    port_edit_->hide();
    const QRect work_area = screen()->availableGeometry();
    move(work_area.left() + (work_area.width() - kWindow.width()) / 2,
         work_area.top() + (work_area.height() - kWindow.height()) / 2);
}

void DlgDvrSet::FillPages() {
    const LanguageSelect& texts = texts_.Table();
    Fill(frame_rate_, LiveFrameRateTexts());
    Select(frame_rate_, settings_.frame_rate_index);
    Fill(quality_, LiveQualityTexts(texts));
    Select(quality_, settings_.quality_index);

    for (QComboBox* combo : ptz_combos_)
        Fill(combo, {});
    for (QComboBox* combo : picture_combos_)
        Fill(combo, {});
    for (QComboBox* combo : encode_combos_)
        Fill(combo, {});
    if (parameters_valid_ != 1) return;

    const std::vector<std::string> cameras = CameraTexts(channel_count_);
    Fill(ptz_combos_[0], cameras);
    Fill(ptz_combos_[1], BaudTexts());
    Fill(ptz_combos_[2], DeviceIdTexts());
    Fill(ptz_combos_[3], ProtocolTexts());

    Fill(picture_combos_[0], cameras);
    for (int k = 1; k <= 4; ++k)
        Fill(picture_combos_[k], PictureLevelTexts());
    Fill(picture_combos_[5], HorizontalDelayTexts());
    Fill(picture_combos_[6], VerticalDelayTexts());
    Fill(picture_combos_[7], SpotTimeTexts());

    Fill(encode_combos_[0], cameras);
    Fill(encode_combos_[1], ResolutionTexts());
    Fill(encode_combos_[2], EncodeQualityTexts(texts, series_code_));
    Fill(encode_combos_[3], EncodeFrameRateTexts(texts));

    pages_.Start(para_, series_code_, channel_count_);
    ShowPtz(pages_.Ptz());
    ShowPicture(pages_.Picture());
    ShowEncode(pages_.Encode());
}

void DlgDvrSet::ShowPtz(const CDvrSetParameters::PtzShown& shown) {
    Select(ptz_combos_[0], shown.camera);
    Select(ptz_combos_[1], shown.baud);
    Select(ptz_combos_[2], shown.address);
    Select(ptz_combos_[3], shown.protocol);
}

void DlgDvrSet::ShowPicture(const CDvrSetParameters::PictureShown& shown) {
    Select(picture_combos_[0], shown.camera);
    for (std::size_t k = 0; k < shown.values.size(); ++k)
        Select(picture_combos_[k + 1], shown.values[k]);
}

void DlgDvrSet::ShowEncode(const CDvrSetParameters::EncodeShown& shown) {
    Select(encode_combos_[0], shown.camera);
    Select(encode_combos_[1], shown.resolution);
    Select(encode_combos_[2], shown.quality);
    Select(encode_combos_[3], shown.frame_rate);
}

void DlgDvrSet::OnTabChange(int page) {
    for (const std::vector<QWidget*>& controls : page_controls_) {
        for (QWidget* control : controls)
            control->hide();
    }
    if (page < 0 || page >= kPages) return;
    for (QWidget* control : page_controls_[page])
        control->show();
}

void DlgDvrSet::OnPtzChange() {
    const auto shown =
        pages_.OnPtzChange({ptz_combos_[0]->currentIndex(), ptz_combos_[1]->currentIndex(),
                            ptz_combos_[2]->currentIndex(), ptz_combos_[3]->currentIndex()});
    if (shown) ShowPtz(*shown);
}

void DlgDvrSet::OnPictureChange() {
    CDvrSetParameters::PictureShown now;
    now.camera = picture_combos_[0]->currentIndex();
    for (std::size_t k = 0; k < now.values.size(); ++k)
        now.values[k] = picture_combos_[k + 1]->currentIndex();
    const auto shown = pages_.OnPictureChange(now);
    if (shown) ShowPicture(*shown);
}

void DlgDvrSet::OnEncodeChange() {
    const auto ask_restart = [this] {
        return ShowMessageBox(this, texts_.Text("Rec"), QStringLiteral("INFOMATION"),
                              MessageBoxButtons::kYesNo,
                              MessageBoxIcon::kInformation) == MessageBoxAnswer::kYes;
    };
    const auto shown = pages_.OnEncodeChange(
        {encode_combos_[0]->currentIndex(), encode_combos_[1]->currentIndex(),
         encode_combos_[2]->currentIndex(), encode_combos_[3]->currentIndex()},
        ask_restart);
    if (shown) ShowEncode(*shown);
}

void DlgDvrSet::OnAllChannels() {
    const bool on = CAllChannelsToggle::Program().Flip();
    for (QCheckBox* box : channel_boxes_)
        box->setChecked(on);
}

void DlgDvrSet::OnBrowse() {
    std::string path = directory_edit_->text().toStdString();
    if (path.size() > kMaxFolderPath_bytes) path.resize(kMaxFolderPath_bytes);
    if (choose_folder_(this, path, "Select directory") != 1) return;
    if (!FitsUssField(UssField::kRecordDirectory, path)) {
        ShowMessageBox(this,
                       QString::fromStdString(UnfitTextMessage(UssField::kRecordDirectory, path)));
        return;
    }
    record_directory_ = path;
    directory_edit_->setText(QString::fromStdString(path));
}

void DlgDvrSet::accept() {
    _DVR_SETTINGS_ typed = settings_;
    typed.address = address_edit_->text().toStdString();
    typed.port_text = port_edit_->text().toStdString();
    typed.user = user_edit_->text().toStdString();
    typed.password = password_edit_->text().toStdString();
    typed.show_name = show_name_edit_->text().toStdString();
    if (!DvrTextsTaken(this, texts_, typed, true)) return;
    ChannelBoxStates boxes{};
    for (int n = 0; n < 16; ++n)
        boxes[n] = channel_boxes_[n]->isChecked();
    typed.channel_mask = ChannelMaskOf(boxes);
    typed.frame_rate_index = frame_rate_->currentIndex();
    typed.quality_index = quality_->currentIndex();
    typed.send_audio = send_audio_->isChecked() ? 1 : 0;
    typed.auto_connect = auto_connect_->isChecked() ? 1 : 0;
    settings_ = typed;
    record_directory_ = directory_edit_->text().toStdString();
    QDialog::accept();
}
