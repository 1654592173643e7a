#include "playback/app/CPlaybackDlg.h"

#include <QAbstractItemView>
#include <QCalendarWidget>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDateTimeEdit>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QSignalBlocker>
#include <cstdlib>

#include "common/picture/YuvTables.h"
#include "common/ui/widgets/CAboutDlg.h"
#include "common/ui/widgets/DialogFont.h"
#include "common/ui/widgets/MessageBoxSeam.h"
#include "common/ui/widgets/QueuedGate.h"
#include "common/ui/widgets/SegmentLabel.h"
#include "common/ui/widgets/SkinButton.h"
#include "common/ui/widgets/VideoGrid.h"
#include "platform/surface/VideoSurfaceView.h"
#include "playback/app/CImageSlider.h"
#include "playback/app/CRecordTimeline.h"
#include "playback/app/CTransparentSlider.h"
#include "playback/core/login/LinkControls.h"
#include "playback/core/search/RecordTexts.h"
#include "playback/core/window/PlaybackLayout.h"
#include "playback/core/window/SliderMessages.h"

namespace {

QRect ToQRect(const ControlRect& r) { return QRect(r.x, r.y, r.width, r.height); }

// The pixel of the thumb bitmaps whose colour is see-through.
constexpr int kThumbKeyX = 0;
constexpr int kThumbKeyY = 0;
constexpr int kThumbResource = 132;
constexpr int kPressedThumbResource = 133;

}  // namespace

CPlaybackDlg::CPlaybackDlg(const std::string& program_folder, QWidget* parent)
    : QDialog(parent),
      program_folder_(program_folder),
      gate_(CreateQueuedGate(this)),
      settings_(program_folder),
      login_dialog_(program_folder, this),
      backup_dialog_(program_folder, this),
      time_play_dialog_(this),
      window_drag_(shared_.window_drag) {
    if (overlay_.LoadFiles(program_folder) != 1) {
        ShowMessageBox(nullptr, QStringLiteral("error: lost some file!"));
        std::exit(0);
    }
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowMinimizeButtonHint);
    setWindowTitle(QStringLiteral("Rewinda"));
    CreateControls();
}

CPlaybackDlg::~CPlaybackDlg() {
    StopAll();
    gate_->Close();
}

