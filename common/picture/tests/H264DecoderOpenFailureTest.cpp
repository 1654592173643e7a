// A libavcodec open that fails must not leave the requested size recorded: the frame threads
// re-open only when the opened size differs from the stream's.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>

extern "C" {
#include <libavcodec/avcodec.h>
}

#include "common/picture/H264Decoder.h"

namespace {

std::atomic<bool> fail_next_open{false};

}  // namespace

// Takes the place of the library's open for this test program; forwards unless told to fail.
extern "C" int avcodec_open2(AVCodecContext* context, const AVCodec* codec,
                             AVDictionary** options) {
    if (fail_next_open.exchange(false)) return AVERROR(ENOMEM);
    using Open = int (*)(AVCodecContext*, const AVCodec*, AVDictionary**);
    static const auto kReal = reinterpret_cast<Open>(dlsym(RTLD_NEXT, "avcodec_open2"));
    return kReal(context, codec, options);
}

namespace {

TEST(H264DecoderOpenFailure, LeavesNoOpenedSizeSoTheNextComparisonReopens) {
    CH264Decoder decoder;
    ASSERT_EQ(decoder.Open(352, 288), 1);

    fail_next_open = true;
    EXPECT_EQ(decoder.Open(720, 576), -1);
    EXPECT_FALSE(decoder.OpenedWidth() == 720 && decoder.OpenedHeight() == 576);
    EXPECT_FALSE(decoder.OpenedWidth() == 352 && decoder.OpenedHeight() == 288);
    int got = 1;
    const uint8_t payload[16] = {0, 0, 0, 1};
    EXPECT_LT(decoder.Decode(decoder.Picture(), &got, payload, sizeof payload), 0);
    EXPECT_EQ(got, 0);

    EXPECT_EQ(decoder.Open(720, 576), 1);
    EXPECT_EQ(decoder.OpenedWidth(), 720);
    EXPECT_EQ(decoder.OpenedHeight(), 576);
}

}  // namespace
