#include "common/ui/widgets/VideoGrid.h"

#include <QMoveEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>

#include "common/ui/widgets/CellFont.h"
#include "common/ui/widgets/ColorRef.h"
#include "platform/surface/VideoSurfaceView.h"

namespace {

constexpr int kBand = CVideoGridLayout::kTitleBand_px;

}  // namespace

CVideoGrid::CVideoGrid(QWidget* parent)
    : QWidget(parent),
      frame_colour_(ColorFromRef(0x808080)),
      text_colour_(ColorFromRef(0xFFFFFF)),
      fill_colour_(ColorFromRef(0xFFFFFF)),
      title_font_(CellFont({"Verdana", "DejaVu Sans"}, QFont::SansSerif, kBand, 5, 300)) {
    // The grid paints every pixel it owns; nothing beneath needs painting first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

int CVideoGrid::Init(int total, int layout) { return cells_.Init(total, layout); }

int CVideoGrid::SetLayout(int layout) {
    if (cells_.SetLayout(layout) < 0) return -1;
    Invalidate();
    return 0;
}

int CVideoGrid::ToggleSingle() {
    cells_.ToggleSingle();
    return 0;
}

int CVideoGrid::SelectAt(const QPoint& point) {
    if (cells_.SelectAt(point.x(), point.y()) >= 0) Invalidate();
    return 0;
}

int CVideoGrid::HitTest(const QPoint& point) const { return cells_.HitTest(point.x(), point.y()); }

void CVideoGrid::SetChannelName(int cell, const std::string& title) {
    cells_.SetChannelName(cell, title);
}

int CVideoGrid::SetTitleMode(int mode) { return cells_.SetTitleMode(mode); }

void CVideoGrid::SetColors(std::uint32_t frame, std::uint32_t text, std::uint32_t fill) {
    frame_colour_ = ColorFromRef(frame);
    text_colour_ = ColorFromRef(text);
    fill_colour_ = ColorFromRef(fill);
}

int CVideoGrid::ComputeCells() {
    cells_.ComputeCells(0, 0, width(), height());
    return 0;
}

int CVideoGrid::Paint(QPainter& painter) {
    painter.fillRect(rect(), frame_colour_);
    ComputeCells();
    const QRect clip = painter.hasClipping() ? painter.clipBoundingRect().toAlignedRect() : rect();
    for (int i = 0; i < CVideoGridLayout::kCellCount; ++i) {
        if (!cells_.IsVisible(i)) continue;
        const VideoCell cell = cells_.Cell(i);
        if (!clip.intersects(QRect(cell.x, cell.y, cell.width, cell.height))) continue;
        DrawCell(i, painter);
    }
    return 0;
}

int CVideoGrid::DrawCell(int index, QPainter& painter) {
    const VideoCell c = cells_.Cell(index);
    const bool band = cells_.HasTitleBand();
    const int top = band ? c.y + kBand : c.y;
    if (band) painter.fillRect(QRect(c.x, c.y, c.width, kBand), frame_colour_);
    // The 2-pixel frame lies on the frame colour already painted; the fill leaves it.
    painter.fillRect(QRect(QPoint(c.x + 2, top), QPoint(c.x + c.width - 2, c.y + c.height - 3)),
                     fill_colour_);
    if (!band) return 0;
    const std::string title = cells_.TitleText(index);
    if (title.empty()) return 0;
    painter.save();
    const QRect title_rect(QPoint(c.x + 1, c.y), QPoint(c.x + c.width - 1, c.y + kBand - 1));
    painter.setClipRect(title_rect, Qt::IntersectClip);
    painter.setFont(title_font_);
    painter.setPen(text_colour_);
    painter.setBackgroundMode(Qt::OpaqueMode);
    painter.setBackground(frame_colour_);
    painter.drawText(title_rect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                     QString::fromStdString(title));
    painter.restore();
    return 0;
}

void CVideoGrid::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    // Pictures ask for repaints of single cells; the clip lets Paint skip the others.
    painter.setClipRegion(event->region());
    Paint(painter);
}

void CVideoGrid::Invalidate() {
    CVideoSurfaceView::ClearUnder(this, rect());
    update();
}

void CVideoGrid::resizeEvent(QResizeEvent* event) {
    CVideoSurfaceView::ClearUnder(this, QRect(QPoint(0, 0), event->oldSize()));
    ComputeCells();
    Invalidate();
}

void CVideoGrid::moveEvent(QMoveEvent* event) {
    CVideoSurfaceView::ClearUnder(this, rect().translated(event->oldPos() - event->pos()));
    Invalidate();
}

void CVideoGrid::showEvent(QShowEvent*) { Invalidate(); }

void CVideoGrid::hideEvent(QHideEvent*) { CVideoSurfaceView::ClearUnder(this, rect()); }
