#include "tools/recorder-emulator/ChannelPicture.h"
#include "tools/recorder-emulator/LoopCache.h"
#include "tools/recorder-emulator/LoopEncoder.h"

#include <gtest/gtest.h>

extern "C" {
#include <libavcodec/avcodec.h>
}

#include <cstdlib>
#include <memory>

namespace {

constexpr PictureSize kCif{352, 288};

bool HasStartCode(const std::vector<uint8_t>& b, uint8_t code, uint8_t mask) {
    for (size_t i = 0; i + 3 < b.size(); ++i) {
        if (b[i] == 0 && b[i + 1] == 0 && b[i + 2] == 1 && (b[i + 3] & mask) == code) return true;
    }
    return false;
}

// Decodes the loop's frames up to and including index last and returns the colour of the
// background near the top-left corner of that picture.
YuvColour DecodedBackground(VideoCodec codec, const FrameLoop& loop, size_t last) {
    const AVCodec* decoder =
        avcodec_find_decoder(codec == VideoCodec::kH264 ? AV_CODEC_ID_H264 : AV_CODEC_ID_MPEG4);
    AVCodecContext* ctx = avcodec_alloc_context3(decoder);
    EXPECT_EQ(avcodec_open2(ctx, decoder, nullptr), 0);
    AVPacket* packet = av_packet_alloc();
    AVFrame* frame = av_frame_alloc();
    YuvColour colour{0, 0, 0};
    int decoded = 0;
    for (size_t i = 0; i <= last; ++i) {
        std::vector<uint8_t> data = loop.frames[i].payload;
        data.resize(data.size() + AV_INPUT_BUFFER_PADDING_SIZE, 0);
        packet->data = data.data();
        packet->size = static_cast<int>(loop.frames[i].payload.size());
        EXPECT_EQ(avcodec_send_packet(ctx, packet), 0) << i;
        while (avcodec_receive_frame(ctx, frame) == 0) {
            ++decoded;
            EXPECT_EQ(frame->width, kCif.width);
            EXPECT_EQ(frame->height, kCif.height);
            const int x = frame->width / 8, y = frame->height / 8;
            colour = {frame->data[0][y * frame->linesize[0] + x],
                      frame->data[1][y / 2 * frame->linesize[1] + x / 2],
                      frame->data[2][y / 2 * frame->linesize[2] + x / 2]};
        }
    }
    EXPECT_EQ(decoded, static_cast<int>(last + 1)) << "no frame delay expected";
    av_frame_free(&frame);
    av_packet_free(&packet);
    avcodec_free_context(&ctx);
    return colour;
}

void ExpectNear(YuvColour got, YuvColour want) {
    EXPECT_NEAR(got.y, want.y, 10);
    EXPECT_NEAR(got.u, want.u, 10);
    EXPECT_NEAR(got.v, want.v, 10);
}

TEST(ChannelPicture, ColoursTellChannelsApart) {
    for (int a = 0; a < 16; ++a) {
        for (int b = a + 1; b < 16; ++b) {
            const YuvColour x = ChannelColour(a), y = ChannelColour(b);
            const int distance = std::abs(x.y - y.y) + std::abs(x.u - y.u) + std::abs(x.v - y.v);
            EXPECT_GE(distance, 40) << a << " " << b;
        }
    }
    const Yuv420Picture p = DrawChannelPicture(352, 288, 3, 0, 4);
    EXPECT_EQ(p.y[0], ChannelColour(3).y);
    // The digits "04" are drawn in white somewhere across the middle row.
    bool ink = false;
    for (int x = 0; x < 352; ++x)
        ink |= p.y[144 * 352 + x] == 235;
    EXPECT_TRUE(ink);
}

TEST(LoopEncoder, H264LoopIsAnnexBWithOneLeadingKeyFrame) {
    const FrameLoop loop = EncodeChannelLoop(VideoCodec::kH264, kCif, 5, 4, 25);
    ASSERT_EQ(loop.frames.size(), 4u);
    EXPECT_TRUE(loop.frames[0].key);
    EXPECT_FALSE(loop.frames[1].key || loop.frames[2].key || loop.frames[3].key);
    EXPECT_TRUE(HasStartCode(loop.frames[0].payload, 7, 0x1f));  // SPS
    EXPECT_TRUE(HasStartCode(loop.frames[0].payload, 5, 0x1f));  // IDR slice
    EXPECT_FALSE(HasStartCode(loop.frames[2].payload, 7, 0x1f));
    ExpectNear(DecodedBackground(VideoCodec::kH264, loop, 3), ChannelColour(5));
}

TEST(LoopEncoder, Mpeg4LoopCarriesItsVolHeader) {
    const FrameLoop loop = EncodeChannelLoop(VideoCodec::kMpeg4, kCif, 11, 3, 25);
    ASSERT_EQ(loop.frames.size(), 3u);
    EXPECT_TRUE(loop.frames[0].key);
    EXPECT_FALSE(loop.frames[1].key);
    EXPECT_TRUE(HasStartCode(loop.frames[0].payload, 0x20, 0xf0));  // video object layer
    ExpectNear(DecodedBackground(VideoCodec::kMpeg4, loop, 2), ChannelColour(11));
}

TEST(LoopCache, SharesOneEncodingPerSetting) {
    LoopCache cache;
    const LoopCache::Key a{VideoCodec::kH264, 352, 288, 0, 2, 25};
    const LoopCache::Key b{VideoCodec::kH264, 352, 288, 1, 2, 25};
    cache.Prepare({a, b, a}, 2);
    const auto first = cache.Get(a);
    EXPECT_EQ(cache.Get(a), first);
    EXPECT_NE(cache.Get(b), first);
    EXPECT_EQ(first->frames.size(), 2u);
}

}  // namespace