void CPlaybackDlg::CreateControls() {
    video_grid_ = new CVideoGrid(this);
    timeline_ = new CRecordTimeline(this);
    play_slider_ = new CImageSlider(kIdPlaySlider, program_folder_, this);
    hidden_slider_ = new CImageSlider(kIdHiddenSlider, program_folder_, this);
    spare_slider_ = new CImageSlider(kIdSpareSlider, program_folder_, this);
    for (CImageSlider* slider : {play_slider_, hidden_slider_, spare_slider_}) {
        slider->SetMessageTarget(gate_, [this](int message, int control_id, int position) {
            OnSliderMessage(message, control_id, position);
        });
    }
    trackbar_ = new CTransparentSlider(this);
    hidden_static_ = new QLabel(this);
    for (const SkinButtonPlace& place : kSkinButtons) {
        buttons_[place.id] = new CSkinButton(this);
    }
    for (QComboBox*& box : camera_boxes_)
        box = new QComboBox(this);
    calendar_ = new QCalendarWidget(this);
    time_picker_ = new QDateTimeEdit(this);
    host_label_ = new CSegmentLabel(this);
    range_label_ = new CSegmentLabel(this);
    caption_label_ = new CSegmentLabel(this);

    connect(Button(kIdExit), &QPushButton::clicked, this, &CPlaybackDlg::OnCancel);
    connect(Button(kIdMinimize), &QPushButton::clicked, this, &CPlaybackDlg::OnMinimize);
    connect(Button(kIdClose), &QPushButton::clicked, this, &CPlaybackDlg::OnClose);
    connect(Button(kIdLogin), &QPushButton::clicked, this, &CPlaybackDlg::OnLogin);
    connect(Button(kIdLogout), &QPushButton::clicked, this, &CPlaybackDlg::OnLogout);
    connect(Button(kIdPlay), &QPushButton::clicked, this, &CPlaybackDlg::OnPlay);
    connect(Button(kIdStop), &QPushButton::clicked, this, &CPlaybackDlg::OnStop);
    connect(Button(kIdAudioOn), &QPushButton::clicked, this, &CPlaybackDlg::OnAudioOn);
    connect(Button(kIdAudioOff), &QPushButton::clicked, this, &CPlaybackDlg::OnAudioOff);
    connect(Button(kIdSpeed), &QPushButton::clicked, this, &CPlaybackDlg::OnSpeedUp);
    connect(Button(kIdNormalSpeed), &QPushButton::clicked, this, &CPlaybackDlg::OnSpeedNormal);
    connect(Button(kIdSnap), &QPushButton::clicked, this, &CPlaybackDlg::OnSnapshot);
    connect(Button(kIdTime), &QPushButton::clicked, this, &CPlaybackDlg::OnTimePlay);
    connect(Button(kIdBackup), &QPushButton::clicked, this, &CPlaybackDlg::OnBackup);
    // The operator's changes only: the window's own settings of the picker are quiet.
    connect(time_picker_, &QDateTimeEdit::timeChanged, this, &CPlaybackDlg::OnPickTime);
    // Posted by the dialog (WM_START_BACKUP), so the backup starts after its OK has returned.
    backup_dialog_.SetStartBackup(gate_, [this] { OnStartBackup(); });
    connect(calendar_, &QCalendarWidget::selectionChanged, this, &CPlaybackDlg::OnDateChange);
    // Only the operator's choice searches; the window's own selections do not.
    for (QComboBox* box : camera_boxes_) {
        connect(box, &QComboBox::activated, this, &CPlaybackDlg::OnChannelChange);
    }
}

CSkinButton* CPlaybackDlg::Button(int id) const {
    const auto found = buttons_.find(id);
    return found == buttons_.end() ? nullptr : found->second;
}

bool CPlaybackDlg::OnInitDialog() {
    setWindowIcon(QIcon(QString::fromStdString(program_folder_ + "/res/Rewinda.png")));
    setFont(DialogFont());
    InitYuvTables();
    // The connection's network layer and the decode thread run for the whole life of the
    // window.
    if (StartDecodeThread() < 0) {
        ShowMessageBox(this, QStringLiteral(" InitUser Error!"));
        OnCancel();
        return false;
    }

    date_style_ = DateStyleFor(settings_.GetLanguage());
    texts_.Load(program_folder_, LanguageFileFor(settings_.GetLanguage()));

    time_picker_->setGeometry(ToQRect(kTimePickerRect));
    time_picker_->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    time_picker_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    time_picker_->setDateTime(
        QDateTime(QDate(kPickerYear, kPickerMonth, kPickerDay), QTime(0, 0, 0)));

    setGeometry(ToQRect(kWindowRect));
    setFixedSize(kWindowRect.width, kWindowRect.height);
    video_grid_->setGeometry(ToQRect(kVideoWindowRect));
    RefreshGridRect();
    video_grid_->Init(4, 4);
    video_grid_->SetTitleMode(1);
    decode_thread_.SetGrid(&video_grid_->Cells());
    stereo_player_.Open(2);
    mono_player_.Open(1);

    PlaceControls();
    SetUpLabels();
    SetUpSliders();
    LoadSkins();
    StartDisplay();

    link_watch_.Disarm();
    shared_.slider_drag.store(0, std::memory_order_relaxed);
    shared_.fast_flag.store(0, std::memory_order_relaxed);
    shared_.audio_flag.store(0, std::memory_order_relaxed);
    StartTimers();
    return true;
}

