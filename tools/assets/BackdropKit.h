#pragma once

#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QString>

class QPainter;

// The pieces every window background is made of.
namespace skinart {

// The ground of a window: a dark gradient, a hairline border and an accent rule along the top.
QImage PaintGround(int width_px, int height_px);

// A raised panel that groups controls.
void DrawPanel(QPainter& painter, const QRectF& area);

// A recess under a control that draws itself (video window, timeline, tree).
void DrawWell(QPainter& painter, const QRectF& area);

// A round recess under an elliptic button; centre and radii in window pixels.
void DrawRoundWell(QPainter& painter, QPointF centre, qreal radius_x_px, qreal radius_y_px);

// The program's name beside the suite's mark, for windows without a caption.
void DrawWordmark(QPainter& painter, QPointF top_left, const QString& name);

// The centre of the face a button of this place shows (its image reaches the window two
// pixels up and left of where it was drawn).
QPointF ShownFaceCentre(int x_px, int y_px, int width_px, int height_px);

}  // namespace skinart
