#include "update/app/GlyphRender.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <cmath>

#include "update/core/FontList.h"

namespace {

constexpr int kGlyphCellHeight_px = 40;  // ascent plus descent
constexpr int kInkBelow = 128;

QFont GlyphFont(const QString& face_name) {
    QFont font(face_name);
    // Weight 40, lighter than thin: the lightest style of the face.
    font.setWeight(QFont::Thin);
    font.setStyleStrategy(QFont::NoAntialias);
    // Font sizes count the em; the glyphs are asked for by the cell height instead.
    font.setPixelSize(kGlyphCellHeight_px);
    const QFontMetricsF metrics(font);
    const qreal cell = metrics.ascent() + metrics.descent();
    if (cell > 0) {
        font.setPixelSize(std::max(
            1, static_cast<int>(std::lround(kGlyphCellHeight_px * kGlyphCellHeight_px / cell))));
    }
    return font;
}

}  // namespace

std::optional<GlyphBitmap> LoadGlyphBitmap(char32_t character, const QString& face_name) {
    const QFont font = GlyphFont(face_name);
    const QString text = QString::fromUcs4(&character, 1);
    const QFontMetricsF metrics(font);
    const int margin = kGlyphCellHeight_px;
    const int width =
        static_cast<int>(std::ceil(std::max(metrics.horizontalAdvance(text), 1.0))) + 2 * margin;
    const int height = static_cast<int>(std::ceil(metrics.height())) + 2 * margin;
    QImage canvas(width, height, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    {
        QPainter painter(&canvas);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(QPointF(margin, margin + metrics.ascent()), text);
    }

    int left = width;
    int right = -1;
    int top = height;
    int bottom = -1;
    for (int y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(canvas.constScanLine(y));
        for (int x = 0; x < width; ++x) {
            if (qGray(row[x]) >= kInkBelow) continue;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    if (right < 0) return std::nullopt;

    GlyphBitmap glyph(right - left + 1, bottom - top + 1);
    for (int y = top; y <= bottom; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(canvas.constScanLine(y));
        for (int x = left; x <= right; ++x) {
            if (qGray(row[x]) < kInkBelow) glyph.SetBlack(x - left, y - top);
        }
    }
    return glyph;
}

std::vector<std::string> InstalledFaceNames() {
    std::vector<std::string> faces;
    for (const QString& family : QFontDatabase::families())
        faces.push_back(family.toStdString());
    return FontListOrder(std::move(faces));
}
