#include "update/app/FirmoraApp.h"

#include <QLocale>

#include "platform/profile/ProgramFolder.h"
#include "update/app/FirmoraDlg.h"

bool CFirmoraApp::InitInstance() {
    // The tool speaks English whatever the desktop's language.
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    CFirmoraDlg dialog(ProgramFolder());
    dialog.OnInitDialog();
    dialog.exec();
    return false;
}
