#pragma once

#include <QDialog>

class QDateTimeEdit;
class QPushButton;

// Asks for one time of day to play from. It belongs to the playback window's TIME button,
// which stays hidden, so the running program never shows it.
class DlgTimePlay : public QDialog {
    Q_OBJECT

public:
    static constexpr int kWidth_px = 200;
    static constexpr int kHeight_px = 90;

    explicit DlgTimePlay(QWidget* parent = nullptr);

    // The chosen second of the day; 0 until OK.
    int GetSeconds() const { return seconds_; }

    // OnOK.
    void accept() override;

private:
    int seconds_ = 0;
    QDateTimeEdit* picker_;  // 1032, starting at the present time
    QPushButton* ok_;
    QPushButton* cancel_;
};
