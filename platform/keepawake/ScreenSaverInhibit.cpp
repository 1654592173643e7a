#include "platform/keepawake/ScreenSaverInhibit.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

namespace {

const char kService[] = "org.freedesktop.ScreenSaver";
const char kPath[] = "/org/freedesktop/ScreenSaver";
const char kInterface[] = "org.freedesktop.ScreenSaver";

}  // namespace

ScreenSaverInhibit::ScreenSaverInhibit(QString application, QString reason, QDBusConnection bus)
    : application_(std::move(application)), reason_(std::move(reason)), bus_(std::move(bus)) {}

ScreenSaverInhibit::~ScreenSaverInhibit() {
    if (!held_) return;
    QDBusMessage release = QDBusMessage::createMethodCall(kService, kPath, kInterface, "UnInhibit");
    release << cookie_;
    bus_.call(release, QDBus::NoBlock);
}

void ScreenSaverInhibit::KeepAwake() {
    if (held_ || asking_ || !bus_.isConnected()) return;
    QDBusMessage inhibit = QDBusMessage::createMethodCall(kService, kPath, kInterface, "Inhibit");
    inhibit << application_ << reason_;
    asking_ = true;
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(inhibit), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* w) {
        const QDBusPendingReply<uint32_t> reply = *w;
        w->deleteLater();
        asking_ = false;
        // No service, or it refused: the next tick asks again.
        if (reply.isError()) return;
        cookie_ = reply.value();
        held_ = true;
        emit HeldChanged(true);
    });
}
