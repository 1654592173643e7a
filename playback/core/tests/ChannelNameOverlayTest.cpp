#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "playback/core/decode/ChannelNameOverlay.h"
#include "playback/core/decode/ChannelNamePlace.h"
#include "playback/core/tests/NameImage.h"
#include "tests/support/TestFolder.h"

namespace {

// A contiguous 4:2:0 picture: luma 0x10, chroma 0x40 and 0xC0.
struct Picture {
    int width;
    int height;
    std::vector<uint8_t> bytes;

    Picture(int w, int h) : width(w), height(h), bytes(w * h * 3 / 2, 0x10) {
        std::fill(bytes.begin() + w * h, bytes.begin() + w * h * 5 / 4, 0x40);
        std::fill(bytes.begin() + w * h * 5 / 4, bytes.end(), 0xC0);
    }
    uint8_t Y(int x, int y) const { return bytes[y * width + x]; }
    uint8_t U(int x, int y) const { return bytes[width * height + y / 2 * (width / 2) + x / 2]; }
    uint8_t V(int x, int y) const {
        return bytes[width * height * 5 / 4 + y / 2 * (width / 2) + x / 2];
    }
    long Named() const { return std::count(bytes.begin(), bytes.begin() + width * height, 0xE6); }
};

class ChannelNameOverlayTest : public ::testing::Test {
protected:
    // Name images of the sizes installed, inked all over; the CIF one cut short by cut bytes.
    void WriteImages(size_t cut = 0) {
        std::filesystem::create_directories(folder_.Path() / "config");
        full_.Write(folder_.Path() / CChannelNameOverlay::kFullWidthFile);
        NameImage cif = cif_;
        cif.Bytes().resize(cif.Bytes().size() - cut);
        cif.Write(folder_.Path() / CChannelNameOverlay::kCifFile);
    }

    TestFolder folder_;
    NameImage full_ = NameImage(720, 160).Patterned();
    NameImage cif_ = NameImage(480, 72).Patterned();
    CChannelNameOverlay overlay_;
};

TEST_F(ChannelNameOverlayTest, LoadsBothImagesOrNone) {
    const std::tuple<const char*, const char*, size_t, int> cases[] = {
        {"both present", nullptr, 0, 1},
        {"720-wide image missing", CChannelNameOverlay::kFullWidthFile, 0, -1},
        {"CIF image missing", CChannelNameOverlay::kCifFile, 0, -1},
        {"CIF image shorter than its header says", nullptr, 1, -1},
    };
    for (const auto& [what, removed, cut, result] : cases) {
        WriteImages(cut);
        if (removed) std::filesystem::remove(folder_.Path() / removed);
        EXPECT_EQ(CChannelNameOverlay().LoadFiles(folder_.Path().string()), result) << what;
    }
}

// The channel's strip lands at its place in the picture of the format, name pixels only, in
// the name colour (chroma of each 2 x 2 block holding one); everything else stays.
TEST_F(ChannelNameOverlayTest, NameStripLandsAtItsPlace) {
    struct Case {
        int code, channel, width, height;
        bool cif;
        int sx, sy, sw, sh, dx, dy;
    } cases[] = {
        {0, 0, 720, 576, false, 18, 62, 65, 30, 20, 10},     // PAL D1
        {5, 9, 352, 240, true, 20, 51, 55, 18, 20, 190},     // NTSC CIF
        {1, 3, 720, 288, false, 240, 62, 65, 30, 20, 10},    // half-height D1
        {2, 15, 352, 288, true, 388, 51, 55, 18, 20, 230},   // PAL CIF
        {3, 12, 720, 480, false, 308, 121, 88, 30, 20, 10},  // NTSC D1
    };
    WriteImages();
    ASSERT_EQ(overlay_.LoadFiles(folder_.Path().string()), 1);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "code " << c.code << " channel " << c.channel);
        Picture picture(c.width, c.height);
        ASSERT_EQ(overlay_.DrawChannelName(picture.bytes.data(), c.code, c.channel), 1);
        const NameImage& image = c.cif ? cif_ : full_;
        const auto name = [&](int x, int y) {
            return x >= c.dx && x < c.dx + c.sw && y >= c.dy && y < c.dy + c.sh &&
                   image.Inked(c.sx + x - c.dx, c.sy + y - c.dy);
        };
        for (int y = 0; y < c.height; ++y) {
            for (int x = 0; x < c.width; ++x) {
                ASSERT_EQ(picture.Y(x, y), name(x, y) ? 0xE6 : 0x10) << x << "," << y;
                const int bx = x & ~1, by = y & ~1;
                const bool block =
                    name(bx, by) || name(bx + 1, by) || name(bx, by + 1) || name(bx + 1, by + 1);
                ASSERT_EQ(picture.U(x, y), block ? 0x80 : 0x40) << x << "," << y;
                ASSERT_EQ(picture.V(x, y), block ? 0x80 : 0xC0) << x << "," << y;
            }
        }
    }
}

// What blends only in part or not at all; a picture of exactly its size is never written
// outside (the sanitizer builds watch it).
TEST_F(ChannelNameOverlayTest, BlendsOnlyWhatFitsImageAndPicture) {
    WriteImages();
    ASSERT_EQ(overlay_.LoadFiles(folder_.Path().string()), 1);
    NameImage small(100, 70);
    for (int y = 0; y < 70; ++y)
        for (int x = 0; x < 100; ++x)
            small.Ink(x, y);
    NameImage not_two_level(720, 160);
    not_two_level.Bytes()[4] = 1;
    const auto blend = [](std::vector<uint8_t> image, int dx, int dy, int sx, int sy, int sw,
                          int sh, int code = 0) {
        return [=](uint8_t* p) {
            return CChannelNameOverlay::BlendGlyph(image, p, code, dx, dy, sx, sy, sw, sh,
                                                   kChannelNameColour);
        };
    };
    const std::tuple<const char*, int, long, std::function<int(uint8_t*)>> cases[] = {
        {"past the bottom-right corner", 1, 20 * 16, blend(small.Bytes(), 700, 560, 0, 0, 0, 0)},
        {"past the top-left corner", 1, 70 * 50, blend(small.Bytes(), -30, -20, 0, 0, 0, 0)},
        {"a strip outside the image", 1, 0, blend(small.Bytes(), 20, 10, 588, 121, 88, 30)},
        {"a strip partly in the image", 1, 100, blend(small.Bytes(), 20, 10, 90, 60, 65, 30)},
        {"no image", -1, 0, blend({}, 0, 0, 0, 0, 0, 0)},
        {"an image not two-level", -1, 0, blend(not_two_level.Bytes(), 0, 0, 0, 0, 0, 0)},
        {"a negative code", 0, 0, [&](uint8_t* p) { return overlay_.DrawChannelName(p, -1, 0); }},
        {"a negative multiple of 3: D1", 1, 650,
         [&](uint8_t* p) { return overlay_.DrawChannelName(p, -3, 0); }},
        {"channel 16", 0, 0, [&](uint8_t* p) { return overlay_.DrawChannelName(p, 0, 16); }},
        {"channel -1", 0, 0, [&](uint8_t* p) { return overlay_.DrawChannelName(p, 0, -1); }},
    };
    for (const auto& [what, result, named, call] : cases) {
        Picture picture(720, 576);
        EXPECT_EQ(call(picture.bytes.data()), result) << what;
        EXPECT_EQ(picture.Named(), named) << what;
    }
}

}  // namespace