void CPlaybackDlg::PlaceControls() {
    for (const SkinButtonPlace& place : kSkinButtons) {
        CSkinButton* button = Button(place.id);
        button->setGeometry(ToQRect(place.rect));
        button->setVisible(place.shown);
    }
    // A box and its dropped list take the 120 pixels given, the list scrolling through the
    // cameras; without "combobox-popup: 0" the style drops every item, over the calendar.
    // The boxes are 50 pixels wide: a narrow arrow and margin leave room for "none".
    const int box_height = camera_boxes_[0]->sizeHint().height();
    for (int row = 0; row < 4; ++row) {
        QComboBox* box = camera_boxes_[row];
        box->setStyleSheet(
            QStringLiteral("QComboBox { padding: 0px 0px 0px 3px; combobox-popup: 0; }"
                           "QComboBox::drop-down { width: 14px; }"));
        box->setGeometry(kCameraBoxX[row], kCameraBoxY, kCameraBoxWidth, box_height);
    }
    calendar_->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    calendar_->setHorizontalHeaderFormat(QCalendarWidget::SingleLetterDayNames);
    const QSize calendar = calendar_->minimumSizeHint();
    calendar_->setGeometry(CalendarX(calendar.width()), kCalendarY, calendar.width(),
                           calendar.height());
    timeline_->setGeometry(ToQRect(kTimelineRect));
}

void CPlaybackDlg::FitCameraLists() {
    for (QComboBox* box : camera_boxes_) {
        const int row_px = std::max(1, box->view()->sizeHintForRow(0));
        const int frame_px = 2 * box->view()->frameWidth();
        box->setMaxVisibleItems(
            std::max(1, (kCameraBoxListHeight - box->height() - frame_px) / row_px));
    }
}

void CPlaybackDlg::SetUpLabels() {
    host_label_->setGeometry(ToQRect(kHostLabelRect));
    range_label_->setGeometry(ToQRect(kRangeLabelRect));
    caption_label_->setGeometry(ToQRect(kCaptionLabelRect));
    host_label_->SetFont(10, 23, 0xFFFFFF, 0x87652F, 17);
    range_label_->SetFont(kRangeCharWidth_px, kRangeCharHeight_px, 0xFFFFFF, 0x87652F,
                          kRangeWidth_chars);
    caption_label_->SetFont(8, 18, 0xFFFFFF, 0x6F5226, 17);
    caption_label_->SetText(Tr("Valid_Time"));
    video_grid_->SetColors(0x421B06, 0xFFFFFF, 0);
}

void CPlaybackDlg::SetUpSliders() {
    hidden_slider_->setGeometry(ToQRect(kHiddenSliderRect));
    hidden_static_->setGeometry(ToQRect(kHiddenStaticRect));
    // The spare slider gets no bitmaps and so never shows; it sits outside the window too.
    spare_slider_->setGeometry(ToQRect(kHiddenSliderRect));
    play_slider_->setGeometry(ToQRect(kPlaySliderRect));
    play_slider_->SetBitmaps(kThumbResource, kPressedThumbResource, true,
                             CImageSlider::kColourOfPixel, kThumbKeyX, kThumbKeyY);
    play_slider_->SetFocusRectOption(false, false);
    timeline_->SetRange(0, 1440);
    play_slider_->SetRange(0, 1440);
    play_slider_->SetPos(0);
    trackbar_->setRange(1, 4);
    trackbar_->hide();
}

std::string CPlaybackDlg::SkinPath(const std::string& file) const {
    return program_folder_ + "/skin3/" + file;
}

void CPlaybackDlg::LoadSkins() {
    background_.SetFileName(SkinPath("BACKGROUND.bmp"));
    background_.LoadFromFile(1);
    for (const SkinButtonPlace& place : kSkinButtons) {
        CSkinButton* button = Button(place.id);
        const std::string stem = place.stem;
        const std::string disabled = place.normal_when_disabled ? "1" : "4";
        // Clipped to its ellipse at its final size, then dressed.
        button->PreSubclassWindow();
        button->SetImages(SkinPath(stem + "1.bmp"), SkinPath(stem + "3.bmp"),
                          SkinPath(stem + disabled + ".bmp"), SkinPath(stem + "2.bmp"));
        if (place.tooltip_key != nullptr) button->SetToolTipText(Tr(place.tooltip_key).c_str(), 1);
    }
}

