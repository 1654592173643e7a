#include "tools/assets/BackdropKit.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>

#include "tools/assets/Palette.h"

namespace skinart {

QImage PaintGround(int width_px, int height_px) {
    QImage image(width_px, height_px, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient ground(0, 0, 0, height_px);
    ground.setColorAt(0, kGroundTop);
    ground.setColorAt(1, kGroundBottom);
    painter.fillRect(image.rect(), ground);
    painter.setPen(kPanelEdge);
    painter.drawRect(QRect(0, 0, width_px - 1, height_px - 1));
    painter.fillRect(QRect(1, 1, width_px - 2, 2), kAccentDeep);
    return image;
}

void DrawPanel(QPainter& painter, const QRectF& area) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kPanelShade);
    painter.drawRoundedRect(area.translated(0, 1.5), 7, 7);
    QLinearGradient fill(area.topLeft(), area.bottomLeft());
    fill.setColorAt(0, kPanel.lighter(112));
    fill.setColorAt(1, kPanel);
    painter.setPen(QPen(kPanelEdge, 1));
    painter.setBrush(fill);
    painter.drawRoundedRect(area.adjusted(0.5, 0.5, -0.5, -0.5), 7, 7);
    painter.restore();
}

void DrawWell(QPainter& painter, const QRectF& area) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(kPanelEdge, 1));
    painter.setBrush(kWell);
    painter.drawRoundedRect(area.adjusted(-0.5, -0.5, 0.5, 0.5), 3, 3);
    painter.restore();
}

void DrawRoundWell(QPainter& painter, QPointF centre, qreal radius_x_px, qreal radius_y_px) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient fill(centre.x(), centre.y() - radius_y_px, centre.x(),
                         centre.y() + radius_y_px);
    fill.setColorAt(0, kPanelShade);
    fill.setColorAt(1, kPanel);
    painter.setPen(QPen(kPanelEdge, 1));
    painter.setBrush(fill);
    painter.drawEllipse(centre, radius_x_px, radius_y_px);
    painter.restore();
}

void DrawWordmark(QPainter& painter, QPointF top_left, const QString& name) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const QPointF mark = top_left + QPointF(7, 8);
    painter.setPen(QPen(kAccent, 2.2));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(mark, 6, 6);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kAccent);
    painter.drawEllipse(mark, 2.2, 2.2);
    QFont font("DejaVu Sans");
    font.setBold(true);
    font.setPixelSize(14);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 1.2);
    painter.setFont(font);
    painter.setPen(kInk);
    painter.drawText(QRectF(top_left.x() + 19, top_left.y(), 200, 17),
                     Qt::AlignLeft | Qt::AlignVCenter, name);
    painter.restore();
}

QPointF ShownFaceCentre(int x_px, int y_px, int width_px, int height_px) {
    return QPointF(x_px + (width_px - 2) / 2.0, y_px + (height_px - 2) / 2.0);
}

}  // namespace skinart
