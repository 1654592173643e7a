#include "StartApp.h"

#include "ProgramFolder.h"
#include "StartDlg.h"

bool CStartApp::InitInstance() {
    CStartDlg dialog(ProgramFolder());
    dialog.OnInitDialog();
    dialog.exec();
    return false;
}
