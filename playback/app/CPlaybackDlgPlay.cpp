// CPlaybackDlg's play control: PLAY and STOP, the speed and sound pairs, seeking with the play
// slider and the time picker, SNAP and the hidden TIME button. Every request plays from a
// second of the searched day to the day's end; the recorder then streams what the decode
// thread shows while the play state is 0.
#include <QDateTimeEdit>

#include "common/ui/core/SnapshotName.h"
#include "common/ui/widgets/MessageBoxSeam.h"
#include "common/ui/widgets/SkinButton.h"
#include "common/ui/widgets/VideoGrid.h"
#include "common/ui/widgets/WindowSnapshot.h"
#include "platform/surface/VideoSurfaceView.h"
#include "playback/app/CImageSlider.h"
#include "playback/app/CPlaybackDlg.h"
#include "playback/app/CRecordTimeline.h"
#include "playback/core/window/PlayTime.h"
#include "playback/core/window/PlaybackLayout.h"

namespace {

const QString kTimeNotSet = QStringLiteral("Time not set!");

}  // namespace

void CPlaybackDlg::PlayFrom(int seconds) {
    search_.WaitForDay();
    connection_.NetPlayFile(seconds, play_time::kDayEnd_s,
                            shared_.channel_mask.load(std::memory_order_relaxed),
                            shared_.audio_flag.load(std::memory_order_relaxed),
                            shared_.fast_flag.load(std::memory_order_relaxed));
}

void CPlaybackDlg::EraseVideoWindow() {
    CVideoSurfaceView::ClearUnder(video_grid_, video_grid_->rect());
    video_grid_->update();
}

void CPlaybackDlg::ClearPane(int pane) {
    const VideoCell cell = video_grid_->Cells().Cell(pane);
    CVideoSurfaceView::ClearUnder(
        video_grid_, QRect(cell.video_x, cell.video_y, cell.video_width, cell.video_height));
    video_grid_->update();
}

void CPlaybackDlg::OnPlay() {
    if (!time_picker_->time().isValid()) {
        ShowMessageBox(this, kTimeNotSet);
        return;
    }
    PlayFrom(PickerSeconds());
    EraseVideoWindow();
    shared_.play_state.store(PlaybackShared::kPlayStateShowing, std::memory_order_relaxed);
}

void CPlaybackDlg::OnStop() {
    // Pictures still on their way are decoded but no longer drawn.
    shared_.play_state.store(PlaybackShared::kPlayStateStopped, std::memory_order_relaxed);
    connection_.StopNetPlayFile();
}

void CPlaybackDlg::OnSpeedUp() { ChangeSpeed(1); }

void CPlaybackDlg::OnSpeedNormal() { ChangeSpeed(0); }

// A playback that shows restarts at the picker's time, which follows the play time, so it
// goes on about where the picture was. The pair then offers the other speed.
void CPlaybackDlg::ChangeSpeed(int fast) {
    shared_.fast_flag.store(fast, std::memory_order_relaxed);
    if (shared_.play_state.load(std::memory_order_relaxed) == PlaybackShared::kPlayStateShowing) {
        if (!time_picker_->time().isValid()) {
            ShowMessageBox(this, kTimeNotSet);
        } else {
            PlayFrom(PickerSeconds());
            EraseVideoWindow();
            shared_.play_state.store(PlaybackShared::kPlayStateShowing, std::memory_order_relaxed);
        }
    }
    Button(kIdSpeed)->setVisible(fast == 0);
    Button(kIdNormalSpeed)->setVisible(fast == 1);
}

// The sound choice reaches the recorder with the next request; locally it picks the player
// of the sound frames at once.
void CPlaybackDlg::OnAudioOn() {
    shared_.audio_flag.store(1, std::memory_order_relaxed);
    Button(kIdAudioOff)->show();
    Button(kIdAudioOn)->hide();
}

void CPlaybackDlg::OnAudioOff() {
    shared_.audio_flag.store(0, std::memory_order_relaxed);
    Button(kIdAudioOff)->hide();
    Button(kIdAudioOn)->show();
}

void CPlaybackDlg::OnSliderMoving(int control_id, int position) {
    if (control_id != kIdPlaySlider) return;
    // Timer 102 leaves slider and picker alone while the thumb is dragged.
    shared_.slider_drag.store(1, std::memory_order_relaxed);
    SetPickerTime(play_time::PickerSecond(timeline_->PosToSeconds(position)));
}

void CPlaybackDlg::OnSliderChanged(int control_id, int position) {
    if (control_id != kIdPlaySlider) return;
    // A key moves the picker as a drag does, so PLAY starts where the thumb stands; a thumb
    // let go on the picker's own minute keeps its seconds.
    if (play_time::SliderPosition(PickerSeconds()) != position) {
        SetPickerTime(play_time::PickerSecond(timeline_->PosToSeconds(position)));
    }
    if (connection_.GetMachineInfe().nLinkState == kLinkStreaming) {
        // The new place shows from each camera's next key frame.
        ClearKeyFrameFlags();
        PlayFrom(timeline_->PosToSeconds(position));
        EraseVideoWindow();
    }
    shared_.slider_drag.store(0, std::memory_order_relaxed);
}

void CPlaybackDlg::OnPickTime() {
    const QTime time = time_picker_->time();
    const int seconds = PickerSeconds();
    if (connection_.GetMachineInfe().nLinkState != kLinkStreaming) {
        // PLAY then starts there.
        play_slider_->SetPos(play_time::SliderPosition(seconds));
        return;
    }
    if (!time.isValid()) {
        ShowMessageBox(this, kTimeNotSet);
        return;
    }
    PlayFrom(seconds);
    EraseVideoWindow();
}

void CPlaybackDlg::OnSnapshot() { SaveWindowBitmap(video_grid_, SnapshotNameNow()); }

void CPlaybackDlg::OnTimePlay() {
    if (connection_.GetMachineInfe().nLinkState == kLinkIdle) return;
    if (time_play_dialog_.exec() != QDialog::Accepted) return;
    if (connection_.GetMachineInfe().nLinkState == kLinkStreaming) connection_.StopNetPlayFile();
    PlayFrom(time_play_dialog_.GetSeconds());
    EraseVideoWindow();
}

void CPlaybackDlg::ClearKeyFrameFlags() { decode_thread_.ClearKeyFrameFlags(); }
