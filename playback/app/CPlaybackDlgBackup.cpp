// CPlaybackDlg's backup: BACKUP runs the backup dialog, whose OK starts the recorder's fast
// playback of the span; the decode thread writes the frames to the backup's file pair instead
// of showing them, and timer 100 finishes the dialog once the stream has ended.
#include <QCalendarWidget>
#include <QDateTime>
#include <QTimeZone>

#include "common/ui/widgets/MessageBoxSeam.h"
#include "platform/netctrl/NetTimeouts.h"
#include "playback/app/CPlaybackDlg.h"

int CPlaybackDlg::StartDecodeThread() {
    decode_thread_.SetSpeedSink(
        [this](const std::string& text) { backup_dialog_.SetSpeedText(text); });
    return decode_thread_.StartDecodeThread();
}

int CPlaybackDlg::StopDecodeThread() { return decode_thread_.StopDecodeThread(); }

void CPlaybackDlg::OnBackup() {
    const int link_state = connection_.GetMachineInfe().nLinkState;
    if (link_state == kLinkIdle) return;
    if (link_state == kLinkStreaming) connection_.StopNetPlayFile();
    const auto camera = [this](int row) {
        return shared_.row_channels[row].load(std::memory_order_relaxed);
    };
    backup_dialog_.SetParams(camera(0), camera(1), camera(2), camera(3), 1, 0, 0);
    backup_dialog_.SetPlayPicker(time_picker_);
    backup_writer_.Begin();
    backup_dialog_.DoModal();
    if (connection_.GetMachineInfe().nLinkState == kLinkStreaming) {
        connection_.StopNetPlayFile();
    }
    // Backup mode ends first; the pair written last closes once no frame is written into it.
    backup_writer_.End();
}

void CPlaybackDlg::OnStartBackup() {
    backup_writer_.SetDirectory(backup_dialog_.Directory());
    // The recorder plays the span of the day shown; its clock counts from 1970 in its own zone.
    const int64_t day_s =
        QDateTime(calendar_->selectedDate(), QTime(0, 0), QTimeZone::utc()).toSecsSinceEpoch();
    backup_writer_.SetStream(day_s + backup_dialog_.Start(), day_s + backup_dialog_.End(),
                             static_cast<uint32_t>(connection_.GetMachineInfe().nAudioMask));
    search_.WaitForDay();
    connection_.NetPlayFile(backup_dialog_.Start(), backup_dialog_.End(),
                            shared_.channel_mask.load(std::memory_order_relaxed),
                            backup_dialog_.Audio(), 1);
}

void CPlaybackDlg::EndFinishedBackup(int link_state) {
    if (!backup_dialog_.Active() || shared_.backup_mode.load(std::memory_order_relaxed) != 1) {
        return;
    }
    // The recorder's time-out for a link that sends nothing also ends a span whose end never
    // comes.
    const int silence_ms = NetTimeouts{}.silence_ms;
    std::optional<CBackupWriter::Cut> cut;
    if (!backup_writer_.Failed()) {
        if (link_state == kLinkStreaming) {
            if (!backup_writer_.SilentFor(silence_ms)) return;
            connection_.StopNetPlayFile();
            cut = CBackupWriter::Cut::kSilent;
        } else if (link_state != kLinkLoggedIn) {
            // A span ends with the link logged in; lost or reset, the rest never came.
            cut = CBackupWriter::Cut::kLinkLost;
        }
    }
    backup_dialog_.Finish();
    // The pair is complete on disk before the operator hears of it.
    backup_writer_.Finish(cut);
    if (backup_writer_.Failed()) {
        ShowMessageBox(this,
                       QString::fromStdString(backup_writer_.IncompleteText(texts_, silence_ms)));
        return;
    }
    ShowMessageBox(this, QStringLiteral("OK!"));
}
