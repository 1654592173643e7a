#pragma once

#include <QEvent>

// A window message posted to the playback window by its controls and dialogs: handled on the
// window thread after what is already queued, in posting order.
class CPostedMessage : public QEvent {
public:
    CPostedMessage(int message, int wparam, long lparam)
        : QEvent(EventType()), message_(message), wparam_(wparam), lparam_(lparam) {}

    static QEvent::Type EventType() {
        static const auto kType = static_cast<QEvent::Type>(QEvent::registerEventType());
        return kType;
    }

    int Message() const { return message_; }
    int WParam() const { return wparam_; }
    long LParam() const { return lparam_; }

private:
    int message_;
    int wparam_;
    long lparam_;
};
