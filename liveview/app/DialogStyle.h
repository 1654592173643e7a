#pragma once

class QStyle;
class QWidget;

// Gives a dialog the dialog face and the fixed client size of its template (dialog units of
// the 9-point template font, 6 x 12 pixels; the fractions of a pixel dropped, as the live
// view's dialogs have always been sized).
void ApplyDialogStyle(QWidget* dialog, int width_units, int height_units);

// The narrower tab and check-box spacing of the layouts' native controls, for controls that
// would not fit their places with the toolkit's own: tabs and check boxes take less padding.
QStyle* CompactControlStyle();
