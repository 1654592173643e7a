#include "playback/app/DlgBackup.h"

#include <QCheckBox>
#include <QDateTimeEdit>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalBlocker>

#include "common/ui/widgets/DialogFont.h"
#include "common/ui/widgets/FolderChooser.h"
#include "common/ui/widgets/MakeControl.h"
#include "common/ui/widgets/MessageBoxSeam.h"
#include "common/ui/widgets/QueuedGate.h"
#include "playback/core/backup/BackupDialogRules.h"
#include "playback/core/window/PlayTime.h"

namespace {

// The pickers show a time of day; their date part is fixed and never read.
const QDate kPickerDate(2009, 8, 28);

int SecondsOf(const QTime& time) {
    return play_time::SecondsOfDay(time.hour(), time.minute(), time.second());
}

QTime TimeOf(int seconds) { return QTime(seconds / 3600, seconds % 3600 / 60, seconds % 60); }

}  // namespace

DlgBackup::DlgBackup(const std::string& program_folder, QWidget* parent)
    : QDialog(parent),
      program_folder_(program_folder),
      gate_(CreateQueuedGate(this)),
      settings_(program_folder),
      info_(MakeControl<QGroupBox>(this, "info", {15, 10, 300, 170})),
      // Across the group box: four cameras fit one line above the start picker.
      channel_line_(MakeControl<QLabel>(this, "channels", {30, 40, 270, 30})),
      start_label_(MakeControl<QLabel>(this, "start_label", {30, 70, 80, 30})),
      start_(MakeControl<QDateTimeEdit>(this, "start", {120, 65, 78, 23})),
      end_label_(MakeControl<QLabel>(this, "end_label", {30, 100, 80, 30})),
      end_(MakeControl<QDateTimeEdit>(this, "end", {120, 95, 78, 23})),
      audio_box_(MakeControl<QCheckBox>(this, "audio", {30, 120, 120, 30})),
      folder_label_(MakeControl<QLabel>(this, "folder_label", {30, 155, 100, 20})),
      folder_(MakeControl<QLineEdit>(this, "folder", {130, 153, 110, 20})),
      browse_(MakeControl<QPushButton>(this, "browse", {250, 153, 50, 20})),
      progress_(MakeControl<QProgressBar>(this, "progress", {15, 200, 300, 15})),
      speed_(MakeControl<QLabel>(this, "speed", {100, 230, 230, 15})),
      ok_(MakeControl<QPushButton>(this, "ok", {170, 260, 60, 20})),
      cancel_(MakeControl<QPushButton>(this, "cancel", {240, 260, 60, 20})) {
    setFixedSize(kWidth_px, kHeight_px);
    setFont(DialogFont());
    for (QDateTimeEdit* picker : {start_, end_}) {
        picker->setDisplayFormat(QStringLiteral("HH:mm:ss"));
        picker->setDate(kPickerDate);
    }
    // A text longer than the group box is wide wraps rather than being cut.
    channel_line_->setWordWrap(true);
    // The text stands left of its box.
    audio_box_->setLayoutDirection(Qt::RightToLeft);
    folder_->setEnabled(false);
    progress_->setTextVisible(false);
    ok_->setDefault(true);
    progress_timer_.setInterval(kProgressTimer_ms);
    progress_timer_.setParent(this);
    progress_timer_.setObjectName("progress timer");
    connect(&progress_timer_, &QTimer::timeout, this, &DlgBackup::OnTimer);
    connect(start_, &QDateTimeEdit::timeChanged, this, &DlgBackup::OnStartChange);
    connect(end_, &QDateTimeEdit::timeChanged, this, &DlgBackup::OnEndChange);
    connect(browse_, &QPushButton::clicked, this, &DlgBackup::OnBrowse);
    connect(ok_, &QPushButton::clicked, this, &DlgBackup::accept);
    connect(cancel_, &QPushButton::clicked, this, &DlgBackup::reject);
}

void DlgBackup::SetParams(int camera1, int camera2, int camera3, int camera4, int audio,
                          int start_s, int end_s) {
    cameras_ = {camera1, camera2, camera3, camera4};
    audio_ = audio;
    start_s_ = start_s;
    end_s_ = end_s;
}

