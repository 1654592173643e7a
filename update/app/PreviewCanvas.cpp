#include "update/app/PreviewCanvas.h"

#include <QPainter>

#include "update/core/TitleLayout.h"

PreviewCanvas::PreviewCanvas(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(kBoxEdge_px);
    setEnabled(false);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Button);
}

void PreviewCanvas::SetPicture(const QImage& picture) {
    picture_ = picture;
    repaint();
}

void PreviewCanvas::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    if (picture_.isNull()) return;
    QPainter painter(this);
    const QRect client = contentsRect();
    painter.setClipRect(client);
    painter.drawImage(client.topLeft(), picture_);
}
