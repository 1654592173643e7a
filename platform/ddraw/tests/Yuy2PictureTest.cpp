#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "platform/ddraw/Bt601Row.h"
#include "platform/ddraw/Yuy2Picture.h"
#include "platform/surface/VideoSurface.h"
#include "tests/support/SurfacePixels.h"

namespace {

// The colour of one pixel of luma y and chroma u, v, drawn at its own size.
std::uint32_t Bt601ToArgb(int y, int u, int v) {
    CVideoSurface surface;
    surface.Resize(2, 1);
    const std::vector<unsigned char> pair = {
        static_cast<unsigned char>(y), static_cast<unsigned char>(u), static_cast<unsigned char>(y),
        static_cast<unsigned char>(v)};
    EXPECT_EQ(DrawYuy2(surface, {0, 0, 2, 1}, 2, 1, pair.data()), 1);
    return PixelAt(surface, 0, 0);
}

// The rule written out per pixel, in 32-bit arithmetic.
std::uint32_t Bt601(int y, int u, int v) {
    const int c = y - 16;
    const int d = u - 128;
    const int e = v - 128;
    auto clamp = [](int value) { return static_cast<std::uint32_t>(std::clamp(value, 0, 255)); };
    return 0xFF000000u | clamp((298 * c + 409 * e + 128) >> 8) << 16 |
           clamp((298 * c - 100 * d - 208 * e + 128) >> 8) << 8 |
           clamp((298 * c + 516 * d + 128) >> 8);
}

}  // namespace

// The wide kernel's 16-bit sums against the rule for every (Y, U, V); rows of 65536 pixels
// hold every (U, V) pair, one row per Y.
TEST(Bt601Test, EveryTripleMatchesTheRule) {
    std::vector<std::uint8_t> y(65536), u(65536), v(65536);
    for (int j = 0; j < 65536; ++j) {
        u[j] = static_cast<std::uint8_t>(j & 255);
        v[j] = static_cast<std::uint8_t>(j >> 8);
    }
    std::vector<std::uint32_t> out(65536);
    long mismatches = 0;
    for (int luma = 0; luma < 256; ++luma) {
        std::fill(y.begin(), y.end(), static_cast<std::uint8_t>(luma));
        const int done = bt601::ArgbRowWide(y.data(), u.data(), v.data(), out.data(), 65536);
        bt601::ArgbRowScalar(y.data(), u.data(), v.data(), out.data(), done, 65536);
        for (int j = 0; j < 65536; ++j)
            mismatches += out[j] != Bt601(luma, u[j], v[j]);
    }
    EXPECT_EQ(mismatches, 0);
}

// Shrinking, own size, enlarging and cut by the surface's edge: each pixel is the nearest
// source pixel with its pair's chroma.
TEST(Yuy2PictureTest, EveryScaleDrawsTheNearestPixelWithItsPairsChroma) {
    std::mt19937 random(17);
    const struct {
        int width, height;
        ScreenRect dest;
    } cases[] = {{352, 288, {0, 0, 176, 144}},     {352, 288, {5, 5, 93, 77}},
                 {720, 576, {0, 0, 88, 72}},       {352, 288, {0, 0, 352, 288}},
                 {720, 576, {0, 0, 1280, 960}},    {4, 2, {1, 1, 71, 33}},
                 {352, 288, {-30, -10, 300, 250}}, {176, 144, {1200, 900, 1560, 1190}},
                 {352, 288, {7, 3, 95, 75}},       {704, 576, {-8, 0, 168, 144}}};
    CVideoSurface surface;
    surface.Resize(1300, 1000);
    for (const auto& c : cases) {
        std::vector<unsigned char> picture(static_cast<std::size_t>(c.width) * c.height * 2);
        for (unsigned char& byte : picture)
            byte = static_cast<unsigned char>(random());
        surface.Clear({0, 0, 1300, 1000});
        DrawYuy2(surface, c.dest, c.width, c.height, picture.data());
        long mismatches = 0;
        surface.Read([&](const std::uint32_t* pixels, int width, int height) {
            for (int y = std::max(c.dest.top, 0); y < std::min(c.dest.bottom, height); ++y) {
                const int sy = (y - c.dest.top) * c.height / c.dest.Height();
                for (int x = std::max(c.dest.left, 0); x < std::min(c.dest.right, width); ++x) {
                    const int sx = (x - c.dest.left) * c.width / c.dest.Width();
                    const unsigned char* pair =
                        &picture[(static_cast<std::size_t>(sy) * c.width + (sx & ~1)) * 2];
                    mismatches += pixels[static_cast<std::size_t>(y) * width + x] !=
                                  Bt601(pair[(sx & 1) * 2], pair[1], pair[3]);
                }
            }
        });
        EXPECT_EQ(mismatches, 0) << c.width << "x" << c.height << " into " << c.dest.Width() << "x"
                                 << c.dest.Height() << " at " << c.dest.left << "," << c.dest.top;
    }
}

