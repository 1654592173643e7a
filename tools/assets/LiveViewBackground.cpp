#include <QPainter>

#include "tools/assets/BackdropKit.h"
#include "tools/assets/Backgrounds.h"

namespace skinart {

// Places are the live-view window's control positions (client pixels).
QImage PaintLiveViewBackground() {
    QImage image = PaintGround(1024, 738);
    QPainter painter(&image);
    DrawWordmark(painter, {30, 10}, QStringLiteral("Oculan"));

    DrawWell(painter, QRectF(30, 35, 750, 592));  // video grid

    DrawPanel(painter, QRectF(803, 46, 200, 210));  // pan/tilt/zoom pad
    DrawRoundWell(painter, ShownFaceCentre(888, 91, 30, 25), 54, 50);

    DrawPanel(painter, QRectF(803, 272, 216, 296));  // device tree and device buttons
    DrawWell(painter, QRectF(810, 280, 140, 280));
    DrawWell(painter, QRectF(808, 578, 154, 25));  // status label

    DrawPanel(painter, QRectF(24, 652, 646, 72));                       // tool and layout buttons
    DrawRoundWell(painter, ShownFaceCentre(870, 660, 73, 73), 41, 41);  // EXIT
    return image;
}

}  // namespace skinart
