#pragma once

#include <QDialog>
#include <QPoint>
#include <array>
#include <map>
#include <memory>
#include <string>

#include "common/audio/WaveOutPlayer.h"
#include "common/settings/ConfigFile.h"
#include "common/settings/LanguageSelect.h"
#include "common/ui/core/GdiRenderer.h"
#include "common/ui/core/WindowGate.h"
#include "common/ui/widgets/SkinBitmap.h"
#include "common/ui/widgets/WindowTimers.h"
#include "platform/ddraw/DDrawCtrl.h"
#include "platform/netctrl/NetCtrl.h"
#include "playback/app/DlgBackup.h"
#include "playback/app/DlgPlaybackLogin.h"
#include "playback/app/DlgTimePlay.h"
#include "playback/app/PaneOutput.h"
#include "playback/core/backup/BackupWriter.h"
#include "playback/core/decode/ChannelNameOverlay.h"
#include "playback/core/decode/DecodeThread.h"
#include "playback/core/decode/PlaybackShared.h"
#include "playback/core/login/LinkWatch.h"
#include "playback/core/search/DayRecordSearch.h"
#include "playback/core/search/RecordSearchThread.h"
#include "playback/core/window/PlayFollow.h"
#include "playback/core/window/WindowDrag.h"

class CImageSlider;
class CRecordTimeline;
class CSegmentLabel;
class CSkinButton;
class CTransparentSlider;
class CVideoGrid;
class QCalendarWidget;
class QComboBox;
class QDateTimeEdit;
class QLabel;

// The remote-playback window: one skinned, captionless window of 1024 x 738 that talks to one
// recorder. It logs in, searches a day's records for the cameras of four timeline rows, and
// follows the recorder's link state every 300 ms. The window lives for the whole run; its
// only way out is OnCancel, which stops playback, the decode thread and the network layer in
// that order before the window goes.
//
// Its operations are spread over files by concern: CPlaybackDlg.cpp (start-up, layout,
// timers, mouse and keys, exit), CPlaybackDlgSearch.cpp (log-in, log-out, record search),
// CPlaybackDlgPlay.cpp (play control), CPlaybackDlgBackup.cpp (backup). Its decode thread
// plays what the recorder streams into the four panes, or writes it to the backup.
class CPlaybackDlg : public QDialog {
    Q_OBJECT

public:
    // Timer ids and periods.
    static constexpr int kDragWatchTimer = 60;
    static constexpr int kDragWatch_ms = 100;
    static constexpr int kRepaintTimer = 50;
    static constexpr int kRepaint_ms = 200;
    static constexpr int kLinkTimer = 100;
    static constexpr int kLink_ms = 300;
    static constexpr int kGridTimer = 101;
    static constexpr int kGrid_ms = 200;
    static constexpr int kPlayPositionTimer = 102;
    static constexpr int kPlayPosition_ms = 300;

    // The time picker shows only a time of day; its date part is always this day.
    static constexpr int kPickerYear = 2009;
    static constexpr int kPickerMonth = 8;
    static constexpr int kPickerDay = 28;

    // The record-range label's characters at their widest.
    static constexpr int kRangeCharWidth_px = 6;
    static constexpr int kRangeCharHeight_px = 12;
    static constexpr int kRangeWidth_chars = 50;

    // The channel-name images load with the window; without them the program shows
    // "error: lost some file!" and ends.
    explicit CPlaybackDlg(const std::string& program_folder, QWidget* parent = nullptr);
    ~CPlaybackDlg() override;

    // Sets the window up in its fixed order; false when it could not (the window then ends or
    // stays without timers and skins).
    bool OnInitDialog();
    // EXIT, the close button and a failed start: playback, decode thread and network layer
    // stop, then the window ends.
    void OnCancel();

    void OnTimer(int timer_id);
    void SetPickerTime(int seconds);

    void OnLogin();
    void OnLogout();
    int ShowDiskInfo();
    // Starts the day's search on the search thread: 1, or -1 when nothing was searched. The
    // rows are marked as the pages come.
    int SearchRecords();
    // True while the latest search still asks for pages.
    bool Searching() const { return search_number_ != 0; }
    void OnDateChange();
    void OnChannelChange();
    void OnMinimize();
    void OnClose();

    // Play control.
    void OnPlay();
    void OnStop();
    void OnSpeedUp();
    void OnSpeedNormal();
    void OnAudioOn();
    void OnAudioOff();
    void OnSliderMoving(int control_id, int position);
    void OnSliderChanged(int control_id, int position);
    void OnPickTime();
    void OnSnapshot();
    void OnTimePlay();
    void ClearKeyFrameFlags();

    // Backup.
    void OnBackup();
    void OnStartBackup();

    // The decode thread with the network layer: 1, or -1 when it could not start.
    int StartDecodeThread();
    int StopDecodeThread();

