#pragma once

// Tests that start an installed program in a real X window: a virtual X server, the program
// and the recorder emulator as processes of their own, and the screen they draw.

#include <QImage>
#include <QString>
#include <functional>

#include "tests/support/PollUntil.h"
#include "tests/support/realwindow/ChildProcess.h"
#include "tests/support/realwindow/EmulatorProgram.h"
#include "tests/support/realwindow/XScreen.h"
#include "tests/support/realwindow/XvfbServer.h"

// Writes the image as build/screenshots/<name>.png and returns the file's path.
QString SaveScreenshot(const QImage& image, const QString& name);
