#pragma once

#include <QDialog>
#include <QTimer>

class QLabel;

// The title pop-up of a video cell: one line of text without caption or border, taking no
// input, that goes away 1.5 seconds after it was made. The caller keeps no handle: a notice
// frees itself, window, object and timer, once its time is up.
class DlgNotice : public QDialog {
    Q_OBJECT

public:
    static constexpr int kLifeTimer = 1;
    static constexpr int kLife_ms = 1500;

    // Makes a notice with the text, places it at screen_rect (screen pixels) and shows it.
    // The returned pointer is valid only until control goes back to the event loop.
    static DlgNotice* Popup(const QString& text, const QRect& screen_rect,
                            QWidget* owner = nullptr);

    const QString& Text() const { return text_; }

private:
    DlgNotice(const QString& text, QWidget* owner);
    void OnInitDialog();
    void OnTimer();

    QString text_;
    QLabel* line_ = nullptr;  // static 1142
    QTimer life_timer_;       // timer 1
};
