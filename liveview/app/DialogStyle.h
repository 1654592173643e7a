#pragma once

#include <QFont>

class QLabel;
class QStyle;
class QWidget;

// The live view's dialogs are laid out in pixels for a 12-pixel face whose Latin letters are
// 6 pixels wide, the dialog face the layouts were made for; dialog units of the templates are
// 1.5 pixels each way with it.
QFont DialogFont();

// Pixels of a template length in dialog units.
constexpr int DialogUnits_px(int units) { return units * 3 / 2; }

// Gives a dialog its face and the fixed client size of its template (dialog units).
void ApplyDialogStyle(QWidget* dialog, int width_units, int height_units);

// A static text as the dialogs place them: its text starts at the top left of its rectangle.
QLabel* NewStaticText(QWidget* parent);

// The narrower tab and check-box spacing of the layouts' native controls, for controls that
// would not fit their places with the toolkit's own: tabs and check boxes take less padding.
QStyle* CompactControlStyle();
