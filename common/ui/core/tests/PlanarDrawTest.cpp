// Cells drawn straight from a decoder's planes against what the earlier live draw showed for
// the same decoded frames: a 24-bit conversion (scaled to the cell when the cell is smaller,
// whole otherwise), then stretched nearest-neighbour into the surface.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "common/picture/ColourConversion.h"
#include "common/picture/H264Decoder.h"
#include "common/picture/Mpeg4Decoder.h"
#include "common/picture/tests/ScaledConversion.h"
#include "common/picture/tests/TestStreams.h"
#include "common/ui/core/GdiRenderer.h"
#include "platform/surface/VideoSurface.h"

namespace {

using test_streams::Codec;

constexpr std::size_t kPictureBytes = 720 * 576 * 3;

std::uint32_t Argb(const uint8_t* bgr) {
    return 0xFF000000u | std::uint32_t{bgr[2]} << 16 | std::uint32_t{bgr[1]} << 8 | bgr[0];
}

// The earlier draw of a decoded picture into a dest_width x dest_height cell, as 32-bit pixels.
std::vector<std::uint32_t> EarlierCell(const DecodedPicture& decoded, int format_code, int width,
                                       int height, int dest_width, int dest_height) {
    std::vector<std::uint32_t> cell(static_cast<std::size_t>(dest_width) * dest_height);
    if (dest_width <= width && dest_height <= height) {
        std::vector<uint8_t> bgr(cell.size() * 3);
        EXPECT_TRUE(
            ConvertDecodedScaled(bgr.data(), dest_width, dest_height, decoded, format_code));
        for (std::size_t i = 0; i < cell.size(); ++i)
            cell[i] = Argb(&bgr[i * 3]);
        return cell;
    }
    std::vector<uint8_t> whole(static_cast<std::size_t>(width) * height * 3 / 2);
    EXPECT_EQ(CopyDecodedPlanes(decoded, whole.data(), format_code), 1);
    std::vector<uint8_t> bgr(static_cast<std::size_t>(width) * height * 3);
    ConvertToBgr24(bgr.data(), whole.data(), format_code);
    for (int y = 0; y < dest_height; ++y) {
        const int sy = static_cast<int>(static_cast<int64_t>(y) * height / dest_height);
        for (int x = 0; x < dest_width; ++x) {
            const int sx = static_cast<int>(static_cast<int64_t>(x) * width / dest_width);
            cell[static_cast<std::size_t>(y) * dest_width + x] =
                Argb(&bgr[(static_cast<std::size_t>(sy) * width + sx) * 3]);
        }
    }
    return cell;
}

std::unique_ptr<CVideoDecoder> OpenDecoder(Codec codec, int width, int height) {
    std::unique_ptr<CVideoDecoder> decoder;
    if (codec == Codec::kH264) {
        decoder = std::make_unique<CH264Decoder>();
    } else {
        decoder = std::make_unique<CMpeg4Decoder>();
    }
    EXPECT_TRUE(decoder->OpenFor(width, height));
    return decoder;
}

struct CellCase {
    int dest_width, dest_height;
    int left, top;  // where the cell lies on a 1300 x 1000 surface; it may run off its edges
};

}  // namespace

// Every size class of the live view (quarter, half, own size, enlarged, uneven and mixed
// ratios, a cell cut by the surface's edge) on every picture of real H.264 and MPEG-4 streams.
TEST(PlanarDraw, CellsMatchTheEarlierDrawOnDecodedFrames) {
    const struct {
        Codec codec;
        int width, height, format_code;
    } streams[] = {{Codec::kH264, 352, 288, 2},
                   {Codec::kMpeg4, 352, 288, 2},
                   {Codec::kH264, 720, 576, 0},
                   {Codec::kMpeg4, 720, 288, 1}};
    const CellCase cells[] = {{88, 72, 0, 0},      {176, 144, 100, 50},  {352, 288, 3, 7},
                              {1280, 960, 10, 20}, {87, 71, 500, 500},   {41, 33, 9, 9},
                              {700, 140, 33, 600}, {200, 600, 1200, 10}, {352, 288, -20, -9}};
    auto surface = std::make_shared<CVideoSurface>();
    surface->Resize(1300, 1000);
    CGdiRenderer renderer;
    renderer.SetDC(surface);
    for (const auto& s : streams) {
        SCOPED_TRACE(std::string(s.codec == Codec::kH264 ? "H.264 " : "MPEG-4 ") +
                     std::to_string(s.width) + "x" + std::to_string(s.height));
        const auto stream = test_streams::EncodeStream(s.codec, s.width, s.height, 4, 3);
        const std::unique_ptr<CVideoDecoder> decoder = OpenDecoder(s.codec, s.width, s.height);
        std::vector<uint8_t> picture(kPictureBytes);
        for (const auto& payload : stream) {
            ASSERT_EQ(decoder->DecodeFrame(payload.data(), static_cast<int>(payload.size()),
                                           picture.data(), picture.size()),
                      DecodeResult::kPicture);
            const DecodedPicture decoded = decoder->Decoded();
            for (const CellCase& c : cells) {
                surface->Clear({0, 0, 1300, 1000});
                renderer.DrawPlanes({c.left, c.top, c.left + c.dest_width, c.top + c.dest_height},
                                    s.width, s.height, decoded);
                const std::vector<std::uint32_t> want = EarlierCell(
                    decoded, s.format_code, s.width, s.height, c.dest_width, c.dest_height);
                long mismatches = 0;
                surface->Read([&](const std::uint32_t* pixels, int width, int height) {
                    for (int y = 0; y < c.dest_height; ++y) {
                        for (int x = 0; x < c.dest_width; ++x) {
                            const int sx = c.left + x;
                            const int sy = c.top + y;
                            if (sx < 0 || sy < 0 || sx >= width || sy >= height) continue;
                            mismatches += pixels[static_cast<std::size_t>(sy) * width + sx] !=
                                          want[static_cast<std::size_t>(y) * c.dest_width + x];
                        }
                    }
                });
                EXPECT_EQ(mismatches, 0)
                    << c.dest_width << "x" << c.dest_height << " at " << c.left << "," << c.top;
            }
        }
    }
}
