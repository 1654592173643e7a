#pragma once

#include <QFont>

class QWidget;

// The live view's dialogs are laid out in pixels for a 12-pixel face whose Latin letters are
// 6 pixels wide, the dialog face the layouts were made for; dialog units of the templates are
// 1.5 pixels each way with it.
QFont DialogFont();

// Pixels of a template length in dialog units.
constexpr int DialogUnits_px(int units) { return units * 3 / 2; }

// Gives a dialog its face and the fixed client size of its template (dialog units).
void ApplyDialogStyle(QWidget* dialog, int width_units, int height_units);
