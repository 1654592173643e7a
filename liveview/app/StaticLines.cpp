#include "liveview/app/StaticLines.h"

#include <QPainter>

StaticLines::StaticLines(QWidget* parent) : QWidget(parent) {}

void StaticLines::SetLines(const QStringList& lines) {
    lines_ = lines;
    update();
}

void StaticLines::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    const int ascent = fontMetrics().ascent();
    for (int i = 0; i < lines_.size(); ++i)
        painter.drawText(0, i * kLineStep_px + ascent - 1, lines_[i]);
}
