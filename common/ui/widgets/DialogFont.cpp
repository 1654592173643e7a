#include "common/ui/widgets/DialogFont.h"

QFont DialogFont() {
    QFont font(QStringLiteral("WenQuanYi Micro Hei"));
    font.setPixelSize(12);
    // Narrowed so that "A".."z" average 6 pixels as the platform measures a dialog font.
    font.setStretch(85);
    return font;
}
