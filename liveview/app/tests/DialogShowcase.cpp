// Shows one of the live view's dialogs with sample content, for screenshots in a real X
// window: dialog_showcase <notice|login|lockcheck|admin|password|info|set[:page]>.
#include <QApplication>
#include <QPalette>
#include <QTabWidget>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <memory>

#include "liveview/app/DlgAdmin.h"
#include "liveview/app/DlgDeviceLogin.h"
#include "liveview/app/DlgDvrInfo.h"
#include "liveview/app/DlgDvrSet.h"
#include "liveview/app/DlgLockCheck.h"
#include "liveview/app/DlgNotice.h"
#include "liveview/app/DlgPassword.h"

namespace {

std::unique_ptr<QWidget> Notice() {
    auto host = std::make_unique<QWidget>();
    host->setWindowTitle(QStringLiteral("notice host"));
    host->setWindowFlag(Qt::FramelessWindowHint);
    host->setGeometry(40, 40, 320, 120);
    QPalette palette = host->palette();
    palette.setColor(QPalette::Window, QColor(6, 45, 80));
    host->setPalette(palette);
    host->setAutoFillBackground(true);
    // A hover title as timer 26 makes them, again every second.
    auto* repeat = new QTimer(host.get());
    QObject::connect(repeat, &QTimer::timeout, [] {
        DlgNotice::Popup(QStringLiteral("Front door camera title, longer than the window"),
                         QRect(100, 100, 135, 14));
    });
    repeat->start(1000);
    DlgNotice::Popup(QStringLiteral("Front door camera title, longer than the window"),
                     QRect(100, 100, 135, 14));
    return host;
}

std::unique_ptr<QWidget> Login() {
    auto dialog = std::make_unique<DlgDeviceLogin>();
    dialog->SetFields(DlgDeviceLogin::kDefaultAddress, DlgDeviceLogin::kDefaultPortText,
                      DlgDeviceLogin::kDefaultUser, "", DlgDeviceLogin::kTitleAdd);
    dialog->OnInitDialog();
    return dialog;
}

std::unique_ptr<QWidget> LockCheck() {
    auto dialog = std::make_unique<DlgLockCheck>();
    dialog->SetPasswords("470319", "258604");
    dialog->OnInitDialog();
    return dialog;
}

std::unique_ptr<QWidget> Admin() {
    auto dialog = std::make_unique<DlgAdmin>();
    dialog->SetPasswords("470319", "258604", 1);
    dialog->OnInitDialog();
    return dialog;
}

std::unique_ptr<QWidget> Password() {
    auto dialog = std::make_unique<DlgPassword>();
    dialog->SetPrompt(QStringLiteral("Input New Admin Password"));
    dialog->OnInitDialog();
    return dialog;
}

std::unique_ptr<QWidget> Info() {
    auto dialog = std::make_unique<DlgDvrInfo>();
    dialog->OnInitDialog();
    const _DVR_DISK_INFO_ disks[2] = {{476940, 38, 0, 0, 1704067200, 1704585599},
                                      {953869, 91, 0, 0, -1, -1}};
    dialog->FillDisks(2, disks);
    dialog->ShowDisk();
    dialog->SetLedWord(0x48, 0x01);  // network, power and infrared
    return dialog;
}

std::unique_ptr<QWidget> Settings(int page) {
    auto dialog = std::make_unique<DlgDvrSet>();
    _DVR_SETTINGS_ settings;
    settings.address = "192.168.1.100:6802";
    settings.port_text = "6802";
    settings.user = "ADMIN";
    settings.password = "secret";
    settings.show_name = "Front gate";
    settings.channel_mask = 0x0f3f;
    settings.auto_connect = 1;
    dialog->SetDvr(settings, "/home/operator/recordings");
    NET_MAC_SET_PARA* para = dialog->Parameters();
    for (int c = 0; c < 16; ++c) {
        para->brightness[c] = para->hue[c] = para->contrast[c] = para->saturation[c] = 50;
        para->hDelay[c] = 32;
        para->vDelay[c] = 5;
        para->spotTime[c] = 5;
        para->ptzBaud[c] = 3;
        para->encodeFps[c] = 3;
    }
    para->resolution = 1;
    dialog->SetParametersValid(1);
    dialog->SetChannelCount(16);
    dialog->OnInitDialog();
    dialog->findChild<QTabWidget*>("tab")->setCurrentIndex(page);
    return dialog;
}

std::unique_ptr<QWidget> Make(const char* name) {
    if (std::strncmp(name, "set", 3) == 0) return Settings(name[3] == ':' ? name[4] - '0' : 0);
    if (std::strcmp(name, "notice") == 0) return Notice();
    if (std::strcmp(name, "login") == 0) return Login();
    if (std::strcmp(name, "lockcheck") == 0) return LockCheck();
    if (std::strcmp(name, "admin") == 0) return Admin();
    if (std::strcmp(name, "password") == 0) return Password();
    if (std::strcmp(name, "info") == 0) return Info();
    return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    std::unique_ptr<QWidget> window = argc > 1 ? Make(argv[1]) : nullptr;
    if (!window) {
        std::fprintf(stderr, "usage: %s notice|login|lockcheck|admin|password|info|set[:0-4]\n",
                     argv[0]);
        return 2;
    }
    if (qobject_cast<DlgDvrSet*>(window.get()) == nullptr) window->move(40, 40);
    window->show();
    std::printf("shown: %s\n", window->windowTitle().toUtf8().constData());
    std::fflush(stdout);
    return app.exec();
}
