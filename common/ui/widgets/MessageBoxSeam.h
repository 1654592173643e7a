#pragma once

#include <QString>
#include <functional>

class QWidget;

// Every message box of the programs goes through here, so that tests answer the boxes
// without a modal loop blocking them.
enum class MessageBoxButtons { kOk, kOkCancel, kYesNo };
enum class MessageBoxIcon { kNone, kInformation, kWarning, kError, kQuestion };
enum class MessageBoxAnswer { kOk, kCancel, kYes, kNo };

struct MessageBoxRequest {
    QWidget* owner = nullptr;  // no owner: a box of its own on the desktop
    QString text;
    QString caption;  // empty: the program's name, as the platform's boxes show
    MessageBoxButtons buttons = MessageBoxButtons::kOk;
    MessageBoxIcon icon = MessageBoxIcon::kNone;
};

using MessageBoxHandler = std::function<MessageBoxAnswer(const MessageBoxRequest&)>;

// Shows the box modally and returns the button pressed; closing the box counts as its
// cancelling button (Cancel, No, or OK for a box with OK alone). Window thread only.
MessageBoxAnswer ShowMessageBox(const MessageBoxRequest& request);
MessageBoxAnswer ShowMessageBox(QWidget* owner, const QString& text, const QString& caption = {},
                                MessageBoxButtons buttons = MessageBoxButtons::kOk,
                                MessageBoxIcon icon = MessageBoxIcon::kNone);

// Puts a handler in place of the real boxes (tests); an empty one brings the real boxes back.
// Returns the handler it replaces.
MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler);
