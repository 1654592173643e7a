#include "playback/app/DialogFace.h"

QFont DialogFace() {
    QFont font(QStringLiteral("WenQuanYi Micro Hei"));
    font.setPixelSize(12);
    return font;
}
