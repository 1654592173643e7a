#include "playback/app/CRecordTimeline.h"

#include <QPainter>

#include "common/ui/widgets/CellFont.h"
#include "common/ui/widgets/ColorRef.h"

CRecordTimeline::CRecordTimeline(QWidget* parent)
    : QWidget(parent),
      // The face asked for by name is not an installed family, so the desktop's plain face
      // stands in, as the font mapper would choose.
      label_font_(CellFont({"Times   New   Roman", "DejaVu Sans", "Liberation Sans"},
                           QFont::SansSerif, 14, 6, QFont::Light)) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

int CRecordTimeline::SetRowLabels(const std::array<std::string, CTimelineSlots::kRows>& labels) {
    slots_.SetRowLabels(labels);
    update();
    return 1;
}

int CRecordTimeline::AddSegment(std::time_t start, std::time_t end, int row, int mday) {
    return slots_.AddSegment(start, end, row, mday);
}

int CRecordTimeline::Clear() {
    slots_.Clear();
    update();
    return 1;
}

void CRecordTimeline::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const int left = 0;
    const int top = 0;
    const int right = width();
    const int bottom = height();
    const QColor ground = ColorFromRef(kGroundColour);
    painter.fillRect(rect(), ground);

    // Frame, row lines and the label column's edge, one pixel wide.
    const int h = CTimelineSlots::RowHeight(bottom - top);
    const int label_right = left + CTimelineSlots::kLabelColumn_px;
    painter.setPen(QPen(ColorFromRef(kLineColour), 1));
    painter.drawLine(left, top, right, top);
    painter.drawLine(right, top, right, bottom);
    painter.drawLine(right, bottom, left, bottom);
    painter.drawLine(left, bottom, left, top);
    for (int n = 1; n < CTimelineSlots::kRows; ++n) {
        painter.drawLine(left, top + h * n, right, top + h * n);
    }
    painter.drawLine(label_right, top, label_right, bottom);

    painter.setFont(label_font_);
    painter.setPen(Qt::black);
    for (int r = 0; r < CTimelineSlots::kRows; ++r) {
        const QRect cell(QPoint(left + 3, top + r * h + 2), QPoint(label_right, top + (r + 1) * h));
        painter.drawText(cell.adjusted(0, 0, -1, -1),
                         Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                         QString::fromStdString(slots_.RowLabels()[r]));
    }

    const int bar_width = right - left - CTimelineSlots::kLabelColumn_px;
    const QColor bar = ColorFromRef(kBarColour);
    for (int r = 0; r < CTimelineSlots::kRows; ++r) {
        for (int k = 0; k < CTimelineSlots::kSlots; ++k) {
            if (!slots_.Marked(r, k)) continue;
            const int x0 = label_right + CTimelineSlots::SlotLeft(k, bar_width);
            const int x1 = label_right + CTimelineSlots::SlotLeft(k + 1, bar_width);
            const int y0 = top + h * r + 2;
            const int y1 = top + h * (r + 1) - 1;
            if (x1 > x0 && y1 > y0) painter.fillRect(QRect(x0, y0, x1 - x0, y1 - y0), bar);
        }
    }
}
