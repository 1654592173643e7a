#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <cstdint>

// Keeps the desktop from blanking or locking while the program runs, through the session's
// screen-saver inhibit (org.freedesktop.ScreenSaver on the session bus). Where there is no
// session bus or no such service it does nothing. The inhibit holds until the object goes
// (or the program ends, which the desktop notices too).
class ScreenSaverInhibit : public QObject {
    Q_OBJECT

public:
    explicit ScreenSaverInhibit(QString application, QString reason,
                                QDBusConnection bus = QDBusConnection::sessionBus());
    ~ScreenSaverInhibit() override;

    // Asks for the inhibit unless one is held or asked for; never waits for the answer.
    void KeepAwake();
    bool Held() const { return held_; }

signals:
    void HeldChanged(bool held);

private:
    QString application_;
    QString reason_;
    QDBusConnection bus_;
    bool asking_ = false;
    bool held_ = false;
    uint32_t cookie_ = 0;
};
