#include "launcher/app/StartDlg.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>

#include "common/ui/widgets/CAboutDlg.h"
#include "common/ui/widgets/MakeControl.h"
#include "common/ui/widgets/SegmentLabel.h"
#include "common/ui/widgets/SkinButton.h"
#include "launcher/core/StartLayout.h"
#include "platform/diag/DiagLog.h"

namespace {

constexpr std::uint32_t kLabelText = 0xFFFFFF;
constexpr std::uint32_t kLabelGround = 0x87652F;

QRect PlaceOf(StartControl control) {
    const StartRect r = StartControlPlace(control);
    return {r.x, r.y, r.width_px, r.height_px};
}

}  // namespace

CStartDlg::CStartDlg(const std::string& launcher_folder, QWidget* parent)
    : QDialog(parent),
      folder_(launcher_folder),
      settings_(launcher_folder),
      icon_(QString::fromStdString(launcher_folder + "/ClientSoftware/res/Start.png")),
      player_(MakeControl<CSkinButton>(this, "player", PlaceOf(StartControl::kPlayer))),
      live_view_(MakeControl<CSkinButton>(this, "live_view", PlaceOf(StartControl::kLiveView))),
      remote_playback_(MakeControl<CSkinButton>(this, "remote_playback",
                                                PlaceOf(StartControl::kRemotePlayback))),
      update_tool_(
          MakeControl<CSkinButton>(this, "update_tool", PlaceOf(StartControl::kUpdateTool))),
      minimize_(MakeControl<CSkinButton>(this, "minimize", PlaceOf(StartControl::kMinimize))),
      close_(MakeControl<CSkinButton>(this, "close", PlaceOf(StartControl::kClose))),
      chinese_button_(
          MakeControl<CSkinButton>(this, "chinese_button", PlaceOf(StartControl::kChineseButton))),
      english_button_(
          MakeControl<CSkinButton>(this, "english_button", PlaceOf(StartControl::kEnglishButton))),
      chinese_plain_button_(MakeControl<QPushButton>(this, "chinese_plain_button",
                                                     PlaceOf(StartControl::kChinesePlainButton))),
      english_plain_button_(MakeControl<QPushButton>(this, "english_plain_button",
                                                     PlaceOf(StartControl::kEnglishPlainButton))),
      chinese_choice_(
          MakeControl<QRadioButton>(this, "chinese_choice", PlaceOf(StartControl::kChineseChoice))),
      english_choice_(
          MakeControl<QRadioButton>(this, "english_choice", PlaceOf(StartControl::kEnglishChoice))),
      status_label_(
          MakeControl<CSegmentLabel>(this, "status_label", PlaceOf(StartControl::kStatusLabel))),
      chinese_label_(
          MakeControl<CSegmentLabel>(this, "chinese_label", PlaceOf(StartControl::kChineseLabel))),
      english_label_(
          MakeControl<CSegmentLabel>(this, "english_label", PlaceOf(StartControl::kEnglishLabel))) {
    // No button is the dialog's default: Enter has no effect.
    for (QPushButton* button : std::initializer_list<QPushButton*>{
             player_, live_view_, remote_playback_, update_tool_, minimize_, close_,
             chinese_button_, english_button_, chinese_plain_button_, english_plain_button_}) {
        button->setAutoDefault(false);
    }
    for (QWidget* hidden : std::initializer_list<QWidget*>{
             chinese_choice_, english_choice_, chinese_label_, english_label_, chinese_button_,
             chinese_plain_button_, english_button_, english_plain_button_}) {
        hidden->hide();
    }
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setWindowTitle(QStringLiteral("Start"));
    connect(player_, &QPushButton::clicked, this, &CStartDlg::OnStartPlayer);
    connect(live_view_, &QPushButton::clicked, this, &CStartDlg::OnStartLiveView);
    connect(remote_playback_, &QPushButton::clicked, this, &CStartDlg::OnStartRemotePlayback);
    connect(update_tool_, &QPushButton::clicked, this, &CStartDlg::OnStartUpdateTool);
    connect(minimize_, &QPushButton::clicked, this, &CStartDlg::OnMinimize);
    connect(close_, &QPushButton::clicked, this, &QDialog::reject);
}

