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
#include "common/ui/widgets/SegmentLabel.h"
#include "common/ui/widgets/SkinButton.h"
#include "launcher/core/StartLayout.h"
#include "platform/diag/DiagLog.h"

namespace {

constexpr std::uint32_t kLabelText = 0xFFFFFF;
constexpr std::uint32_t kLabelGround = 0x87652F;

void Place(QWidget* widget, StartControl control) {
    const StartRect r = StartControlPlace(control);
    widget->setGeometry(r.x, r.y, r.width_px, r.height_px);
}

template <class Button>
Button* MakeButton(QWidget* parent, const char* name) {
    auto* button = new Button(parent);
    button->setObjectName(QString::fromLatin1(name));
    // No button is the dialog's default: Enter has no effect.
    button->setAutoDefault(false);
    return button;
}

CSegmentLabel* MakeLabel(QWidget* parent, const char* name) {
    auto* label = new CSegmentLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

QRadioButton* MakeChoice(QWidget* parent, const char* name) {
    auto* choice = new QRadioButton(parent);
    choice->setObjectName(QString::fromLatin1(name));
    choice->hide();
    return choice;
}

}  // namespace

CStartDlg::CStartDlg(const std::string& launcher_folder, QWidget* parent)
    : QDialog(parent),
      folder_(launcher_folder),
      settings_(launcher_folder),
      icon_(QString::fromStdString(launcher_folder + "/ClientSoftware/res/Start.png")),
      player_(MakeButton<CSkinButton>(this, "player")),
      live_view_(MakeButton<CSkinButton>(this, "live_view")),
      remote_playback_(MakeButton<CSkinButton>(this, "remote_playback")),
      update_tool_(MakeButton<CSkinButton>(this, "update_tool")),
      minimize_(MakeButton<CSkinButton>(this, "minimize")),
      close_(MakeButton<CSkinButton>(this, "close")),
      chinese_button_(MakeButton<CSkinButton>(this, "chinese_button")),
      english_button_(MakeButton<CSkinButton>(this, "english_button")),
      chinese_plain_button_(MakeButton<QPushButton>(this, "chinese_plain_button")),
      english_plain_button_(MakeButton<QPushButton>(this, "english_plain_button")),
      chinese_choice_(MakeChoice(this, "chinese_choice")),
      english_choice_(MakeChoice(this, "english_choice")),
      status_label_(MakeLabel(this, "status_label")),
      chinese_label_(MakeLabel(this, "chinese_label")),
      english_label_(MakeLabel(this, "english_label")) {
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
    PlaceControls();
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

void CStartDlg::PlaceControls() {
    Place(player_, StartControl::kPlayer);
    Place(live_view_, StartControl::kLiveView);
    Place(remote_playback_, StartControl::kRemotePlayback);
    Place(update_tool_, StartControl::kUpdateTool);
    Place(minimize_, StartControl::kMinimize);
    Place(close_, StartControl::kClose);
    Place(status_label_, StartControl::kStatusLabel);
    Place(chinese_choice_, StartControl::kChineseChoice);
    Place(chinese_button_, StartControl::kChineseButton);
    Place(chinese_plain_button_, StartControl::kChinesePlainButton);
    Place(english_choice_, StartControl::kEnglishChoice);
    Place(english_button_, StartControl::kEnglishButton);
    Place(english_plain_button_, StartControl::kEnglishPlainButton);
    Place(chinese_label_, StartControl::kChineseLabel);
    Place(english_label_, StartControl::kEnglishLabel);
    for (QWidget* hidden : std::initializer_list<QWidget*>{
             chinese_choice_, english_choice_, chinese_label_, english_label_, chinese_button_,
             chinese_plain_button_, english_button_, english_plain_button_}) {
        hidden->hide();
    }
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
