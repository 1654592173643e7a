// The inhibit against a screen-saver service of the test's own, on a private session bus.
#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QProcess>
#include <QStandardPaths>
#include <QtTest/QTest>
#include <memory>

#include "platform/keepawake/ScreenSaverInhibit.h"
#include "tests/support/QtWaits.h"

namespace {

class FakeScreenSaver : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.ScreenSaver")

public:
    QStringList inhibits;
    QList<uint> released;

public slots:
    uint Inhibit(const QString& application, const QString& reason) {
        inhibits << application + "|" + reason;
        return 42;
    }
    void UnInhibit(uint cookie) { released << cookie; }
};

// A dbus-daemon of the test's own, so nothing reaches the desktop the tests run on.
class PrivateBus {
public:
    PrivateBus() {
        daemon_.start("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
        if (daemon_.waitForReadyRead(10000))
            address_ = QString::fromUtf8(daemon_.readLine()).trimmed();
    }
    ~PrivateBus() {
        daemon_.kill();
        daemon_.waitForFinished();
    }
    QDBusConnection Connect(const QString& name) {
        return QDBusConnection::connectToBus(address_, name);
    }
    const QString& Address() const { return address_; }

private:
    QProcess daemon_;
    QString address_;
};

}  // namespace

TEST(ScreenSaverInhibit, HoldsOneInhibitFromTheFirstServiceThatAnswersUntilItGoes) {
    if (QStandardPaths::findExecutable("dbus-daemon").isEmpty()) GTEST_SKIP() << "no dbus-daemon";
    PrivateBus bus;
    ASSERT_FALSE(bus.Address().isEmpty());
    QDBusConnection service = bus.Connect("service");
    ASSERT_TRUE(service.isConnected());
    FakeScreenSaver saver;

    auto inhibit =
        std::make_unique<ScreenSaverInhibit>("Oculan", "live video", bus.Connect("client"));
    inhibit->KeepAwake();  // nobody offers the service yet
    ASSERT_TRUE(service.registerObject("/org/freedesktop/ScreenSaver", &saver,
                                       QDBusConnection::ExportAllSlots));
    ASSERT_TRUE(service.registerService("org.freedesktop.ScreenSaver"));
    // Asked again on later ticks until it holds.
    ASSERT_EVENTUALLY_WITHIN(
        [&] {
            inhibit->KeepAwake();
            return inhibit->Held();
        }(),
        10000);
    inhibit->KeepAwake();

    inhibit.reset();
    ASSERT_EVENTUALLY_EQ_WITHIN(saver.released, QList<uint>{42}, 10000);
    // A second request would have come before the release on the same connection.
    EXPECT_EQ(saver.inhibits, QStringList{"Oculan|live video"}) << "one inhibit for the run";

    QDBusConnection::disconnectFromBus("service");
    QDBusConnection::disconnectFromBus("client");
}

TEST(ScreenSaverInhibit, WithoutABusNothingHappens) {
    ScreenSaverInhibit inhibit("Oculan", "live video", QDBusConnection("no bus"));
    inhibit.KeepAwake();
    EXPECT_FALSE(inhibit.Held());
}

#include "ScreenSaverInhibitTest.moc"
