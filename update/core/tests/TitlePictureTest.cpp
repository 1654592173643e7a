#include <gtest/gtest.h>

#include "update/core/TitleSnapshot.h"
#include "update/core/tests/TitleTestSupport.h"

TEST(TitlePictureTest, NameRules) {
    TitleNames names;
    names[0] = U"ABCDEFGHIJKL";  // twelve: the last two never drawn
    names[1] = U"\u4e2dA B";     // a space draws nothing
    std::u32string asked;
    const GlyphLoader solid = SolidGlyphs();
    RenderTitlePicture(names, PreviewBoxFor(1, TitlePass::kOpening), 1, [&](char32_t c) {
        asked += c;
        return solid(c);
    });
    EXPECT_EQ(asked, U"ABCDEFGHIJ\u4e2dAB");

    // Series 7: six cells of a name show in the channel image.
    const PreviewBox box = PreviewBoxFor(kRgbTitleSeries, TitlePass::kChannelImage);
    const auto file = EncodePreviewBitmap(RenderTitlePicture(names, box, kRgbTitleSeries, solid),
                                          box.ClientWidth(), box.ClientHeight(), kRgbTitleSeries);
    int inked_cells = 0;
    for (int cell = 0; cell < kRowCells; ++cell) {
        const CellRect r = GlyphCellRect(kRgbTitleSeries, false, cell, 0, 12, 14);
        const int x = r.x + r.width / 2;
        if (x < box.ClientWidth() && file[8 + 2 * x + 144 * (r.y + 2)] == 0x7F) ++inked_cells;
    }
    EXPECT_EQ(inked_cells, 6);
}

TEST(TitlePictureTest, ShrinkingKeepsThinStrokes) {
    GlyphBitmap line(40, 40);
    for (int y = 0; y < 40; ++y)
        line.SetBlack(21, y);
    TitlePicture picture(12, 18);
    picture.StretchGlyph(line, {0, 0, 12, 18});
    for (int y = 0; y < 18; ++y)
        EXPECT_EQ(picture.Pixel(6, y), kTitleBlack) << y;
    EXPECT_EQ(picture.Pixel(5, 0), kTitleWhite);
    EXPECT_EQ(picture.Pixel(7, 0), kTitleWhite);
}

// Series 7: 8-byte header, rows top first, 0x0000 and 0xFF7F; others: a bitmap, rows bottom
// first.
TEST(TitlePictureTest, SnapshotFiles) {
    TitleNames names;
    names[0] = U"A";  // only the top row is drawn
    for (const int series : {kRgbTitleSeries, 1}) {
        const bool rgb = series == kRgbTitleSeries;
        const PreviewBox box =
            PreviewBoxFor(series, rgb ? TitlePass::kChannelImage : TitlePass::kOpening);
        const auto file = EncodePreviewBitmap(RenderTitlePicture(names, box, series, SolidGlyphs()),
                                              box.ClientWidth(), box.ClientHeight(), series);
        const CellRect glyph =
            GlyphCellRect(series, false, 0, 0, box.cell_width_px, box.cell_height_px);
        if (rgb) {
            ASSERT_EQ(file.size(), 8u + 72 * 2 * 224);
            EXPECT_EQ(std::vector<std::uint8_t>(file.begin(), file.begin() + 10),
                      (std::vector<std::uint8_t>{0, 0, 0, 0, 72, 0, 224, 0, 0, 0}));
            EXPECT_EQ(file[8 + 144 * glyph.y + 2 * glyph.x], 0x7F);
            EXPECT_EQ(file[9 + 144 * glyph.y + 2 * glyph.x], 0xFF);
        } else {
            ASSERT_EQ(file.size(), 54u + 240 * 3 * 384);
            EXPECT_EQ(file[54 + 720 * (383 - glyph.y) + 3 * glyph.x], 0x00);
            EXPECT_EQ(file[54 + 720 * 383], 0xFF);  // top-left corner: white
        }
    }
}
