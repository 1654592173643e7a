#include "playback/app/CTransparentSlider.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyle>

#include "common/ui/widgets/ColorRef.h"

CTransparentSlider::CTransparentSlider(QWidget* parent) : QSlider(Qt::Horizontal, parent) {}

void CTransparentSlider::showEvent(QShowEvent* event) {
    QSlider::showEvent(event);
    // The parent's own painting without its children: what lies behind the control.
    if (parentWidget() != nullptr) {
        background_ = QPixmap(size());
        background_.fill(Qt::transparent);
        parentWidget()->render(&background_, QPoint(), QRegion(geometry()),
                               QWidget::DrawWindowBackground);
    }
}

void CTransparentSlider::moveEvent(QMoveEvent* event) {
    background_ = QPixmap();
    QSlider::moveEvent(event);
}

void CTransparentSlider::resizeEvent(QResizeEvent* event) {
    background_ = QPixmap();
    QSlider::resizeEvent(event);
}

int CTransparentSlider::ValueAt(int x_px) const {
    return QStyle::sliderValueFromPosition(minimum(), maximum(), x_px - kThumbWidth_px / 2,
                                           width() - kThumbWidth_px);
}

void CTransparentSlider::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!background_.isNull()) painter.drawPixmap(0, 0, background_);
    const int middle = height() / 2;
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawLine(kThumbWidth_px / 2, middle - 1, width() - kThumbWidth_px / 2, middle - 1);
    painter.setPen(palette().color(QPalette::Light));
    painter.drawLine(kThumbWidth_px / 2, middle, width() - kThumbWidth_px / 2, middle);

    const int x =
        QStyle::sliderPositionFromValue(minimum(), maximum(), value(), width() - kThumbWidth_px);
    const QColor thumb = ColorFromRef(isSliderDown() ? kPressedColour : kThumbColour);
    painter.fillRect(QRect(x, 2, kThumbWidth_px, height() - 4), thumb);
}

void CTransparentSlider::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) setValue(ValueAt(event->position().toPoint().x()));
    QSlider::mousePressEvent(event);
}
