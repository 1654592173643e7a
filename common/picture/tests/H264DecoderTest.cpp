#include <gtest/gtest.h>

#include <vector>

extern "C" {
#include <libavutil/frame.h>
}

#include "common/picture/ColourConversion.h"
#include "common/picture/H264Decoder.h"
#include "common/picture/tests/TestStreams.h"

namespace {

using test_streams::Codec;

// Decodes every payload; returns the PSNR of each picture against its source.
std::vector<double> DecodeAll(CH264Decoder& decoder,
                              const std::vector<std::vector<uint8_t>>& stream, int format_code,
                              int width, int height, int first_index = 0) {
    std::vector<double> psnr;
    std::vector<uint8_t> picture(static_cast<size_t>(width) * height * 3 / 2);
    for (size_t i = 0; i < stream.size(); ++i) {
        int got = -1;
        const int used = decoder.Decode(decoder.Picture(), &got, stream[i].data(),
                                        static_cast<int>(stream[i].size()));
        EXPECT_EQ(used, static_cast<int>(stream[i].size())) << i;
        EXPECT_EQ(got, 1) << i;
        if (got == 1) {
            EXPECT_EQ(CopyDecodedPlanes(decoder.Picture(), picture.data(), format_code), 1);
            const std::vector<uint8_t> source =
                test_streams::SyntheticPicture(width, height, first_index + static_cast<int>(i));
            psnr.push_back(test_streams::LumaPsnr(picture.data(), source.data(), width, height));
        }
    }
    return psnr;
}

TEST(H264Decoder, DecodesCifAndD1CloseToTheSource) {
    struct Case {
        int format_code, width, height, frames;
    };
    for (const Case c : {Case{2, 352, 288, 12}, Case{0, 720, 576, 3}}) {
        const auto stream = test_streams::EncodeStream(Codec::kH264, c.width, c.height, c.frames);
        ASSERT_EQ(static_cast<int>(stream.size()), c.frames);
        CH264Decoder decoder;
        ASSERT_EQ(decoder.Open(c.width, c.height), 1);
        EXPECT_EQ(decoder.OpenedWidth(), c.width);
        EXPECT_EQ(decoder.OpenedHeight(), c.height);
        const std::vector<double> psnr =
            DecodeAll(decoder, stream, c.format_code, c.width, c.height);
        ASSERT_EQ(static_cast<int>(psnr.size()), c.frames);
        for (double value : psnr) {
            EXPECT_GT(value, 35.0) << c.width;
        }
    }
}

// Opening again closes the first decoder: the leak check of the sanitizer build sees it.
TEST(H264Decoder, ReopenStartsAFreshDecoder) {
    const auto stream = test_streams::EncodeStream(Codec::kH264, 352, 288, 4, 2);
    CH264Decoder decoder;
    ASSERT_EQ(decoder.Open(720, 576), 1);
    int got = 0;
    decoder.Decode(decoder.Picture(), &got, stream[0].data(), static_cast<int>(stream[0].size()));
    ASSERT_EQ(decoder.Open(352, 288), 1);
    EXPECT_EQ(decoder.OpenedWidth(), 352);
    // The new decoder has no reference picture: it starts again at the next key frame.
    const std::vector<std::vector<uint8_t>> from_key(stream.begin() + 2, stream.end());
    for (double value : DecodeAll(decoder, from_key, 2, 352, 288, 2)) {
        EXPECT_GT(value, 35.0);
    }

    decoder.SetOpenedHeight(-1);
    EXPECT_EQ(decoder.OpenedHeight(), -1);
}

TEST(H264Decoder, BadPayloadsDoNotStopTheStream) {
    const auto stream = test_streams::EncodeStream(Codec::kH264, 352, 288, 6, 3);
    CH264Decoder decoder;
    ASSERT_EQ(decoder.Open(352, 288), 1);
    int got = 1;
    EXPECT_EQ(decoder.Decode(decoder.Picture(), &got, stream[0].data(), 0), 0);
    EXPECT_EQ(got, 0);
    EXPECT_EQ(decoder.Decode(decoder.Picture(), &got, stream[0].data(), -5), -1);
    EXPECT_EQ(decoder.Decode(decoder.Picture(), &got, nullptr, 10), -1);
    std::vector<uint8_t> noise(3000);
    for (size_t i = 0; i < noise.size(); ++i) {
        noise[i] = static_cast<uint8_t>(i * 131 + 17);
    }
    decoder.Decode(decoder.Picture(), &got, noise.data(), static_cast<int>(noise.size()));
    const std::vector<std::vector<uint8_t>> from_key(stream.begin() + 3, stream.end());
    for (double value : DecodeAll(decoder, from_key, 2, 352, 288, 3)) {
        EXPECT_GT(value, 35.0);
    }

    EXPECT_EQ(decoder.Close(), 1);
    EXPECT_EQ(decoder.Close(), 1);
    EXPECT_LT(decoder.Decode(decoder.Picture(), &got, stream[0].data(),
                             static_cast<int>(stream[0].size())),
              0);
    CH264Decoder never_opened;
    EXPECT_EQ(never_opened.Close(), 1);
    EXPECT_EQ(never_opened.OpenedWidth(), 0);
}

}  // namespace
