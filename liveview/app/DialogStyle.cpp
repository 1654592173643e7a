#include "DialogStyle.h"

#include <QWidget>

QFont DialogFont() {
    QFont font(QStringLiteral("WenQuanYi Micro Hei"));
    font.setPixelSize(12);
    return font;
}

void ApplyDialogStyle(QWidget* dialog, int width_units, int height_units) {
    dialog->setFont(DialogFont());
    dialog->setFixedSize(DialogUnits_px(width_units), DialogUnits_px(height_units));
}
