#include "common/ui/widgets/CellFont.h"

#include <QFontMetrics>
#include <algorithm>

QFont CellFont(const QStringList& families, QFont::StyleHint hint, int cell_height_px,
               int char_width_px, int weight) {
    QFont font;
    font.setFamilies(families);
    font.setStyleHint(hint);
    font.setWeight(static_cast<QFont::Weight>(std::clamp(weight, 1, 1000)));
    const int cell = std::max(cell_height_px, 1);
    font.setPixelSize(cell);
    // Pixel size is the em height; the cell also holds the descent and line gap.
    const int measured = QFontMetrics(font).height();
    if (measured > cell) font.setPixelSize(std::max(1, cell * cell / measured));
    if (char_width_px > 0) {
        const int natural = QFontMetrics(font).averageCharWidth();
        if (natural > 0) font.setStretch(std::clamp(100 * char_width_px / natural, 1, 4000));
    }
    return font;
}
