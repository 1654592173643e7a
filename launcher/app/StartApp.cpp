#include "launcher/app/StartApp.h"

#include "launcher/app/StartDlg.h"
#include "platform/profile/ProgramFolder.h"

bool CStartApp::InitInstance() {
    CStartDlg dialog(ProgramFolder());
    dialog.OnInitDialog();
    dialog.exec();
    return false;
}
