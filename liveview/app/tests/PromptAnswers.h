#pragma once

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <deque>
#include <optional>

#include "liveview/app/DlgPassword.h"

// Answers the password prompts that a click opens, one entry per showing in order, by typing
// into the real prompt and pressing its buttons; no answer left means Cancel.
class PromptAnswers {
public:
    PromptAnswers(DlgPassword* prompt, std::deque<std::optional<QString>> entries)
        : prompt_(prompt), entries_(std::move(entries)) {
        poll_.setInterval(5);
        QObject::connect(&poll_, &QTimer::timeout, [this] { Answer(); });
        poll_.start();
    }

    // The captions of the prompts shown, in order.
    const QStringList& Captions() const { return captions_; }
    bool AllUsed() const { return entries_.empty(); }

private:
    void Answer() {
        if (!prompt_->isVisible()) return;
        captions_ << prompt_->windowTitle();
        std::optional<QString> entry;
        if (!entries_.empty()) {
            entry = entries_.front();
            entries_.pop_front();
        }
        if (!entry) {
            QTest::mouseClick(prompt_->findChild<QPushButton*>("cancel"), Qt::LeftButton);
            return;
        }
        QTest::keyClicks(prompt_->findChild<QLineEdit*>("entry"), *entry);
        QTest::mouseClick(prompt_->findChild<QPushButton*>("ok"), Qt::LeftButton);
    }

    DlgPassword* prompt_;
    std::deque<std::optional<QString>> entries_;
    QStringList captions_;
    QTimer poll_;
};
