#include "tools/assets/NameStrips.h"

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>

namespace skinart {
namespace {

// Channels 0..8 share a row of narrow strips at a fixed pitch; 9..15 have wider strips for
// two-digit names.
std::array<QRect, kChannelCount> Strips(int first_x, int pitch, QSize narrow, int narrow_y,
                                        std::array<int, 7> wide_x, QSize wide, int wide_y) {
    std::array<QRect, kChannelCount> strips;
    for (int c = 0; c < 9; ++c) {
        strips[c] = QRect(QPoint(first_x + pitch * c, narrow_y), narrow);
    }
    for (int c = 9; c < kChannelCount; ++c) {
        strips[c] = QRect(QPoint(wide_x[c - 9], wide_y), wide);
    }
    return strips;
}

// The largest bold face whose every name fits its strip with a pixel to spare on each side.
QFont FittingFont(const NameStripSheet& sheet) {
    QFont font("DejaVu Sans");
    font.setBold(true);
    font.setStyleStrategy(QFont::NoAntialias);
    for (int size_px = sheet.strips[0].height(); size_px > 6; --size_px) {
        font.setPixelSize(size_px);
        const QFontMetrics metrics(font);
        const int ink_height_px =
            metrics.tightBoundingRect(QStringLiteral("CH0123456789")).height();
        bool fits = true;
        for (int c = 0; c < kChannelCount && fits; ++c) {
            fits =
                metrics.tightBoundingRect(ChannelName(c)).width() + 4 <= sheet.strips[c].width() &&
                ink_height_px + 4 <= sheet.strips[c].height();
        }
        if (fits) {
            return font;
        }
    }
    return font;
}

}  // namespace

const NameStripSheet& FullWidthSheet() {
    static const NameStripSheet kSheet{
        "channel.yuv", 720, 160,
        Strips(18, 74, {65, 30}, 62, {30, 122, 216, 308, 402, 494, 588}, {88, 30}, 121)};
    return kSheet;
}

const NameStripSheet& CifSheet() {
    static const NameStripSheet kSheet{
        "cif_8_channel.yuv", 480, 72,
        Strips(12, 50, {50, 18}, 14, {20, 80, 140, 202, 264, 326, 388}, {55, 18}, 51)};
    return kSheet;
}

QString ChannelName(int channel) {
    return QStringLiteral("CH%1").arg(channel + 1, 2, 10, QLatin1Char('0'));
}

OneBitImage DrawNameStrips(const NameStripSheet& sheet) {
    QImage canvas(sheet.width_px, sheet.height_px, QImage::Format_RGB32);
    canvas.fill(Qt::black);
    {
        QPainter painter(&canvas);
        const QFont font = FittingFont(sheet);
        const QFontMetrics metrics(font);
        painter.setFont(font);
        painter.setPen(Qt::white);
        // One baseline for every name, so the names do not jump between channels.
        const QRect digits = metrics.tightBoundingRect(QStringLiteral("CH0123456789"));
        for (int c = 0; c < kChannelCount; ++c) {
            const QRect strip = sheet.strips[c];
            const QString name = ChannelName(c);
            const int baseline_y =
                strip.top() + (strip.height() - digits.height()) / 2 - digits.top();
            painter.setClipRect(strip);
            painter.drawText(
                QPoint(strip.left() + 2 - metrics.tightBoundingRect(name).left(), baseline_y),
                name);
        }
    }
    OneBitImage image(sheet.width_px, sheet.height_px);
    for (int y = 0; y < sheet.height_px; ++y) {
        for (int x = 0; x < sheet.width_px; ++x) {
            if (qGray(canvas.pixel(x, y)) >= 128) {
                image.SetInk(x, y);
            }
        }
    }
    return image;
}

}  // namespace skinart
