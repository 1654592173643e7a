#include "CLiveViewApp.h"

#include "CLiveViewDlg.h"

CLiveViewApp::CLiveViewApp(int& argc, char** argv) : application_(argc, argv) {
    QApplication::setApplicationName("Oculan");
}

int CLiveViewApp::InitInstance() {
    CLiveViewDlg window(manager_);
    // A window whose start-up stopped early still runs, without timers.
    window.OnInitDialog();
    window.exec();
    return 0;
}
