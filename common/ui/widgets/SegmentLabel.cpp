#include "common/ui/widgets/SegmentLabel.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cstdio>

#include "common/ui/core/LabelText.h"
#include "common/ui/widgets/CellFont.h"
#include "common/ui/widgets/ColorRef.h"

namespace {

constexpr std::uint32_t kDefaultBackground = 0xE29E5A;
constexpr std::uint32_t kDefaultText = 0xFFFFFF;

}  // namespace

CSegmentLabel::CSegmentLabel(QWidget* parent)
    : QWidget(parent),
      font_(MakeFont(10, 21)),
      background_colour_(ColorFromRef(kDefaultBackground)),
      text_colour_(ColorFromRef(kDefaultText)) {}

QFont CSegmentLabel::MakeFont(int char_width_px, int char_height_px) {
    // The segment face is asked for by name; where it is not installed the free DSEG7 face
    // keeps the look, and a fixed-pitch face keeps the column width.
    return CellFont({"Sevenet 7", "DSEG7 Classic", "DSEG7 Modern", "Monospace"}, QFont::TypeWriter,
                    char_height_px, char_width_px, QFont::Normal);
}

void CSegmentLabel::SetText(const std::string& text) {
    text_ = CutLabelText(text, width_chars_);
    update();
}

void CSegmentLabel::FormatTime(std::uint64_t value) {
    const auto byte = [value](int index) {
        return static_cast<int>((value >> (8 * index)) & 0xFF);
    };
    char text[16];
    std::snprintf(text, sizeof text, " %2d:%2d:%2d", byte(4), byte(3), byte(2));
    text_ = text;
}

int CSegmentLabel::SetFont(int char_width_px, int char_height_px, std::uint32_t text_colour,
                           std::uint32_t background_colour, int width_chars) {
    font_ = MakeFont(char_width_px, char_height_px);
    if (text_colour != 0) text_colour_ = ColorFromRef(text_colour);
    if (background_colour != 0) background_colour_ = ColorFromRef(background_colour);
    width_chars_ = std::clamp(width_chars, kMinWidth_chars, kMaxWidth_chars);
    update();
    return 1;
}

void CSegmentLabel::paintEvent(QPaintEvent*) {
    if (text_.empty()) return;
    QPainter painter(this);
    painter.setFont(font_);
    painter.setPen(text_colour_);
    // Opaque text: every character cell is filled with the ground colour.
    painter.setBackgroundMode(Qt::OpaqueMode);
    painter.setBackground(background_colour_);
    painter.drawText(QPoint(1, QFontMetrics(font_).ascent()), QString::fromStdString(text_));
}
