#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "common/ui/core/GdiRenderer.h"
#include "platform/surface/VideoSurface.h"
#include "tests/support/SurfacePixels.h"

namespace {

// A 24-bit picture whose pixel (x, y) encodes its own position: B = x, G = y, R = 0x80.
std::vector<unsigned char> PositionPicture(int width, int height) {
    std::vector<unsigned char> picture(static_cast<std::size_t>(width) * height * 3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            unsigned char* p = &picture[(static_cast<std::size_t>(y) * width + x) * 3];
            p[0] = static_cast<unsigned char>(x);
            p[1] = static_cast<unsigned char>(y);
            p[2] = 0x80;
        }
    }
    return picture;
}

}  // namespace

TEST(GdiRendererTest, HalvingDropsOddRowsAndColumnsAndKeepsThePictureUpright) {
    auto surface = SurfaceOfSize(200, 160);
    CGdiRenderer renderer;
    renderer.SetDC(surface);
    const auto picture = PositionPicture(352, 288);
    // Picture bytes only hold 8 bits of x; 352 wide still tells columns 0..255 apart.
    EXPECT_EQ(renderer.Draw(10, 5, 186, 149, 352, 288, picture.data()), 144);
    EXPECT_EQ(PixelAt(*surface, 10, 5), 0xFF800000u);              // source (0, 0)
    EXPECT_EQ(PixelAt(*surface, 11, 5), 0xFF800002u);              // source (2, 0)
    EXPECT_EQ(PixelAt(*surface, 10, 6), 0xFF800200u);              // source (0, 2): top row first
    EXPECT_EQ(PixelAt(*surface, 10 + 100, 5 + 143), 0xFF801EC8u);  // source (200, 286)
    EXPECT_EQ(PixelAt(*surface, 9, 5), 0u);
    EXPECT_EQ(PixelAt(*surface, 186, 148), 0u);
}

TEST(GdiRendererTest, RectanglesAreScreenCoordinatesOfTheWindowsClientArea) {
    auto surface = SurfaceOfSize(100, 100);
    surface->SetOrigin(300, 200);
    CGdiRenderer renderer;
    renderer.SetDC(surface);
    const auto picture = PositionPicture(4, 4);
    EXPECT_EQ(renderer.Draw(300, 200, 304, 204, 4, 4, picture.data()), 4);
    EXPECT_EQ(PixelAt(*surface, 0, 0), 0xFF800000u);
    EXPECT_EQ(PixelAt(*surface, 3, 3), 0xFF800303u);
}

TEST(GdiRendererTest, ClipsToTheSurfaceAndRefusesWhatItCannotDraw) {
    auto surface = SurfaceOfSize(50, 40);
    CGdiRenderer renderer;
    const auto picture = PositionPicture(8, 8);
    EXPECT_EQ(renderer.Draw(0, 0, 8, 8, 8, 8, picture.data()), 0);  // no target yet
    renderer.SetDC(surface);
    EXPECT_EQ(renderer.Draw(46, -4, 54, 4, 8, 8, picture.data()), 4);
    EXPECT_EQ(PixelAt(*surface, 49, 0), 0xFF800403u);  // source (3, 4): clipping keeps scale
    EXPECT_EQ(renderer.Draw(60, 0, 68, 8, 8, 8, picture.data()), 0);
    EXPECT_EQ(renderer.Draw(8, 8, 0, 0, 8, 8, picture.data()), 0);
    EXPECT_EQ(renderer.Draw(0, 0, 8, 8, 0, 8, picture.data()), 0);
    EXPECT_EQ(renderer.Draw(0, 0, 8, 8, 8, 8, nullptr), 0);
}

TEST(GdiRendererTest, EveryScaleDrawsTheNearestPixel) {
    const struct {
        int width, height;
        ScreenRect dest;
    } cases[] = {{352, 288, {0, 0, 176, 144}},      {352, 288, {3, 2, 91, 74}},
                 {720, 576, {0, 0, 87, 70}},        {352, 288, {0, 0, 352, 288}},
                 {720, 576, {5, 5, 1285, 965}},     {7, 5, {-3, -2, 60, 31}},
                 {352, 240, {900, 700, 1300, 1000}}};
    auto surface = SurfaceOfSize(1200, 980);
    CGdiRenderer renderer;
    renderer.SetDC(surface);
    for (const auto& c : cases) {
        std::vector<unsigned char> picture(static_cast<std::size_t>(c.width) * c.height * 3);
        unsigned state = 7;
        for (unsigned char& byte : picture) {
            state = state * 1103515245u + 12345u;
            byte = static_cast<unsigned char>(state >> 16);
        }
        surface->Clear({0, 0, 1200, 980});
        renderer.Draw(c.dest.left, c.dest.top, c.dest.right, c.dest.bottom, c.width, c.height,
                      picture.data());
        long mismatches = 0;
        surface->Read([&](const std::uint32_t* pixels, int width, int height) {
            for (int y = std::max(c.dest.top, 0); y < std::min(c.dest.bottom, height); ++y) {
                const int sy = (y - c.dest.top) * c.height / c.dest.Height();
                for (int x = std::max(c.dest.left, 0); x < std::min(c.dest.right, width); ++x) {
                    const int sx = (x - c.dest.left) * c.width / c.dest.Width();
                    const unsigned char* p =
                        &picture[(static_cast<std::size_t>(sy) * c.width + sx) * 3];
                    const std::uint32_t want =
                        0xFF000000u | std::uint32_t{p[2]} << 16 | std::uint32_t{p[1]} << 8 | p[0];
                    mismatches += pixels[static_cast<std::size_t>(y) * width + x] != want;
                }
            }
        });
        EXPECT_EQ(mismatches, 0) << c.width << "x" << c.height << " into " << c.dest.Width() << "x"
                                 << c.dest.Height() << " at " << c.dest.left << "," << c.dest.top;
    }
}
