#include "common/picture/VideoDecoder.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "common/picture/ColourConversion.h"
#include "common/picture/H264Decoder.h"
#include "common/picture/Mpeg4Decoder.h"
#include "common/picture/tests/ScaledConversion.h"
#include "common/picture/tests/TestStreams.h"

namespace {

using test_streams::Codec;

constexpr int kWidth = 352;
constexpr int kHeight = 288;
constexpr int kCifFormat = 2;  // 352 x 288
constexpr std::size_t kPictureBytes = 720 * 576 * 3;

std::unique_ptr<CVideoDecoder> DecoderFor(Codec codec) {
    if (codec == Codec::kH264) return std::make_unique<CH264Decoder>();
    return std::make_unique<CMpeg4Decoder>();
}

// Both codecs behind one shape: a decoder that is not open fails, an open one turns every
// payload into a picture that copies out whole and converts scaled from where it lies.
TEST(VideoDecoder, EitherCodecDecodesThroughTheSameCalls) {
    for (const Codec codec : {Codec::kH264, Codec::kMpeg4}) {
        SCOPED_TRACE(codec == Codec::kH264 ? "H.264" : "MPEG-4");
        const auto stream = test_streams::EncodeStream(codec, kWidth, kHeight, 6);
        std::unique_ptr<CVideoDecoder> decoder = DecoderFor(codec);
        std::vector<uint8_t> picture(kPictureBytes);
        EXPECT_EQ(decoder->DecodeFrame(stream[0].data(), static_cast<int>(stream[0].size()),
                                       picture.data(), picture.size()),
                  DecodeResult::kFailed);

        ASSERT_TRUE(decoder->OpenFor(kWidth, kHeight));
        EXPECT_EQ(decoder->OpenedWidth(), kWidth);
        EXPECT_EQ(decoder->OpenedHeight(), kHeight);
        for (std::size_t i = 0; i < stream.size(); ++i) {
            ASSERT_EQ(decoder->DecodeFrame(stream[i].data(), static_cast<int>(stream[i].size()),
                                           picture.data(), picture.size()),
                      DecodeResult::kPicture)
                << i;
            const DecodedPicture decoded = decoder->Decoded();
            std::vector<uint8_t> whole(kWidth * kHeight * 3 / 2);
            ASSERT_EQ(CopyDecodedPlanes(decoded, whole.data(), kCifFormat), 1);
            const auto source =
                test_streams::SyntheticPicture(kWidth, kHeight, static_cast<int>(i));
            EXPECT_GT(test_streams::LumaPsnr(whole.data(), source.data(), kWidth, kHeight), 32.0);

            std::vector<uint8_t> scaled(88 * 72 * 3);
            std::vector<uint8_t> expected(scaled.size());
            ASSERT_TRUE(ConvertDecodedScaled(scaled.data(), 88, 72, decoded, kCifFormat));
            ConvertScaledToBgr24(expected.data(), 88, 72, whole.data(), kWidth, kHeight);
            EXPECT_EQ(scaled, expected);
        }
        // A picture smaller than its frame's format is neither copied nor converted.
        EXPECT_EQ(CopyDecodedPlanes(decoder->Decoded(), picture.data() + 1, 0), 0);
        EXPECT_FALSE(ConvertDecodedScaled(picture.data() + 1, 88, 72, decoder->Decoded(), 0));
    }
}

}  // namespace
