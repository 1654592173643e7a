#pragma once

#include <QDialog>
#include <array>
#include <vector>

#include "liveview/app/DialogTexts.h"
#include "platform/records/DvrMachineInfo.h"

class CDvrManager;
class QComboBox;
class QLabel;
class QPushButton;
class StaticLines;

// The INFO button's status window of one recorder: its disks, one at a time, its nine
// front-panel lamps, and REC, which starts the recorder's own recording by its front-panel
// keys. The main window fills it about 300 ms after it opens (its timer 16); updates that come
// while it is closed are ignored.
class DlgDvrInfo : public QDialog {
    Q_OBJECT

public:
    explicit DlgDvrInfo(QWidget* parent = nullptr);

    int SetDevice(CDvrManager* manager, int device);
    int DoModal();
    void OnInitDialog();

    // 0 while the dialog is closed; else 1.
    int FillDisks(int disk_count, const _DVR_DISK_INFO_* disks);
    int ShowDisk();
    int SetLedWord(int32_t low, int32_t high);
    // Asks the recorder for its disks and lamps and shows them; what timer 16 and REC do.
    // A failed request keeps what is shown.
    void UpdateFromDevice();

    void OnRec();
    // OnCancel.
    void reject() override;

    int LedWord() const { return led_word_; }
    bool IsReady() const { return ready_ == 1; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // Waits on the window thread; the dialog still paints but takes no input meanwhile.
    static void Pause(int duration_ms);

    DialogTexts texts_;
    int led_word_ = 0;
    int ready_ = 0;
    std::vector<_DVR_DISK_INFO_> disks_;
    CDvrManager* manager_ = nullptr;
    int device_ = 0;

    QLabel* disk_label_;                    // 1086
    QComboBox* disk_list_;                  // 1065
    StaticLines* disk_text_;                // 1087
    QPushButton* rec_;                      // 1047
    std::array<QLabel*, 9> lamp_labels_{};  // 1088 .. 1096 in the lamp table's order
};
