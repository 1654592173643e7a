#pragma once

#include <QApplication>
#include <QTimer>
#include <functional>

// Acts on the next modal dialog (or pop-up menu) of type Dialog from inside its modal loop,
// once it is up; `act` ends it.
template <class Dialog>
class ModalAct {
public:
    explicit ModalAct(std::function<void(Dialog&)> act) : act_(std::move(act)) {
        poll_.setInterval(5);
        QObject::connect(&poll_, &QTimer::timeout, [this] {
            auto* dialog = qobject_cast<Dialog*>(QApplication::activePopupWidget());
            if (dialog == nullptr)
                dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
            if (dialog == nullptr || !dialog->isVisible()) return;
            poll_.stop();
            ran_ = true;
            act_(*dialog);
        });
        poll_.start();
    }

    bool Ran() const { return ran_; }

private:
    std::function<void(Dialog&)> act_;
    QTimer poll_;
    bool ran_ = false;
};
