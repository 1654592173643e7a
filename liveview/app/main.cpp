// Oculan, the live view: takes no arguments.
#include "liveview/app/CLiveViewApp.h"

int main(int argc, char** argv) {
    CLiveViewApp app(argc, argv);
    return app.InitInstance();
}
