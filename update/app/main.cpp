#include <QApplication>

#include "update/app/FirmoraApp.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Firmora"));
    CFirmoraApp firmora;
    firmora.InitInstance();
    return 0;
}
