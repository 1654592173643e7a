#include <QApplication>

#include "CPlaybackApp.h"
#include "ProgramFolder.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Rewinda"));
    CPlaybackApp program;
    program.InitInstance(ProgramFolder());
    return 0;
}
