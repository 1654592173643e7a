#include "liveview/app/CLiveViewApp.h"

#include "liveview/app/CLiveViewDlg.h"

CLiveViewApp::CLiveViewApp(int& argc, char** argv) : application_(argc, argv) {
    QApplication::setApplicationName("Oculan");
}

int CLiveViewApp::InitInstance() {
    CLiveViewDlg window(manager_);
    // A window whose start-up stopped early still runs, without timers; one whose password
    // check was cancelled has already closed.
    window.OnInitDialog();
    if (!window.Closed()) window.exec();
    return 0;
}