int DlgBackup::DoModal() {
    OnInitDialog();
    return exec();
}

QString DlgBackup::Text(const char* key) const { return QString::fromStdString(texts_.Text(key)); }

void DlgBackup::OnInitDialog() {
    texts_.Load(program_folder_, LanguageFileFor(settings_.GetLanguage()));
    setWindowTitle(Text("Menu_Backup"));
    start_->setTime(QTime(0, 0, 0));
    end_->setTime(QTime(23, 59, 59));
    start_s_ = SecondsOf(start_->time());
    end_s_ = SecondsOf(end_->time());

    channel_line_->setText(
        QString::fromStdString(backup_dialog::ChannelLine(texts_.Text("BackUp_Word1"), cameras_)));
    info_->setTitle(Text("Panel_Info_DvrInfo"));
    start_label_->setText(QStringLiteral("Start Time:"));
    end_label_->setText(QStringLiteral("End Time:"));
    audio_box_->setText(Text("BackUp_Word4"));
    audio_box_->setChecked(false);
    folder_label_->setText(Text("Set_word6"));
    browse_->setText(Text("Set_word7"));
    ok_->setText(Text("Menu_Backup"));
    cancel_->setText(Text("Set_word8"));
    speed_->clear();
    // The default folder of the backups, as the recording pair's own default.
    directory_ = QDir::homePath().toStdString();
    folder_->setText(QString::fromStdString(directory_));
    active_.store(0, std::memory_order_relaxed);
    progress_position_ = 0;
    progress_->setRange(0, backup_dialog::kProgressRange);
    progress_->setValue(0);
    ok_->setEnabled(true);
    start_->setEnabled(true);
    end_->setEnabled(true);
    open_.store(true, std::memory_order_relaxed);
}

void DlgBackup::OnStartChange() { start_s_ = SecondsOf(start_->time()); }

void DlgBackup::OnEndChange() { end_s_ = SecondsOf(end_->time()); }

void DlgBackup::OnBrowse() {
    std::string folder = folder_->text().toStdString();
    if (BrowseForFolder(this, folder, "Select directory") != 1) return;
    directory_ = folder;
    folder_->setText(QString::fromStdString(folder));
}

void DlgBackup::accept() {
    if (start_s_ >= end_s_) {
        ShowMessageBox(this, Text("BackUp_Word5"));
        return;
    }
    if (play_picker_ != nullptr) {
        // Set by the dialog, not changed by the operator: the main window does not seek.
        const QSignalBlocker quiet(play_picker_);
        play_picker_->setTime(TimeOf(start_s_));
    }
    progress_position_ = 0;
    directory_ = folder_->text().toStdString();
    audio_ = audio_box_->isChecked() ? 1 : 0;
    if (owner_gate_) owner_gate_->Post(start_backup_);
    progress_timer_.start();
    active_.store(1, std::memory_order_relaxed);
    ok_->setEnabled(false);
    start_->setEnabled(false);
    end_->setEnabled(false);
}

void DlgBackup::reject() {
    open_.store(false, std::memory_order_relaxed);
    progress_timer_.stop();
    QDialog::reject();
}

void DlgBackup::Finish() {
    active_.store(0, std::memory_order_relaxed);
    reject();
}

void DlgBackup::OnTimer() {
    if (play_picker_ == nullptr) return;
    const auto position =
        backup_dialog::ProgressPosition(SecondsOf(play_picker_->time()), start_s_, end_s_);
    if (!position) return;
    progress_position_ = *position;
    if (progress_position_ < backup_dialog::kProgressRange) progress_->setValue(progress_position_);
}

DlgBackup::~DlgBackup() { gate_->Close(); }

void DlgBackup::SetStartBackup(std::shared_ptr<CWindowGate> owner_gate,
                               CWindowGate::Task start_backup) {
    owner_gate_ = std::move(owner_gate);
    start_backup_ = std::move(start_backup);
}

void DlgBackup::SetSpeedText(const std::string& text) {
    if (!open_.load(std::memory_order_relaxed)) return;
    gate_->Post([this, line = QString::fromStdString(text)] {
        if (isVisible()) speed_->setText(line);
    });
}