TEST(Bt601Test, StudioRangeEndsAndPrimaries) {
    EXPECT_EQ(Bt601ToArgb(16, 128, 128), 0xFF000000u);
    EXPECT_EQ(Bt601ToArgb(235, 128, 128), 0xFFFFFFFFu);
    EXPECT_EQ(Bt601ToArgb(0, 128, 128), 0xFF000000u);    // below black clamps
    EXPECT_EQ(Bt601ToArgb(255, 128, 128), 0xFFFFFFFFu);  // above white clamps
    EXPECT_EQ(Bt601ToArgb(126, 128, 128), 0xFF808080u);
    // Studio-range red (81, 90, 240) comes back as nearly pure red.
    const std::uint32_t red = Bt601ToArgb(81, 90, 240);
    EXPECT_GE((red >> 16) & 0xFF, 250u);
    EXPECT_LE((red >> 8) & 0xFF, 3u);
    EXPECT_LE(red & 0xFF, 3u);
}

TEST(Yuy2PictureTest, PairsShareChromaAndThePictureLandsUprightAndScaled) {
    CVideoSurface surface;
    surface.Resize(40, 40);
    // 4 x 2: top row black then white in each pair, bottom row all mid grey; neutral chroma.
    const std::vector<unsigned char> picture = {16,  128, 235, 128, 16,  128, 235, 128,
                                                126, 128, 126, 128, 126, 128, 126, 128};
    EXPECT_EQ(DrawYuy2(surface, {0, 0, 8, 4}, 4, 2, picture.data()), 4);
    EXPECT_EQ(PixelAt(surface, 0, 0), 0xFF000000u);
    EXPECT_EQ(PixelAt(surface, 1, 0), 0xFF000000u);
    EXPECT_EQ(PixelAt(surface, 2, 1), 0xFFFFFFFFu);
    EXPECT_EQ(PixelAt(surface, 7, 1), 0xFFFFFFFFu);
    EXPECT_EQ(PixelAt(surface, 0, 2), 0xFF808080u);
    EXPECT_EQ(PixelAt(surface, 7, 3), 0xFF808080u);
    EXPECT_EQ(PixelAt(surface, 8, 0), 0u);

    // Chroma of the pair: U below neutral turns the right pixel of the pair less blue too.
    const std::vector<unsigned char> tinted = {126, 60, 126, 128};
    DrawYuy2(surface, {20, 20, 22, 21}, 2, 1, tinted.data());
    EXPECT_EQ(PixelAt(surface, 20, 20), PixelAt(surface, 21, 20));
    EXPECT_LT(PixelAt(surface, 21, 20) & 0xFF, 0x80u);
}

