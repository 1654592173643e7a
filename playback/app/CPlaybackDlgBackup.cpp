// CPlaybackDlg's backup: BACKUP runs the backup dialog, whose OK starts the recorder's fast
// playback of the span; the decode thread writes the frames to the backup's file pair instead
// of showing them, and timer 100 finishes the dialog once the stream has ended.
#include "common/ui/widgets/MessageBoxSeam.h"
#include "playback/app/CPlaybackDlg.h"

int CPlaybackDlg::StartDecodeThread() {
    decode_thread_.SetSpeedSink(
        [this](const std::string& text) { backup_dialog_.SetSpeedText(text); });
    decode_thread_.SetMessageSink([this](const std::string& text) {
        gate_->Post([this, text] { ShowMessageBox(this, QString::fromStdString(text)); });
    });
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
    connection_.NetPlayFile(backup_dialog_.Start(), backup_dialog_.End(),
                            shared_.channel_mask.load(std::memory_order_relaxed),
                            backup_dialog_.Audio(), 1);
}

void CPlaybackDlg::EndFinishedBackup(int link_state) {
    if (!backup_dialog_.Active() || shared_.backup_mode.load(std::memory_order_relaxed) != 1) {
        return;
    }
    // A backup that could not write ends at once and says so, instead of "OK!".
    if (backup_writer_.Failed()) {
        backup_dialog_.Finish();
        ShowMessageBox(this, QString::fromStdString(backup_writer_.Failure()));
        return;
    }
    if (link_state == kLinkStreaming) return;
    backup_dialog_.Finish();
    ShowMessageBox(this, QStringLiteral("OK!"));
}