void CStartDlg::OnInitDialog() {
    setWindowIcon(icon_);
    PlaceWindow();
    LoadLanguage();
    background_.SetFileName(folder_ + "/ClientSoftware/skin4/BACKGROUND.bmp");
    background_.LoadFromFile(1);
    SkinControls();
}

void CStartDlg::PlaceWindow() {
    const QRect area = screen()->availableGeometry();
    const StartRect place = StartWindowPlace({area.x(), area.y(), area.width(), area.height()});
    setFixedSize(place.width_px, place.height_px);
    move(place.x, place.y);
}

void CStartDlg::LoadLanguage() {
    const std::string language = settings_.GetLanguage();
    language_.Load(folder_, StartLanguageFile(language));
    // Which language the settings chose, on the hidden choice.
    (language == "chinese" ? chinese_choice_ : english_choice_)->setChecked(true);
}

void CStartDlg::SkinControls() {
    const std::string skin = folder_ + "/ClientSoftware/skin4/";
    const std::pair<CSkinButton*, const char*> stems[] = {
        {player_, "FILEPLAY"},       {live_view_, "LOCAL VIEW"},  {remote_playback_, "NETPLAY"},
        {update_tool_, "TOVRA"},     {minimize_, "MIN"},          {close_, "CLOSE"},
        {chinese_button_, "botton"}, {english_button_, "botton"},
    };
    for (const auto& [button, stem] : stems) {
        const std::string base = skin + stem;
        button->PreSubclassWindow();
        button->SetImages(base + "1.bmp", base + "3.bmp", base + "1.bmp", base + "2.bmp");
    }
    player_->SetToolTipText(language_.Text("Start_Word1").c_str(), 1);
    live_view_->SetToolTipText(language_.Text("Start_Word2").c_str(), 1);
    remote_playback_->SetToolTipText(language_.Text("Start_Word3").c_str(), 1);
    update_tool_->SetToolTipText(language_.Text("Start_Word4").c_str(), 1);

    for (CSegmentLabel* label : {status_label_, chinese_label_, english_label_}) {
        label->SetFont(8, 16, kLabelText, kLabelGround, 17);
    }
    chinese_label_->SetText(language_.Text("Panel_Set_Language_Chinese"));
    english_label_->SetText(language_.Text("Panel_Set_Language_English"));
}

void CStartDlg::OnStartPlayer() { StartProgramFile(StartProgram::kPlayBack); }
void CStartDlg::OnStartLiveView() { StartProgramFile(StartProgram::kOculan); }
void CStartDlg::OnStartRemotePlayback() { StartProgramFile(StartProgram::kRewinda); }
void CStartDlg::OnStartUpdateTool() { StartProgramFile(StartProgram::kFirmora); }

void CStartDlg::StartProgramFile(StartProgram program) {
    // Started without arguments and left to run on its own. The launcher closes whether or not
    // the program could start; only a line of the diagnostic log says it could not.
    const std::string path = StartProgramPath(folder_, program);
    if (!QProcess::startDetached(QString::fromStdString(path), {})) {
        diag::Log("launcher").error("cannot start {}", path);
    }
    close();
}

void CStartDlg::OnMinimize() { showMinimized(); }

void CStartDlg::paintEvent(QPaintEvent*) {
    // Without its image the window keeps the plain ground Qt fills in.
    QPainter painter(this);
    background_.Tile(painter, rect());
}

void CStartDlg::keyPressEvent(QKeyEvent* event) {
    // Esc never closes the launcher.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void CStartDlg::contextMenuEvent(QContextMenuEvent* event) {
    // The borderless window's system menu: the About item.
    QMenu menu(this);
    menu.addAction(QStringLiteral("&About Start..."), this,
                   [this] { CAboutDlg(icon_, QStringLiteral("Start"), this).exec(); });
    menu.exec(event->globalPos());
}
