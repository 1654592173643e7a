#include <QApplication>

#include "launcher/app/StartApp.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Start"));
    CStartApp start;
    start.InitInstance();
    return 0;
}
