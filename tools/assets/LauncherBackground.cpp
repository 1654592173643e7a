#include <QPainter>

#include "BackdropKit.h"
#include "Backgrounds.h"

namespace skinart {

// Places are the launcher window's control positions (client pixels).
QImage PaintLauncherBackground() {
    QImage image = PaintGround(358, 175);
    QPainter painter(&image);
    DrawWordmark(painter, {12, 6}, QStringLiteral("Start"));
    for (const int x : {20, 100, 180, 260}) {
        DrawRoundWell(painter, ShownFaceCentre(x, 30, 63, 82), 35, 45);
    }
    return image;
}

}  // namespace skinart
