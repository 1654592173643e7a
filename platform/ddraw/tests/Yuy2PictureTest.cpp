#include <gtest/gtest.h>

#include <vector>

#include "VideoSurface.h"
#include "Yuy2Picture.h"

namespace {

std::uint32_t PixelAt(const CVideoSurface& surface, int x, int y) {
    std::uint32_t value = 0;
    surface.Read([&](const std::uint32_t* pixels, int width, int) {
        value = pixels[static_cast<std::size_t>(y) * width + x];
    });
    return value;
}

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

}  // namespace

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
