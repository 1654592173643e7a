#pragma once

#include <QTimer>
#include <QWidget>
#include <functional>

// Acts on a modal dialog from inside its modal loop: runs `act` once the dialog shows.
class WhenShown {
public:
    WhenShown(QWidget* dialog, std::function<void()> act) : dialog_(dialog), act_(std::move(act)) {
        poll_.setInterval(5);
        QObject::connect(&poll_, &QTimer::timeout, [this] {
            if (!dialog_->isVisible()) return;
            poll_.stop();
            ran_ = true;
            act_();
        });
        poll_.start();
    }

    bool Ran() const { return ran_; }

private:
    QWidget* dialog_;
    std::function<void()> act_;
    QTimer poll_;
    bool ran_ = false;
};
