#include "tools/assets/ButtonFace.h"

#include <gtest/gtest.h>

#include <QPainter>
#include <QPainterPath>
#include <QString>

#include "tools/assets/SkinCatalog.h"

namespace {

using namespace skinart;

void NoGlyph(QPainter&, const QRectF&, const GlyphInk&) {}

int Luma(QRgb p) { return qGray(p); }

QString Name(const SkinFolderArt& folder, const SkinButtonArt& button, ButtonState state) {
    return QString("%1/%2%3").arg(folder.folder, button.stem).arg(static_cast<int>(state));
}

TEST(ButtonFace, ShownEllipseAllowsForTheTwoPixelSourceOffset) {
    // A 40 x 40 button shows its image from pixel (2, 2): the ellipse it shows lies there.
    EXPECT_EQ(ShownEllipse(QSize(40, 40)), QRectF(2, 2, 38, 38));
    EXPECT_EQ(ShownEllipse(QSize(60, 35)), QRectF(2, 2, 58, 33));
}

// The symbol is what the face shows beyond its plain face: it must be there, stay inside the
// part of the ellipse the window shows, and be bright when usable and dim when disabled.
TEST(ButtonFace, EverySymbolIsDrawnInsideTheShownFaceWithStateContrast) {
    for (const SkinFolderArt& folder : SkinFolders()) {
        for (const SkinButtonArt& button : folder.buttons) {
            QPainterPath shown;
            shown.addEllipse(button.Face().adjusted(1, 1, -1, -1));
            for (const ButtonState state : {ButtonState::kNormal, ButtonState::kHover,
                                            ButtonState::kPressed, ButtonState::kDisabled}) {
                const QImage plain = PaintButtonFace(button.size_px, button.Face(), state, NoGlyph);
                const QImage art =
                    PaintButtonFace(button.size_px, button.Face(), state, button.glyph);
                int symbol_px = 0, outside_px = 0, brightest = 0;
                for (int y = 0; y < art.height(); ++y) {
                    for (int x = 0; x < art.width(); ++x) {
                        if (art.pixel(x, y) == plain.pixel(x, y)) {
                            continue;
                        }
                        ++symbol_px;
                        outside_px += !shown.contains(QPointF(x + 0.5, y + 0.5));
                        brightest = std::max(brightest, Luma(art.pixel(x, y)));
                    }
                }
                const QString name = Name(folder, button, state);
                EXPECT_GT(symbol_px, button.size_px.width() * button.size_px.height() / 40)
                    << qPrintable(name);
                EXPECT_EQ(outside_px, 0) << qPrintable(name);
                if (state == ButtonState::kDisabled) {
                    EXPECT_LT(brightest, 120) << qPrintable(name);
                } else {
                    EXPECT_GT(brightest, 200) << qPrintable(name);
                }
            }
        }
    }
}

TEST(ButtonFace, PressedFaceTakesTheAccentAndTheOthersStayNeutral) {
    const QSize size(60, 35);
    const QRectF face = ShownEllipse(size);
    const QPoint low_on_face(31, 30);  // below the symbol, on the face
    const auto face_at = [&](ButtonState state) {
        return PaintButtonFace(size, face, state, NoGlyph).pixel(low_on_face);
    };
    const QRgb pressed = face_at(ButtonState::kPressed);
    EXPECT_GT(qBlue(pressed), qRed(pressed) + 40);
    for (const ButtonState state :
         {ButtonState::kNormal, ButtonState::kHover, ButtonState::kDisabled}) {
        const QRgb p = face_at(state);
        EXPECT_LT(std::abs(qBlue(p) - qRed(p)), 24) << static_cast<int>(state);
    }
    // Hover lights the face; disabled dims it.
    EXPECT_GT(Luma(face_at(ButtonState::kHover)), Luma(face_at(ButtonState::kNormal)));
    EXPECT_LT(Luma(face_at(ButtonState::kDisabled)), Luma(face_at(ButtonState::kNormal)));
}

}  // namespace
