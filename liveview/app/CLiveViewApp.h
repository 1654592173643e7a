#pragma once

#include <QApplication>

#include "liveview/manager/DvrManager.h"

// The live-view program: the one device manager, which lives from before the main window
// until after it, and the main window run modally as the program's main loop.
class CLiveViewApp {
public:
    CLiveViewApp(int& argc, char** argv);

    // Builds and runs the main window; the program's exit status once it has closed.
    int InitInstance();

private:
    QApplication application_;
    CDvrManager manager_;
};
