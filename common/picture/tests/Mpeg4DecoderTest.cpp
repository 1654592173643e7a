#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstring>
#include <vector>

#include "common/picture/Mpeg4Decoder.h"
#include "common/picture/tests/TestStreams.h"

namespace {

using test_streams::Codec;

std::vector<uint8_t> Luma(const std::vector<uint8_t>& picture, int stride, int width, int height) {
    std::vector<uint8_t> luma(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        std::copy_n(picture.begin() + static_cast<long>(y) * stride, width,
                    luma.begin() + static_cast<long>(y) * width);
    }
    return luma;
}

double Psnr(const std::vector<uint8_t>& output, int stride, int width, int height, int index) {
    const std::vector<uint8_t> source = test_streams::SyntheticPicture(width, height, index);
    return test_streams::LumaPsnr(Luma(output, stride, width, height).data(), source.data(), width,
                                  height);
}

int Decode(CMpeg4Decoder& decoder, const std::vector<uint8_t>& payload,
           std::vector<uint8_t>& output) {
    return decoder.Decode(payload.data(), static_cast<int>(payload.size()), output.data());
}

// A copy of a payload that ends where a page that nobody may read begins.
class GuardedPayload {
public:
    explicit GuardedPayload(const std::vector<uint8_t>& payload) : size_(payload.size()) {
        const auto page_bytes = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
        const std::size_t data_pages = (size_ + page_bytes - 1) / page_bytes;
        mapped_bytes_ = (data_pages + 1) * page_bytes;
        void* mapped = ::mmap(nullptr, mapped_bytes_, PROT_READ | PROT_WRITE,
                              MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (mapped == MAP_FAILED) return;
        base_ = static_cast<uint8_t*>(mapped);
        uint8_t* guard = base_ + data_pages * page_bytes;
        if (::mprotect(guard, page_bytes, PROT_NONE) != 0) return;
        data_ = guard - size_;
        std::memcpy(data_, payload.data(), size_);
    }
    ~GuardedPayload() {
        if (base_ != nullptr) ::munmap(base_, mapped_bytes_);
    }
    GuardedPayload(const GuardedPayload&) = delete;
    GuardedPayload& operator=(const GuardedPayload&) = delete;

    const uint8_t* Data() const { return data_; }
    int Size() const { return static_cast<int>(size_); }

private:
    std::size_t size_;
    std::size_t mapped_bytes_ = 0;
    uint8_t* base_ = nullptr;
    uint8_t* data_ = nullptr;
};

TEST(Mpeg4Decoder, VolAndPictureInOnePayloadThenTheStream) {
    const auto stream = test_streams::EncodeStream(Codec::kMpeg4, 352, 288, 10);
    CMpeg4Decoder decoder;
    EXPECT_EQ(decoder.Status(), 0);
    ASSERT_EQ(decoder.Open(1, 352, 288), 0);
    EXPECT_EQ(decoder.Status(), 1);
    EXPECT_EQ(decoder.StreamWidth(), 0);
    std::vector<uint8_t> output(352 * 288 * 3 / 2);
    for (size_t i = 0; i < stream.size(); ++i) {
        ASSERT_EQ(Decode(decoder, stream[i], output), 100) << i;
        EXPECT_TRUE(decoder.WrotePicture()) << i;
        EXPECT_EQ(decoder.StreamWidth(), 352);
        EXPECT_EQ(decoder.StreamHeight(), 288);
        EXPECT_GT(Psnr(output, 352, 352, 288, static_cast<int>(i)), 32.0) << i;
    }
}

TEST(Mpeg4Decoder, StreamSizeOnlyGrows) {
    const auto cif = test_streams::EncodeStream(Codec::kMpeg4, 352, 288, 1);
    const auto d1 = test_streams::EncodeStream(Codec::kMpeg4, 720, 576, 1);
    CMpeg4Decoder decoder;
    ASSERT_EQ(decoder.Open(1, 720, 576), 0);
    std::vector<uint8_t> output(720 * 576 * 3 / 2);
    ASSERT_EQ(Decode(decoder, cif[0], output), 100);
    EXPECT_EQ(decoder.StreamWidth(), 352);
    ASSERT_EQ(Decode(decoder, d1[0], output), 100);
    EXPECT_EQ(decoder.StreamWidth(), 720);
    EXPECT_EQ(decoder.StreamHeight(), 576);
    EXPECT_GT(Psnr(output, 720, 720, 576, 0), 32.0);
    // A smaller VOL keeps the stream size; the picture lands with the stream width as stride.
    ASSERT_EQ(Decode(decoder, cif[0], output), 100);
    EXPECT_EQ(decoder.StreamWidth(), 720);
    EXPECT_EQ(decoder.StreamHeight(), 576);
    EXPECT_GT(Psnr(output, 720, 352, 288, 0), 32.0);
    // Re-opening forgets the stream size.
    ASSERT_EQ(decoder.Open(1, 352, 288), 0);
    EXPECT_EQ(decoder.StreamWidth(), 0);
}

TEST(Mpeg4Decoder, PictureLargerThanTheOutputIsNotWritten) {
    const auto d1 = test_streams::EncodeStream(Codec::kMpeg4, 720, 576, 2);
    CMpeg4Decoder decoder;
    ASSERT_EQ(decoder.Open(1, 352, 288), 0);
    // Exactly the opened size: a D1 picture would overrun it.
    std::vector<uint8_t> output(352 * 288 * 3 / 2, 0xAB);
    EXPECT_EQ(Decode(decoder, d1[0], output), -1);
    EXPECT_EQ(output, std::vector<uint8_t>(output.size(), 0xAB));
    std::vector<uint8_t> large(720 * 576 * 3 / 2);
    EXPECT_EQ(
        decoder.Decode(d1[1].data(), static_cast<int>(d1[1].size()), large.data(), large.size()),
        100);
    EXPECT_GT(Psnr(large, 720, 720, 576, 1), 32.0);
}

TEST(Mpeg4Decoder, PayloadsEndingAtTheEndOfTheirMemoryAreReadOnlyWithin) {
    const auto stream = test_streams::EncodeStream(Codec::kMpeg4, 352, 288, 4);
    CMpeg4Decoder decoder;
    ASSERT_EQ(decoder.Open(1, 352, 288), 0);
    std::vector<uint8_t> output(352 * 288 * 3 / 2);
    for (std::size_t i = 0; i < stream.size(); ++i) {
        const GuardedPayload payload(stream[i]);
        ASSERT_NE(payload.Data(), nullptr);
        EXPECT_EQ(decoder.Decode(payload.Data(), payload.Size(), output.data()), 100) << i;
        EXPECT_GT(Psnr(output, 352, 352, 288, static_cast<int>(i)), 32.0) << i;
    }
}

TEST(Mpeg4Decoder, BadCallsAndPayloadsEnd) {
    CMpeg4Decoder decoder;
    std::vector<uint8_t> output(352 * 288 * 3 / 2);
    const uint8_t byte[1] = {0};
    EXPECT_EQ(decoder.Decode(byte, 1, output.data()), -1);  // not open
    EXPECT_LT(decoder.Destroy(), 0);
    EXPECT_EQ(decoder.Close(), 100);
    EXPECT_EQ(decoder.Status(), 0);
    ASSERT_EQ(decoder.Open(1, 352, 288), 0);
    EXPECT_EQ(decoder.Decode(nullptr, 10, output.data()), -1);
    EXPECT_EQ(decoder.Decode(byte, 10, nullptr), -1);
    EXPECT_EQ(decoder.Decode(byte, -1, output.data()), -1);
    EXPECT_EQ(decoder.Decode(byte, 1, output.data()), 100);
    EXPECT_FALSE(decoder.WrotePicture());
    // Noise that the library consumes nothing of must not spin.
    std::vector<uint8_t> noise(5000);
    for (size_t i = 0; i < noise.size(); ++i) {
        noise[i] = static_cast<uint8_t>(i * 7 + (i >> 3));
    }
    const int result = Decode(decoder, noise, output);
    EXPECT_TRUE(result == 100 || result == -1) << result;
    const std::vector<uint8_t> zeros(5000, 0);
    const int zero_result = decoder.Decode(zeros.data(), 5000, output.data());
    EXPECT_TRUE(zero_result == 100 || zero_result == -1) << zero_result;
    // Still decodes a real stream afterwards.
    const auto stream = test_streams::EncodeStream(Codec::kMpeg4, 352, 288, 1);
    EXPECT_EQ(Decode(decoder, stream[0], output), 100);
    EXPECT_GT(Psnr(output, 352, 352, 288, 0), 32.0);
    EXPECT_EQ(decoder.Close(), 100);
    EXPECT_EQ(decoder.Status(), 0);
    // Plain code (no processor extensions) decodes the same stream.
    ASSERT_EQ(decoder.Open(0, 352, 288), 0);
    EXPECT_EQ(Decode(decoder, stream[0], output), 100);
    EXPECT_GT(Psnr(output, 352, 352, 288, 0), 32.0);
    decoder.SetOpenedHeight(-1);
    EXPECT_EQ(decoder.OpenedHeight(), -1);
}

}  // namespace
