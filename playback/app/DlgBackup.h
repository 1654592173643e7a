#pragma once

#include <QDialog>
#include <QTimer>
#include <array>
#include <atomic>
#include <memory>
#include <string>

#include "common/settings/ConfigFile.h"
#include "common/settings/LanguageSelect.h"
#include "common/ui/core/WindowGate.h"

class QCheckBox;
class QDateTimeEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

// The backup dialog: the span of the searched day to copy, whether with sound, and the folder.
// It copies nothing itself: OK asks the main window to start the backup (WM_START_BACKUP, posted
// through the main window's gate), the main window's time picker, which follows the play time,
// moves the bar, the decode thread reports the rate, and the main window finishes the dialog when
// the stream has ended.
class DlgBackup : public QDialog {
    Q_OBJECT

public:
    static constexpr int kProgressTimer_ms = 200;
    static constexpr int kWidth_px = 330;
    static constexpr int kHeight_px = 295;

    // Settings and language files below the program's folder.
    explicit DlgBackup(const std::string& program_folder, QWidget* parent = nullptr);
    ~DlgBackup() override;

    // The cameras of the four rows (0 = none); audio, start and end are replaced by the
    // dialog's own at initialisation and OK.
    void SetParams(int camera1, int camera2, int camera3, int camera4, int audio, int start_s,
                   int end_s);
    // The main window's time picker: OK sets it to the start, the timer reads the play time.
    void SetPlayPicker(QDateTimeEdit* picker) { play_picker_ = picker; }

    // OnInitDialog, then the modal loop.
    int DoModal();
    void OnInitDialog();

    // The main window's start of the backup, posted to it by a valid OK.
    void SetStartBackup(std::shared_ptr<CWindowGate> owner_gate, CWindowGate::Task start_backup);
    // Any thread: the rate line, shown while the dialog is open.
    void SetSpeedText(const std::string& text);
    // The backup stream has ended: not active any more, and the dialog closes.
    void Finish();

    bool Active() const { return active_.load(std::memory_order_relaxed) == 1; }
    int Start() const { return start_s_; }
    int End() const { return end_s_; }
    int Audio() const { return audio_; }
    const std::string& Directory() const { return directory_; }
    int ProgressPosition() const { return progress_position_; }

    // OnOK and OnCancel.
    void accept() override;
    void reject() override;

private:
    void OnTimer();
    void OnBrowse();
    void OnStartChange();
    void OnEndChange();
    QString Text(const char* key) const;

    const std::string program_folder_;
    // The rate lines of the decode thread come through the dialog's own gate.
    std::shared_ptr<CWindowGate> gate_;
    std::shared_ptr<CWindowGate> owner_gate_;
    CWindowGate::Task start_backup_;
    int progress_position_ = 0;
    std::string directory_;
    LanguageSelect texts_;
    CConfigFile settings_;
    std::array<int, 4> cameras_{};
    int start_s_ = 0;
    int end_s_ = 0;
    int audio_ = 0;
    std::atomic<int> active_{0};
    std::atomic<bool> open_{false};  // from initialisation until the dialog ends
    QDateTimeEdit* play_picker_ = nullptr;
    QTimer progress_timer_;

    QGroupBox* info_;         // 1028
    QLabel* channel_line_;    // 1024
    QLabel* start_label_;     // 1025
    QDateTimeEdit* start_;    // 1045
    QLabel* end_label_;       // 1026
    QDateTimeEdit* end_;      // 1044
    QCheckBox* audio_box_;    // 1027
    QLabel* folder_label_;    // 1034
    QLineEdit* folder_;       // 1033
    QPushButton* browse_;     // 1035
    QProgressBar* progress_;  // 1029
    QLabel* speed_;           // 1030
    QPushButton* ok_;         // IDOK
    QPushButton* cancel_;     // IDCANCEL
};
