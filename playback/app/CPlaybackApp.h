#pragma once

#include <string>

// The remote-playback program: runs its one window modally and ends when it closes.
class CPlaybackApp {
public:
    // Builds the window over the program's folder, sets it up and runs it. The program ends
    // afterwards whatever the window's result.
    bool InitInstance(const std::string& program_folder);
};