TEST(Yuy2PictureTest, RefusesPicturesItCannotRead) {
    CVideoSurface surface;
    surface.Resize(10, 10);
    const std::vector<unsigned char> picture(64, 128);
    EXPECT_EQ(DrawYuy2(surface, {0, 0, 4, 4}, 3, 2, picture.data()), -1);
    EXPECT_EQ(DrawYuy2(surface, {0, 0, 4, 4}, 4, 0, picture.data()), -1);
    EXPECT_EQ(DrawYuy2(surface, {0, 0, 4, 4}, 4, 2, nullptr), -1);
    EXPECT_EQ(DrawYuy2(surface, {20, 20, 24, 24}, 4, 2, picture.data()), 0);
}

// Drawn from its planes (rows padded past the picture, as decoders leave them), a 4:2:0
// picture shows exactly as its packed 4:2:2 conversion drawn into the same place.
TEST(Yuy2PictureTest, PlanesDrawAsTheirPackedConversion) {
    std::mt19937 random(23);
    const struct {
        int width, height;
        ScreenRect dest;
    } cases[] = {{352, 288, {0, 0, 176, 144}},    {720, 576, {3, 2, 91, 74}},
                 {352, 288, {0, 0, 352, 288}},    {704, 576, {0, 0, 1280, 960}},
                 {720, 288, {-40, -9, 300, 250}}, {6, 4, {1, 1, 70, 33}}};
    CVideoSurface packed_surface;
    CVideoSurface planar_surface;
    packed_surface.Resize(1300, 1000);
    planar_surface.Resize(1300, 1000);
    for (const auto& c : cases) {
        const int strides[3] = {c.width + 32, c.width / 2 + 16, c.width / 2 + 16};
        std::vector<unsigned char> y(static_cast<std::size_t>(strides[0]) * c.height);
        std::vector<unsigned char> u(static_cast<std::size_t>(strides[1]) * c.height / 2);
        std::vector<unsigned char> v(u.size());
        for (auto* plane : {&y, &u, &v}) {
            for (unsigned char& byte : *plane)
                byte = static_cast<unsigned char>(random());
        }
        std::vector<unsigned char> pairs(static_cast<std::size_t>(c.width) * c.height * 2);
        for (int row = 0; row < c.height; ++row) {
            for (int x = 0; x < c.width; x += 2) {
                unsigned char* pair = &pairs[(static_cast<std::size_t>(row) * c.width + x) * 2];
                pair[0] = y[static_cast<std::size_t>(row) * strides[0] + x];
                pair[1] = u[static_cast<std::size_t>(row / 2) * strides[1] + x / 2];
                pair[2] = y[static_cast<std::size_t>(row) * strides[0] + x + 1];
                pair[3] = v[static_cast<std::size_t>(row / 2) * strides[2] + x / 2];
            }
        }
        packed_surface.Clear({0, 0, 1300, 1000});
        planar_surface.Clear({0, 0, 1300, 1000});
        const unsigned char* const planes[3] = {y.data(), u.data(), v.data()};
        const int drawn = DrawYuy2(packed_surface, c.dest, c.width, c.height, pairs.data());
        EXPECT_EQ(DrawYuv420(planar_surface, c.dest, c.width, c.height, planes, strides), drawn);
        std::vector<std::uint32_t> expected;
        packed_surface.Read([&](const std::uint32_t* pixels, int width, int height) {
            expected.assign(pixels, pixels + static_cast<std::size_t>(width) * height);
        });
        long mismatches = 0;
        planar_surface.Read([&](const std::uint32_t* pixels, int width, int height) {
            for (std::size_t i = 0; i < static_cast<std::size_t>(width) * height; ++i)
                mismatches += pixels[i] != expected[i];
        });
        EXPECT_EQ(mismatches, 0) << c.width << "x" << c.height << " into " << c.dest.Width() << "x"
                                 << c.dest.Height() << " at " << c.dest.left << "," << c.dest.top;
    }
    const unsigned char* const none[3] = {nullptr, nullptr, nullptr};
    const int strides[3] = {8, 4, 4};
    EXPECT_EQ(DrawYuv420(planar_surface, {0, 0, 4, 4}, 4, 2, none, strides), -1);
}
