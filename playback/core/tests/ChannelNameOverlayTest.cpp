#include <gtest/gtest.h>

#include <vector>

#include "ChannelNameOverlay.h"
#include "ChannelNamePlace.h"
#include "NameImage.h"
#include "TestFolder.h"

namespace {

constexpr uint8_t kLuma = 0x10;
constexpr uint8_t kU = 0x40;
constexpr uint8_t kV = 0xC0;

// A contiguous 4:2:0 picture of one colour, with its size.
struct Picture {
    int width;
    int height;
    std::vector<uint8_t> bytes;

    Picture(int w, int h) : width(w), height(h), bytes(static_cast<size_t>(w) * h * 3 / 2, kLuma) {
        std::fill(bytes.begin() + w * h, bytes.begin() + w * h * 5 / 4, kU);
        std::fill(bytes.begin() + w * h * 5 / 4, bytes.end(), kV);
    }
    uint8_t Y(int x, int y) const { return bytes[y * width + x]; }
    uint8_t U(int x, int y) const { return bytes[width * height + (y / 2) * (width / 2) + x / 2]; }
    uint8_t V(int x, int y) const {
        return bytes[width * height * 5 / 4 + (y / 2) * (width / 2) + x / 2];
    }
};

class ChannelNameOverlayTest : public ::testing::Test {
protected:
    // Images of the sizes the program installs, inked in a pattern all over.
    void WriteImages(NameImage full = NameImage(720, 160).Patterned(),
                     NameImage cif = NameImage(480, 72).Patterned()) {
        std::filesystem::create_directories(folder_.Path() / "config");
        full.Write(folder_.Path() / CChannelNameOverlay::kFullWidthFile);
        cif.Write(folder_.Path() / CChannelNameOverlay::kCifFile);
        full_ = std::move(full);
        cif_ = std::move(cif);
    }

    TestFolder folder_;
    NameImage full_{1, 1};
    NameImage cif_{1, 1};
};

TEST_F(ChannelNameOverlayTest, LoadsBothImagesOrNone) {
    struct Case {
        const char* what;
        const char* removed;  // relative to the program folder, or nullptr
        size_t cif_cut_bytes;
        int result;
    } cases[] = {
        {"both present", nullptr, 0, 1},
        {"720-wide image missing", CChannelNameOverlay::kFullWidthFile, 0, -1},
        {"CIF image missing", CChannelNameOverlay::kCifFile, 0, -1},
        {"CIF image shorter than its header says", nullptr, 1, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        NameImage cif(480, 72);
        cif.Bytes().resize(cif.Bytes().size() - c.cif_cut_bytes);
        WriteImages(NameImage(720, 160), cif);
        if (c.removed) std::filesystem::remove(folder_.Path() / c.removed);
        CChannelNameOverlay overlay;
        EXPECT_EQ(overlay.LoadFiles(folder_.Path().string()), c.result);
    }
}

// The name strip of the channel lands at its place in the picture of the format, in the name
// colour, name pixels only; everything else stays.
TEST_F(ChannelNameOverlayTest, NameStripLandsAtItsPlace) {
    struct Case {
        int code;
        int channel;
        int width, height;
        bool cif;
        int sx, sy, sw, sh;
        int dx, dy;
    } cases[] = {
        {0, 0, 720, 576, false, 18, 62, 65, 30, 20, 10},     // PAL D1
        {5, 9, 352, 240, true, 20, 51, 55, 18, 20, 190},     // NTSC CIF
        {1, 3, 720, 288, false, 240, 62, 65, 30, 20, 10},    // half-height D1
        {2, 15, 352, 288, true, 388, 51, 55, 18, 20, 230},   // PAL CIF
        {3, 12, 720, 480, false, 308, 121, 88, 30, 20, 10},  // NTSC D1
    };
    WriteImages();
    CChannelNameOverlay overlay;
    ASSERT_EQ(overlay.LoadFiles(folder_.Path().string()), 1);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "code " << c.code << " channel " << c.channel);
        Picture picture(c.width, c.height);
        ASSERT_EQ(overlay.DrawChannelName(picture.bytes.data(), c.code, c.channel), 1);
        const NameImage& image = c.cif ? cif_ : full_;
        auto name_pixel = [&](int x, int y) {
            return x >= c.dx && x < c.dx + c.sw && y >= c.dy && y < c.dy + c.sh &&
                   image.Inked(c.sx + x - c.dx, c.sy + y - c.dy);
        };
        int named = 0;
        for (int y = 0; y < c.height; ++y) {
            for (int x = 0; x < c.width; ++x) {
                const bool name = name_pixel(x, y);
                named += name;
                ASSERT_EQ(picture.Y(x, y), name ? 0xE6 : kLuma) << x << "," << y;
                const int bx = x & ~1;
                const int by = y & ~1;
                const bool block_named = name_pixel(bx, by) || name_pixel(bx + 1, by) ||
                                         name_pixel(bx, by + 1) || name_pixel(bx + 1, by + 1);
                ASSERT_EQ(picture.U(x, y), block_named ? 0x80 : kU) << x << "," << y;
                ASSERT_EQ(picture.V(x, y), block_named ? 0x80 : kV) << x << "," << y;
            }
        }
        EXPECT_EQ(named, (c.sw * c.sh + 2) / 3);
    }
}

