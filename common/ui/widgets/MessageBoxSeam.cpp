#include "common/ui/widgets/MessageBoxSeam.h"

#include <QApplication>
#include <QMessageBox>
#include <utility>

namespace {

MessageBoxHandler& Handler() {
    static MessageBoxHandler handler;
    return handler;
}

QMessageBox::Icon ToQt(MessageBoxIcon icon) {
    switch (icon) {
        case MessageBoxIcon::kInformation:
            return QMessageBox::Information;
        case MessageBoxIcon::kWarning:
            return QMessageBox::Warning;
        case MessageBoxIcon::kError:
            return QMessageBox::Critical;
        case MessageBoxIcon::kQuestion:
            return QMessageBox::Question;
        case MessageBoxIcon::kNone:
            break;
    }
    return QMessageBox::NoIcon;
}

MessageBoxAnswer ShowRealBox(const MessageBoxRequest& request) {
    const QString caption =
        request.caption.isEmpty() ? QApplication::applicationName() : request.caption;
    QMessageBox box(ToQt(request.icon), caption, request.text, QMessageBox::NoButton,
                    request.owner);
    switch (request.buttons) {
        case MessageBoxButtons::kOk:
            box.setStandardButtons(QMessageBox::Ok);
            box.setEscapeButton(QMessageBox::Ok);
            break;
        case MessageBoxButtons::kOkCancel:
            box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            box.setEscapeButton(QMessageBox::Cancel);
            break;
        case MessageBoxButtons::kYesNo:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            box.setEscapeButton(QMessageBox::No);
            break;
    }
    switch (box.exec()) {
        case QMessageBox::Yes:
            return MessageBoxAnswer::kYes;
        case QMessageBox::No:
            return MessageBoxAnswer::kNo;
        case QMessageBox::Cancel:
            return MessageBoxAnswer::kCancel;
        default:
            return MessageBoxAnswer::kOk;
    }
}

}  // namespace

MessageBoxAnswer ShowMessageBox(const MessageBoxRequest& request) {
    // A copy, so that a handler may replace itself while it answers.
    const MessageBoxHandler handler = Handler();
    return handler ? handler(request) : ShowRealBox(request);
}

MessageBoxAnswer ShowMessageBox(QWidget* owner, const QString& text, const QString& caption,
                                MessageBoxButtons buttons, MessageBoxIcon icon) {
    return ShowMessageBox(MessageBoxRequest{owner, text, caption, buttons, icon});
}

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler) {
    return std::exchange(Handler(), std::move(handler));
}
