#pragma once

#include <QFont>

// The face every program's dialogs and windows are laid out for: 12 pixels high, its Latin
// letters the 6 pixels wide of the template font's average character, Chinese texts included.
QFont DialogFont();
