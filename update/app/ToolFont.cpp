#include "update/app/ToolFont.h"

QFont ToolFont() {
    QFont font(QStringLiteral("WenQuanYi Micro Hei"));
    font.setPixelSize(12);
    // Narrowed to the average letter the layouts were made for, so "CH16" fits its label.
    font.setStretch(88);
    return font;
}
