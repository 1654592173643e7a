#include "playback/app/CPlaybackApp.h"

#include "playback/app/CPlaybackDlg.h"

bool CPlaybackApp::InitInstance(const std::string& program_folder) {
    CPlaybackDlg window(program_folder);
    if (window.OnInitDialog()) window.exec();
    return false;
}
