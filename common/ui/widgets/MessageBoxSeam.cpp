#include "common/ui/widgets/MessageBoxSeam.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
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

// Boxes open at the same time (the log-in failures of several devices) would lie exactly on
// top of each other; each further one steps down and to the right, so every one shows.
constexpr int kCascade_px = 24;

int& OpenBoxes() {
    static int open = 0;
    return open;
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
    const int below = OpenBoxes()++;
    if (below > 0) {
        // Once shown, where the box placed itself over its owner.
        QTimer::singleShot(0, &box, [&box, below] {
            box.move(box.pos() + QPoint(kCascade_px, kCascade_px) * below);
        });
    }
    const int pressed = box.exec();
    --OpenBoxes();
    switch (pressed) {
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
