#include <gtest/gtest.h>

#include "tests/support/TestFolder.h"
#include "update/core/GlyphOutline.h"
#include "update/core/TableValues.h"
#include "update/core/TitleSnapshot.h"
#include "update/core/TitleTables.h"
#include "update/core/tests/TitleTestSupport.h"

namespace {

class TitleTablesTest : public ::testing::Test {
protected:
    std::string Path(const std::string& name) const { return (folder_.Path() / name).string(); }
    // Converts a picture of width x height to tables; the result of ConvertBitmapToTables.
    int Convert(int width, int height, const std::function<std::uint32_t(int, int)>& colour) {
        return tables_.ConvertBitmapToTables(WriteBitmap(Path("in.bmp"), width, height, colour),
                                             Path("tmp.h"));
    }

    TestFolder folder_;
    ShownMessages messages_;
    TitleTables tables_{messages_.Sink()};
};

}  // namespace

TEST_F(TitleTablesTest, OutlineRules) {
    // Glyph pixels at (5, 1) and (6, 1) of a 240 x 4 snapshot.
    const std::string in = WriteBitmap(Path("tmp.bmp"), 240, 4, [](int x, int y) {
        return y == 1 && (x == 5 || x == 6) ? 0x000000u : 0xFFFFFFu;
    });
    ASSERT_EQ(OutlineGlyphBitmap(in, messages_.Sink()), 0);
    ASSERT_EQ(MakeOutlineFileName(in), Path("tmp_1.bmp"));
    const auto out = FileContent(Path("tmp_1.bmp"));
    // x 3..8 of rows 0..2: background '.', grey 'g', black 'k' (a diagonal stays background).
    const char* const expected[] = {"..kk..", ".kggk.", "..kk.."};
    for (int y = 0; y < 3; ++y) {
        for (int x = 3; x < 9; ++x) {
            const std::uint8_t* p = &out.at(54 + (3 - y) * 720 + 3 * x);
            const char seen = p[0] == 0xC0 ? 'g' : p[0] == 0 ? 'k' : p[0] == 0x40 ? '.' : '?';
            EXPECT_EQ(seen, expected[y][x - 3]) << x << "," << y;
        }
    }
}

TEST_F(TitleTablesTest, OutlinedTitlesBecomeTheRecordersTables) {
    // A glyph block at x 10..19, y 10..19, outlined, as the update makes it.
    WriteBitmap(Path("tmp.bmp"), 240, 384, [](int x, int y) {
        return x >= 10 && x < 20 && y >= 10 && y < 20 ? 0x000000u : 0xFFFFFFu;
    });
    ASSERT_EQ(OutlineGlyphBitmap(Path("tmp.bmp"), messages_.Sink()), 0);
    ASSERT_EQ(tables_.ConvertBitmapToTables(Path("tmp_1.bmp"), Path("tmp.h")), 0);
    const auto text = FileContent(Path("tmp.h"));
    const std::string head(text.begin(), text.end());
    EXPECT_EQ(head.substr(0, head.find("code unsigned char gt")),
              "code unsigned char ct_1[]={\n3,\t// used color\n//\tY,\tCb,\tCr,\taddr\n"
              "0x90,\t0x55,\t0xae,\t0x80,\n0x10,\t0x80,\t0x80,\t0x81,\n"
              "0xb4,\t0x80,\t0x80,\t0x82\n};\n\n\n\n");
    EXPECT_NE(head.find("code unsigned char gt_1_tmp[]={\n0,\t//... bit[15:8] of vertical size\n"
                        "24,\t//... bit[7:0] of vertical size\n0,\t//... bit[15:8] of horizontal "
                        "size\n240,\t//... bit[7:0] of horizontal size\n1,\t\t//... column "
                        "number of table in each bitmap unit\n0x00,0x00,"),
              std::string::npos);

    // Converting twice in one dialog gives the same table.
    ASSERT_EQ(tables_.ConvertBitmapToTables(Path("tmp_1.bmp"), Path("tmp.h")), 0);
    EXPECT_EQ(FileContent(Path("tmp.h")), text);

    ASSERT_EQ(ConvertTablesToBinary(Path("tmp.h"), messages_.Sink()), 1);
    EXPECT_EQ(FileContent(Path("color.yuv")),
              (std::vector<std::uint8_t>{3, 144, 85, 174, 0x80, 16, 128, 128, 0x81, 180, 128, 128,
                                         0x82}));
    const auto date = FileContent(Path("date.yuv"));
    ASSERT_EQ(date.size(), 92165u);
    EXPECT_EQ(std::vector<std::uint8_t>(date.begin(), date.begin() + 5),
              (std::vector<std::uint8_t>{0, 24, 0, 240, 1}));
    EXPECT_EQ(date[5], 255);                // background, index 0
    EXPECT_EQ(date[5 + 9 * 240 + 15], 1);   // outline, index 1
    EXPECT_EQ(date[5 + 15 * 240 + 15], 3);  // glyph, index 2
    EXPECT_TRUE(messages_.shown.empty()) << messages_.Last();
}