TEST_F(ChannelNameOverlayTest, WhatIsNotBlended) {
    WriteImages();
    CChannelNameOverlay overlay;
    ASSERT_EQ(overlay.LoadFiles(folder_.Path().string()), 1);
    NameImage picture_type(720, 160);
    picture_type.Bytes()[4] = 1;  // a 4:2:0 picture, not two-level
    const Picture untouched(720, 576);
    struct Case {
        const char* what;
        int result;
        std::function<int(uint8_t*)> blend;
    } cases[] = {
        {"channel 16", 0, [&](uint8_t* p) { return overlay.DrawChannelName(p, 0, 16); }},
        {"channel -1", 0, [&](uint8_t* p) { return overlay.DrawChannelName(p, 0, -1); }},
        {"negative code", 0, [&](uint8_t* p) { return overlay.DrawChannelName(p, -1, 0); }},
        {"no image", -1,
         [&](uint8_t* p) {
             return CChannelNameOverlay::BlendGlyph({}, p, 0, 0, 0, 0, 0, 0, 0, 0);
         }},
        {"image not two-level", -1,
         [&](uint8_t* p) {
             return CChannelNameOverlay::BlendGlyph(picture_type.Bytes(), p, 0, 0, 0, 0, 0, 0, 0,
                                                    0);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Picture picture(720, 576);
        EXPECT_EQ(c.blend(picture.bytes.data()), c.result);
        EXPECT_EQ(picture.bytes, untouched.bytes);
    }
    // A negative multiple of 3 counts as remainder 0: a 720 x 576 picture.
    Picture picture(720, 576);
    EXPECT_EQ(overlay.DrawChannelName(picture.bytes.data(), -3, 0), 1);
    EXPECT_GT(std::count(picture.bytes.begin(), picture.bytes.end(), 0xE6), 0);
}

// Rectangles reaching past the image or the picture draw only their common part: a picture of
// exactly its size is never written outside (the sanitizer builds watch it).
TEST_F(ChannelNameOverlayTest, RectanglesStayInsideImageAndPicture) {
    NameImage small(100, 70);
    for (int y = 0; y < 70; ++y)
        for (int x = 0; x < 100; ++x)
            small.Ink(x, y);
    struct Case {
        int dx, dy, sx, sy, sw, sh;
        int drawn_pixels;
    } cases[] = {
        {700, 560, 0, 0, 0, 0, 20 * 16},    // whole image past the bottom-right corner
        {-30, -20, 0, 0, 0, 0, 70 * 50},    // past the top-left corner
        {20, 10, 588, 121, 88, 30, 0},      // strip outside an image too small for it
        {20, 10, 90, 60, 65, 30, 10 * 10},  // strip partly outside the image
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "at " << c.dx << "," << c.dy << " from " << c.sx << "," << c.sy);
        Picture picture(720, 576);
        EXPECT_EQ(CChannelNameOverlay::BlendGlyph(small.Bytes(), picture.bytes.data(), 0, c.dx,
                                                  c.dy, c.sx, c.sy, c.sw, c.sh, 0xE68080),
                  1);
        EXPECT_EQ(std::count(picture.bytes.begin(), picture.bytes.begin() + 720 * 576, 0xE6),
                  c.drawn_pixels);
    }
}

}  // namespace
