#pragma once

// The launcher program: shows its window until it closes.
class CStartApp {
public:
    // Runs the launcher's window to its end. false: the program ends then.
    bool InitInstance();
};