    NetCtrl& Connection() { return connection_; }
    PlaybackShared& Shared() { return shared_; }
    DlgPlaybackLogin& LoginDialog() { return login_dialog_; }
    DlgBackup& BackupDialog() { return backup_dialog_; }
    DlgTimePlay& TimePlayDialog() { return time_play_dialog_; }
    CDecodeThread& DecodeThread() { return decode_thread_; }
    CSkinButton* Button(int id) const;
    CVideoGrid* VideoGrid() const { return video_grid_; }
    CRecordTimeline* Timeline() const { return timeline_; }
    CImageSlider* PlaySlider() const { return play_slider_; }
    QComboBox* CameraBox(int row) const { return camera_boxes_[row]; }
    QCalendarWidget* Calendar() const { return calendar_; }
    QDateTimeEdit* TimePicker() const { return time_picker_; }
    CSegmentLabel* HostLabel() const { return host_label_; }
    CSegmentLabel* RangeLabel() const { return range_label_; }
    bool LostLinkArmed() const { return link_watch_.Armed(); }
    // Seconds of the day the picker shows.
    int PickerSeconds() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void reject() override;
    void done(int result) override;

private:
    void CreateControls();
    // Messages the sliders post.
    void OnSliderMessage(int message, int control_id, int position);
    void PlaceControls();
    void SetUpLabels();
    // As many cameras in each box's list as the box's place holds below it.
    void FitCameraLists();
    void SetUpSliders();
    void LoadSkins();
    void StartDisplay();
    void StartTimers();
    void ApplyLinkState(int link_state);
    void FollowPlayTime();
    void RefreshGridRect();
    // NetPlayFile from the second of the day to the end of the day, with the window's cameras,
    // sound and speed.
    void PlayFrom(int seconds);
    void ChangeSpeed(int fast);
    // Clears the panes' pictures and repaints the video window.
    void EraseVideoWindow();
    // Clears one pane's picture.
    void ClearPane(int pane);
    // The record range in the range label, in characters narrow enough to show all of it.
    void ShowRecordRange(const std::string& range);
    // Timer 100's end of a backup: the stream has ended (or cannot be written).
    void EndFinishedBackup(int link_state);
    // A page's marks and a search's end, on the window thread.
    void OnSearchPage(std::uint64_t search, const PageMarks& marks);
    void OnSearchEnd(std::uint64_t search);
    // The exit order, once, whatever ends the window.
    void StopAll();
    std::string SkinPath(const std::string& file) const;
    const std::string& Tr(const char* key) const { return texts_.Text(key); }

    const std::string program_folder_;
    // What the sliders, the backup dialog and the decode thread post to the window.
    std::shared_ptr<CWindowGate> gate_;
    NetCtrl connection_;
    DDrawCtrl display_;
    CGdiRenderer gdi_renderer_;
    PlaybackShared shared_;
    CConfigFile settings_;
    LanguageSelect texts_;
    CSkinBitmap background_;
    DlgPlaybackLogin login_dialog_;
    DlgBackup backup_dialog_;
    DlgTimePlay time_play_dialog_;
    // After the connection it asks through, so it ends first; its sinks post to the window.
    CRecordSearchThread search_{
        connection_,
        [this](std::uint64_t search, const PageMarks& marks) {
            QMetaObject::invokeMethod(
                this, [this, search, marks] { OnSearchPage(search, marks); }, Qt::QueuedConnection);
        },
        [this](std::uint64_t search, int) {
            QMetaObject::invokeMethod(
                this, [this, search] { OnSearchEnd(search); }, Qt::QueuedConnection);
        }};
    std::uint64_t search_number_ = 0;  // the search whose pages the timeline takes; 0 none
    int search_mday_ = 0;              // its day of the month
    CChannelNameOverlay overlay_;
    CBackupWriter backup_writer_{shared_.backup_mode};
    CWaveOutPlayer stereo_player_;
    CWaveOutPlayer mono_player_;
    CPaneOutput pane_output_{display_, gdi_renderer_, shared_.gdi_flag};
    // Last: it uses the members above until it has stopped.
    CDecodeThread decode_thread_{{connection_, shared_, backup_writer_, stereo_player_,
                                  mono_player_, overlay_, pane_output_}};

    CVideoGrid* video_grid_ = nullptr;
    CRecordTimeline* timeline_ = nullptr;
    CImageSlider* play_slider_ = nullptr;
    CImageSlider* hidden_slider_ = nullptr;
    CImageSlider* spare_slider_ = nullptr;
    CTransparentSlider* trackbar_ = nullptr;
    QLabel* hidden_static_ = nullptr;
    std::map<int, CSkinButton*> buttons_;
    std::array<QComboBox*, 4> camera_boxes_{};
    QCalendarWidget* calendar_ = nullptr;
    QDateTimeEdit* time_picker_ = nullptr;
    CSegmentLabel* host_label_ = nullptr;
    CSegmentLabel* range_label_ = nullptr;
    CSegmentLabel* caption_label_ = nullptr;
    // Every timer message first ends a finished window move.
    CWindowTimers timers_{this, [this](int id) {
                              window_drag_.OnTimerMessage();
                              OnTimer(id);
                          }};

    int date_style_ = 2;
    CLinkWatch link_watch_;
    CPlayFollow play_follow_;
    CWindowDrag window_drag_;
    QPoint drag_offset_;
    QPoint grid_origin_;                  // where the video window was at the last change
    std::array<int, 3> searched_date_{};  // year, month, day of the last date notification
    bool stopped_ = false;
};
