#include <gtest/gtest.h>

#include "TitleSnapshot.h"
#include "TitleTestSupport.h"

namespace {

bool CellInked(const TitlePicture& picture, const CellRect& rect) {
    for (int y = rect.y; y < rect.y + rect.height && y < picture.Height(); ++y)
        for (int x = rect.x; x < rect.x + rect.width && x < picture.Width(); ++x)
            if (picture.Pixel(x, y) == kTitleBlack) return true;
    return false;
}

}  // namespace

TEST(TitlePictureTest, NameRules) {
    TitleNames names;
    names[0] = U"ABCDEFGHIJKL";  // twelve: the last two never drawn
    names[1] = U"\u4e2dA B";     // wide, narrow, space, narrow
    std::u32string asked;
    const GlyphLoader solid = SolidGlyphs();
    const PreviewBox box = PreviewBoxFor(1, TitlePass::kOpening);
    const TitlePicture picture = RenderTitlePicture(names, box, 1, [&](char32_t c) {
        asked += c;
        return solid(c);
    });
    EXPECT_EQ(asked, U"ABCDEFGHIJ\u4e2dAB");

    // The wide character fills 20 x 20 from (2, 26), the narrow one 12 x 18 from (30, 27).
    const struct {
        int x, y;
        std::uint32_t pixel;
    } probes[] = {{2, 26, kTitleBlack},  {1, 26, kTitleWhite},  {21, 45, kTitleBlack},
                  {22, 45, kTitleWhite}, {21, 46, kTitleWhite}, {30, 27, kTitleBlack},
                  {29, 27, kTitleWhite}, {41, 44, kTitleBlack}, {42, 44, kTitleWhite},
                  {41, 45, kTitleWhite}};
    for (const auto& p : probes)
        EXPECT_EQ(picture.Pixel(p.x, p.y), p.pixel) << p.x << "," << p.y;
    EXPECT_FALSE(CellInked(picture, GlyphCellRect(1, false, 2, 1, 24, 24)));  // the space
    EXPECT_TRUE(CellInked(picture, GlyphCellRect(1, false, 3, 1, 24, 24)));

    // Series 7: six cells of a name show in the channel image.
    const PreviewBox small = PreviewBoxFor(kRgbTitleSeries, TitlePass::kChannelImage);
    const TitlePicture rgb = RenderTitlePicture(names, small, kRgbTitleSeries, solid);
    const auto file = EncodePreviewBitmap(rgb, small.ClientWidth(), small.ClientHeight(), 7);
    int inked_cells = 0;
    for (int cell = 0; cell < kRowCells; ++cell) {
        const CellRect r = GlyphCellRect(kRgbTitleSeries, false, cell, 0, 12, 14);
        const int x = r.x + r.width / 2;
        if (x < small.ClientWidth() && file[8 + 2 * x + 144 * (r.y + 2)] == 0x7F) ++inked_cells;
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

TEST(TitlePictureTest, SnapshotFiles) {
    TitleNames names;
    names[0] = U"A";  // only the top row is drawn
    for (const int series : {kRgbTitleSeries, 1}) {
        const PreviewBox box = PreviewBoxFor(
            series, series == kRgbTitleSeries ? TitlePass::kChannelImage : TitlePass::kOpening);
        const TitlePicture picture = RenderTitlePicture(names, box, series, SolidGlyphs());
        const auto file =
            EncodePreviewBitmap(picture, box.ClientWidth(), box.ClientHeight(), series);
        const CellRect glyph =
            GlyphCellRect(series, false, 0, 0, box.cell_width_px, box.cell_height_px);
        if (series == kRgbTitleSeries) {
            ASSERT_EQ(file.size(), 8u + 72 * 2 * 224);
            EXPECT_EQ(std::vector<std::uint8_t>(file.begin(), file.begin() + 8),
                      (std::vector<std::uint8_t>{0, 0, 0, 0, 72, 0, 224, 0}));
            const std::size_t top_glyph = 8 + 144 * glyph.y + 2 * glyph.x;
            EXPECT_EQ(file[top_glyph], 0x7F);  // 0xFF7F, little-endian
            EXPECT_EQ(file[top_glyph + 1], 0xFF);
            EXPECT_EQ(file[8], 0x00);
            EXPECT_EQ(file[9], 0x00);
        } else {
            ASSERT_EQ(file.size(), 54u + 240 * 3 * 384);
            EXPECT_EQ(file[0], 'B');
            const std::size_t top_glyph = 54 + 720 * (383 - glyph.y) + 3 * glyph.x;
            EXPECT_EQ(file[top_glyph], 0x00);
            EXPECT_EQ(file[54 + 720 * 383], 0xFF);  // top-left corner: white
        }
    }
}