void CPlaybackDlg::StartDisplay() {
    if (display_.InitDDraw(video_grid_, 1, 2) < 0) {
        gdi_renderer_.SetDC(CVideoSurfaceView::SurfaceOf(this));
        shared_.gdi_flag.store(1, std::memory_order_relaxed);
    }
}

void CPlaybackDlg::StartTimers() {
    timers_.Start(kDragWatchTimer, kDragWatch_ms);
    timers_.Start(kLinkTimer, kLink_ms);
    timers_.Start(kGridTimer, kGrid_ms);
    timers_.Start(kPlayPositionTimer, kPlayPosition_ms);
}

void CPlaybackDlg::OnTimer(int timer_id) {
    switch (timer_id) {
        case kDragWatchTimer:
            if (window_drag_.OnDragWatch()) timers_.Start(kRepaintTimer, kRepaint_ms, true);
            break;
        case kRepaintTimer:
            update();
            timers_.Kill(kRepaintTimer);
            break;
        case kLinkTimer: {
            const _DVR_MACHINE_INFO_ info = link_watch_.Look(
                connection_, [this] { ShowMessageBox(this, QString::fromStdString(Tr("word8"))); });
            // A lost link leaves no picture of the recorder it lost.
            if (info.nLinkState == kLinkLost) EraseVideoWindow();
            ApplyLinkState(info.nLinkState);
            EndFinishedBackup(info.nLinkState);
            break;
        }
        case kGridTimer: {
            RefreshGridRect();
            const QPoint origin = video_grid_->mapToGlobal(QPoint(0, 0));
            if (origin != grid_origin_) {
                video_grid_->update();
                grid_origin_ = origin;
            }
            break;
        }
        case kPlayPositionTimer:
            FollowPlayTime();
            break;
        default:
            break;
    }
}

void CPlaybackDlg::ApplyLinkState(int link_state) {
    const LinkControls controls = ControlsForLinkState(link_state);
    const auto show = [this](int id, const std::optional<bool>& shown) {
        if (shown) Button(id)->setVisible(*shown);
    };
    const auto enable = [this](int id, const std::optional<bool>& enabled) {
        if (enabled) Button(id)->setEnabled(*enabled);
    };
    show(kIdPlay, controls.play_shown);
    show(kIdStop, controls.stop_shown);
    show(kIdLogin, controls.login_shown);
    show(kIdLogout, controls.logout_shown);
    if (controls.cameras_enabled) {
        for (QComboBox* box : camera_boxes_)
            box->setEnabled(*controls.cameras_enabled);
    }
    enable(kIdAudioOff, controls.audio_enabled);
    enable(kIdAudioOn, controls.audio_enabled);
    enable(kIdSpeed, controls.speed_enabled);
    enable(kIdNormalSpeed, controls.speed_enabled);
}

void CPlaybackDlg::FollowPlayTime() {
    if (connection_.GetMachineInfe().nLinkState != kLinkStreaming) return;
    if (shared_.slider_drag.load(std::memory_order_relaxed) != 0) return;
    const std::time_t play_time = shared_.play_time.load(std::memory_order_relaxed);
    const int position = timeline_->SecondsToPos(play_time);
    const CTimelineSlots& range = timeline_->Slots();
    if (!play_follow_.ShouldFollow(play_slider_->GetPos(), position, range.Minimum(),
                                   range.Maximum())) {
        return;
    }
    play_slider_->SetPos(position);
    SetPickerTime(timeline_->SecondsOfDay(play_time));
}

void CPlaybackDlg::SetPickerTime(int seconds) {
    // Only times of the day exist on the picker; a play time of another day shows nothing.
    if (seconds < 0 || seconds >= CTimelineSlots::kDay_s) return;
    // The window's own setting is no change by the operator.
    const QSignalBlocker quiet(time_picker_);
    time_picker_->setDateTime(QDateTime(QDate(kPickerYear, kPickerMonth, kPickerDay),
                                        QTime(seconds / 3600, seconds % 3600 / 60, seconds % 60)));
}

