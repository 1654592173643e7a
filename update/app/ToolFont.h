#pragma once

#include <QFont>

// The face the update tool's windows are laid out for: Latin letters about 6 pixels wide,
// Chinese texts included.
QFont ToolFont();
