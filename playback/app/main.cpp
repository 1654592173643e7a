#include <QApplication>

#include "platform/profile/ProgramFolder.h"
#include "playback/app/CPlaybackApp.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Rewinda"));
    CPlaybackApp program;
    program.InitInstance(ProgramFolder());
    return 0;
}