TEST_F(TitleTablesTest, PictureChecks) {
    const struct {
        int width, height, colours;
        int result;
        const char* message;
    } cases[] = {
        {240, 32, 64, 0, ""},
        {240, 32, 65, -1, "The number of used color is great than 63."},
        {242, 32, 1, -1, "Number of horizontal pixel of image is not multiple of 4."},
        {240, 400, 1, -1, "Number of vertical line of image is not multiple of 2."},
        {240, 8, 1, -1, "Image size is 0 !!"},  // units of no line
    };
    for (const auto& c : cases) {
        messages_.shown.clear();
        EXPECT_EQ(Convert(c.width, c.height,
                          [&](int x, int) { return static_cast<std::uint32_t>(x % c.colours); }),
                  c.result)
            << c.width << "x" << c.height;
        EXPECT_EQ(messages_.Last(), c.message);
    }
    // Two colours: the count is stored as 3.
    ASSERT_EQ(Convert(240, 32, [](int x, int) { return x < 8 ? 0u : 0x808080u; }), 0);
    ASSERT_EQ(ConvertTablesToBinary(Path("tmp.h"), messages_.Sink()), 1);
    EXPECT_EQ(FileContent(Path("color.yuv")).at(0), 3);
}

TEST_F(TitleTablesTest, BitmapReaderRefusals) {
    auto file = [&](std::vector<std::uint8_t> bytes) {
        std::ofstream(Path("x.bmp"), std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<long>(bytes.size()));
        messages_.shown.clear();
        EXPECT_EQ(tables_.ReadBitmapFile(Path("x.bmp")), 0);
        return messages_.Last();
    };
    WriteBitmap(Path("ok.bmp"), 8, 4, [](int, int) { return 0u; });
    const auto good = FileContent(Path("ok.bmp"));
    auto with = [&](std::size_t at, std::uint8_t value) {
        auto bytes = good;
        bytes[at] = value;
        return bytes;
    };
    EXPECT_EQ(file({'B', 'X', 0, 0}), "The file is not bitmap image !!!");
    EXPECT_EQ(file(with(28, 8)),
              "The input file should be 24bit colors bitmap.\n Current file is "
              "256 colors bitmap.");
    EXPECT_EQ(file(with(28, 4)),
              "The input file should be 24bit colors bitmap.\n Current file is "
              "16 colors bitmap.");
    EXPECT_EQ(file(std::vector<std::uint8_t>(good.begin(), good.end() - 1)),
              "File reading failure !!!");
    EXPECT_EQ(file(with(22, 40)), "File reading failure !!!");  // more rows than the file holds
    EXPECT_EQ(messages_.shown.back().caption, "Failure");
}

TEST(TableValuesTest, ParserRules) {
    const struct {
        const char* text;
        std::vector<std::uint8_t> bytes;
        bool bad;
    } cases[] = {
        {"ct_1[]={5,0,2,0,0,0,0x0a\r\n};", {5, 0, 3, 0, 0, 255, 10}, false},
        {"{1,\t//... bit[15:8] of x\n0x7f\n}", {1, 127}, false},  // a bare line feed ends a value
        {"{1,2,3", {}, false},                                    // no closing brace
        {"{12345,}", {}, true},
        {"{256,}", {}, true},
    };
    for (const auto& c : cases) {
        const TableValues values = ParseTableValues(c.text);
        EXPECT_EQ(values.bytes, c.bytes) << c.text;
        EXPECT_EQ(values.bad_number, c.bad) << c.text;
    }
    EXPECT_EQ(ParseTableValues("a{1,}b{2,}").brace, 4u);
}

TEST(TableValuesTest, BadTablesFailTheUpdate) {
    TestFolder folder;
    ShownMessages messages;
    const std::string path = (folder.Path() / "tmp.h").string();
    std::ofstream(path) << "{3,0x90,\n};\n{0,24,300,\n};\n";
    EXPECT_EQ(ConvertTablesToBinary(path, messages.Sink()), -1);
    EXPECT_EQ(messages.Last(), "change num error!");
    EXPECT_FALSE(std::filesystem::exists(folder.Path() / "date.yuv"));

    std::filesystem::resize_file(path, (2u << 20) + 1);
    EXPECT_EQ(ConvertTablesToBinary(path, messages.Sink()), -1);
    EXPECT_EQ(messages.Last(), "file too bigger!\n");

    // Files that cannot be read or written are said so.
    const std::string nowhere = (folder.Path() / "gone" / "tmp.bmp").string();
    EXPECT_EQ(ConvertTablesToBinary(nowhere, messages.Sink()), -1);
    EXPECT_EQ(messages.Last().rfind("open file error!\n", 0), 0u);
    EXPECT_EQ(OutlineGlyphBitmap(nowhere, messages.Sink()), -1);
    EXPECT_EQ(messages.Last().rfind("open file error!\n", 0), 0u);
    EXPECT_FALSE(SavePreviewBitmap(TitlePicture(244, 388), PreviewBoxFor(1, TitlePass::kOpening), 1,
                                   nowhere, messages.Sink()));
    EXPECT_EQ(messages.shown.size(), 5u);
}
