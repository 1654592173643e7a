#include "FirmoraApp.h"

#include <QLocale>

#include "FirmoraDlg.h"
#include "ProgramFolder.h"

bool CFirmoraApp::InitInstance() {
    // The tool speaks English whatever the desktop's language.
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    CFirmoraDlg dialog(ProgramFolder());
    dialog.OnInitDialog();
    dialog.exec();
    return false;
}
