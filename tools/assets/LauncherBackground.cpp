#include <QPainter>

#include "tools/assets/BackdropKit.h"
#include "tools/assets/Backgrounds.h"
#include "tools/assets/Palette.h"

namespace skinart {

// Places are the launcher window's control positions (client pixels).
QImage PaintLauncherBackground() {
    QImage image = PaintGround(358, 175);
    QPainter painter(&image);
    DrawWordmark(painter, {12, 6}, QStringLiteral("Start"));
    for (const int x : {20, 100, 180, 260}) {
        DrawRoundWell(painter, ShownFaceCentre(x, 30, 63, 82), 35, 45);
    }
    // A darker footer under the buttons keeps the lower half from looking unfinished.
    painter.fillRect(QRect(1, 136, 356, 38), kWell);
    painter.fillRect(QRect(1, 136, 356, 1), kPanelEdge);
    return image;
}

}  // namespace skinart
