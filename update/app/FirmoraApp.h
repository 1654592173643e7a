#pragma once

// The update tool program: shows its main window until it closes.
class CFirmoraApp {
public:
    // Runs the main window to its end. false: the program ends then.
    bool InitInstance();
};
