#include <QPainter>

#include "tools/assets/BackdropKit.h"
#include "tools/assets/Backgrounds.h"
#include "tools/assets/Palette.h"

namespace skinart {
namespace {

// The play slider draws only its thumb; the groove it runs in is part of the background.
// Thumb centres run from 12 to 690 pixels into the 703-pixel slider at (55, 625), and the
// 11-pixel thumb sits at the slider's top.
void DrawSliderGroove(QPainter& painter) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF groove(55 + 10, 625 + 4, 682, 3);
    painter.setPen(QPen(kPanelEdge, 1));
    painter.setBrush(kWell);
    painter.drawRoundedRect(groove.adjusted(-0.5, -0.5, 0.5, 0.5), 2, 2);
    painter.restore();
}

}  // namespace

// Places are the playback window's control positions (client pixels).
QImage PaintPlaybackBackground() {
    QImage image = PaintGround(1024, 738);
    QPainter painter(&image);

    DrawWell(painter, QRectF(21, 20, 727, 606));  // video window
    DrawSliderGroove(painter);
    DrawWell(painter, QRectF(21, 660, 726, 68));  // timeline

    DrawWordmark(painter, {766, 14}, QStringLiteral("Rewinda"));
    DrawPanel(painter, QRectF(758, 44, 262, 64));    // log-in
    DrawPanel(painter, QRectF(758, 124, 262, 100));  // host, record range, caption
    DrawPanel(painter, QRectF(758, 288, 262, 226));  // cameras and calendar
    DrawPanel(painter, QRectF(754, 516, 204, 48));   // audio, snapshot, backup
    DrawPanel(painter, QRectF(754, 592, 100, 136));  // play position and play buttons
    DrawWell(painter, QRectF(768, 599, 78, 23));     // time picker
    DrawRoundWell(painter, ShownFaceCentre(930, 660, 73, 73), 41, 41);  // EXIT
    return image;
}

}  // namespace skinart