int CPlaybackDlg::PickerSeconds() const {
    const QTime time = time_picker_->time();
    return time.hour() * 3600 + time.minute() * 60 + time.second();
}

void CPlaybackDlg::RefreshGridRect() {
    const QPoint top_left = video_grid_->mapToGlobal(QPoint(0, 0));
    shared_.grid_rect[0].store(top_left.x(), std::memory_order_relaxed);
    shared_.grid_rect[1].store(top_left.y(), std::memory_order_relaxed);
    shared_.grid_rect[2].store(top_left.x() + video_grid_->width(), std::memory_order_relaxed);
    shared_.grid_rect[3].store(top_left.y() + video_grid_->height(), std::memory_order_relaxed);
}

void CPlaybackDlg::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (background_.Tile(painter, rect()) != 1) {
        painter.fillRect(rect(), palette().color(QPalette::Window));
    }
}

void CPlaybackDlg::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QDialog::mousePressEvent(event);
    RefreshGridRect();
    const QPoint at = event->globalPosition().toPoint();
    const int left = shared_.grid_rect[0].load(std::memory_order_relaxed);
    const int top = shared_.grid_rect[1].load(std::memory_order_relaxed);
    const int right = shared_.grid_rect[2].load(std::memory_order_relaxed);
    const int bottom = shared_.grid_rect[3].load(std::memory_order_relaxed);
    if (left < at.x() && at.x() < right && top < at.y() && at.y() < bottom) {
        const QPoint in_window = mapFromGlobal(at);
        video_grid_->SelectAt(in_window - QPoint(kVideoWindowRect.x, kVideoWindowRect.y));
        return;
    }
    // Any other point of the background moves the window.
    window_drag_.Press();
    drag_offset_ = at - frameGeometry().topLeft();
}

void CPlaybackDlg::mouseMoveEvent(QMouseEvent* event) {
    if (window_drag_.Moving()) move(event->globalPosition().toPoint() - drag_offset_);
}

void CPlaybackDlg::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) window_drag_.Release();
}

void CPlaybackDlg::keyPressEvent(QKeyEvent* event) {
    // Esc never closes the window, and Enter presses no button: the window's only default
    // button is the template's invisible OK, which ends nothing here.
    if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_Return ||
        event->key() == Qt::Key_Enter) {
        return event->accept();
    }
    QDialog::keyPressEvent(event);
}

void CPlaybackDlg::contextMenuEvent(QContextMenuEvent* event) {
    // The window has no caption, so its system menu's About entry lives here.
    QMenu menu(this);
    menu.addSeparator();
    menu.addAction(QStringLiteral("&About Rewinda..."), this, [this] {
        CAboutDlg about(windowIcon(), QStringLiteral("Rewinda"), this);
        about.exec();
    });
    menu.exec(event->globalPos());
}

void CPlaybackDlg::OnMinimize() { showMinimized(); }

void CPlaybackDlg::OnClose() { OnCancel(); }

void CPlaybackDlg::OnCancel() {
    StopAll();
    QDialog::done(QDialog::Rejected);
}

void CPlaybackDlg::reject() { OnCancel(); }

void CPlaybackDlg::done(int result) {
    // Whatever ends the window stops what runs behind it first.
    StopAll();
    QDialog::done(result);
}

void CPlaybackDlg::StopAll() {
    if (stopped_) return;
    stopped_ = true;
    timers_.KillAll();
    search_.Stop();
    // Playback stops, then what STOP does (nothing more is drawn), then the network layer.
    connection_.StopNetPlayFile();
    shared_.play_state.store(PlaybackShared::kPlayStateStopped, std::memory_order_relaxed);
    connection_.StopNetPlayFile();
    StopDecodeThread();
}

void CPlaybackDlg::OnSliderMessage(int message, int control_id, int position) {
    switch (message) {
        case WM_IMAGESLIDER_MOVING:
            OnSliderMoving(control_id, position);
            break;
        case WM_IMAGESLIDER_CHANGED:
            OnSliderChanged(control_id, position);
            break;
        default:
            break;
    }
}
