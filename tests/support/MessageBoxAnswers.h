#pragma once

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QStringList>
#include <QTimer>
#include <deque>
#include <vector>

#include "common/ui/widgets/MessageBoxSeam.h"

// Answers the message boxes a test causes, in place of the real modal boxes, and keeps what
// they said. Without a queued answer a box gets its accepting button (OK or Yes).
class MessageBoxAnswers {
public:
    MessageBoxAnswers() {
        previous_ = SetMessageBoxHandler([this](const MessageBoxRequest& request) {
            requests_.push_back(request);
            if (answers_.empty()) {
                return request.buttons == MessageBoxButtons::kYesNo ? MessageBoxAnswer::kYes
                                                                    : MessageBoxAnswer::kOk;
            }
            const MessageBoxAnswer answer = answers_.front();
            answers_.pop_front();
            return answer;
        });
    }
    ~MessageBoxAnswers() { SetMessageBoxHandler(previous_); }
    MessageBoxAnswers(const MessageBoxAnswers&) = delete;
    MessageBoxAnswers& operator=(const MessageBoxAnswers&) = delete;

    void Answer(MessageBoxAnswer answer) { answers_.push_back(answer); }

    const std::vector<MessageBoxRequest>& Requests() const { return requests_; }
    QStringList Texts() const {
        QStringList texts;
        for (const MessageBoxRequest& request : requests_)
            texts << request.text;
        return texts;
    }

    // Runs the event loop until `count` boxes have been shown or the limit passes.
    bool WaitForCount(std::size_t count, int limit_ms = 10000) const {
        const QDeadlineTimer deadline(limit_ms);
        while (requests_.size() < count && !deadline.hasExpired()) {
            QEventLoop wait;
            QTimer::singleShot(10, &wait, &QEventLoop::quit);
            wait.exec();
        }
        return requests_.size() >= count;
    }

private:
    MessageBoxHandler previous_;
    std::deque<MessageBoxAnswer> answers_;
    std::vector<MessageBoxRequest> requests_;
};
