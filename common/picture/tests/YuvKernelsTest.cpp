#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "common/picture/ColourConversion.h"
#include "common/picture/YuvKernels.h"
#include "common/picture/tests/YuvModel.h"
#include "platform/cpu/CpuFeatures.h"

namespace {

std::vector<yuv::Kernel> Kernels() {
    std::vector<yuv::Kernel> kernels{yuv::Kernel::kPortable};
    if (cpu::HasAvx2()) {
        kernels.push_back(yuv::Kernel::kAvx2);
    }
    return kernels;
}

const char* Name(yuv::Kernel kernel) { return kernel == yuv::Kernel::kAvx2 ? "avx2" : "portable"; }

// 64 pictures of 512 x 512: chroma sample (x, y) holds U = x, V = y and its four luma pixels
// the four Y values 4n .. 4n + 3 of picture n, so every (Y, U, V) triple occurs exactly once.
TEST(YuvKernels, EveryTripleMatchesTheRule) {
    constexpr int kSize = 512;
    std::vector<uint8_t> u(256 * 256);
    std::vector<uint8_t> v(256 * 256);
    for (int cy = 0; cy < 256; ++cy) {
        for (int cx = 0; cx < 256; ++cx) {
            u[cy * 256 + cx] = static_cast<uint8_t>(cx);
            v[cy * 256 + cx] = static_cast<uint8_t>(cy);
        }
    }
    // Expected bytes per triple, from the rule.
    std::vector<uint8_t> expected(256 * 256 * 256 * 3);
    for (int y = 0; y < 256; ++y) {
        for (int cu = 0; cu < 256; ++cu) {
            for (int cv = 0; cv < 256; ++cv) {
                yuv_model::Bgr(y, cu, cv, &expected[((y * 256 + cu) * 256 + cv) * 3]);
            }
        }
    }
    std::vector<uint8_t> luma(kSize * kSize);
    std::vector<uint8_t> out(kSize * kSize * 3);
    for (yuv::Kernel kernel : Kernels()) {
        long mismatches = 0;
        for (int n = 0; n < 64; ++n) {
            for (int row = 0; row < kSize; ++row) {
                for (int col = 0; col < kSize; ++col) {
                    luma[row * kSize + col] =
                        static_cast<uint8_t>(4 * n + 2 * (row & 1) + (col & 1));
                }
            }
            yuv::Bgr24Picture(kernel, luma.data(), u.data(), v.data(), kSize, kSize, kSize * 3,
                              out.data());
            for (int row = 0; row < kSize; ++row) {
                for (int col = 0; col < kSize; ++col) {
                    const int y = luma[row * kSize + col];
                    const uint8_t* want = &expected[((y * 256 + col / 2) * 256 + row / 2) * 3];
                    const uint8_t* got = &out[(row * kSize + col) * 3];
                    mismatches += got[0] != want[0] || got[1] != want[1] || got[2] != want[2];
                }
            }
        }
        EXPECT_EQ(mismatches, 0) << Name(kernel);
    }
}

uint32_t ModelArgb(int y, int u, int v) {
    uint8_t bgr[3];
    yuv_model::Bgr(y, u, v, bgr);
    return 0xFF000000u | uint32_t{bgr[2]} << 16 | uint32_t{bgr[1]} << 8 | bgr[0];
}

void Argb444(yuv::Kernel kernel, const std::vector<uint8_t>& y, const std::vector<uint8_t>& u,
             const std::vector<uint8_t>& v, std::vector<uint32_t>& out) {
    const int width = static_cast<int>(y.size());
    const int done = kernel == yuv::Kernel::kAvx2
                         ? yuv::Argb444RowAvx2(y.data(), u.data(), v.data(), out.data(), width)
                         : 0;
    yuv::Argb444RowScalar(y.data(), u.data(), v.data(), out.data(), done, width);
}

void Row444(yuv::Kernel kernel, const std::vector<uint8_t>& y, const std::vector<uint8_t>& u,
            const std::vector<uint8_t>& v, std::vector<uint8_t>& out) {
    const int width = static_cast<int>(y.size());
    const int done = kernel == yuv::Kernel::kAvx2
                         ? yuv::Bgr24Row444Avx2(y.data(), u.data(), v.data(), out.data(), width)
                         : 0;
    yuv::Bgr24Row444Scalar(y.data(), u.data(), v.data(), out.data(), done, width);
}

// A row of 65536 pixels holds every (U, V) pair; it is converted once for each Y. A short
// row of exact size shows any access past its end.
TEST(YuvKernels, RowsWithAChromaSamplePerPixelMatchTheRule) {
    std::vector<uint8_t> y(65536);
    std::vector<uint8_t> u(65536);
    std::vector<uint8_t> v(65536);
    for (int j = 0; j < 65536; ++j) {
        u[j] = static_cast<uint8_t>(j & 255);
        v[j] = static_cast<uint8_t>(j >> 8);
    }
    std::vector<uint8_t> out(65536 * 3);
    std::vector<uint32_t> argb(65536);
    uint8_t want[3];
    for (yuv::Kernel kernel : Kernels()) {
        long mismatches = 0;
        long argb_mismatches = 0;
        for (int luma = 0; luma < 256; ++luma) {
            std::fill(y.begin(), y.end(), static_cast<uint8_t>(luma));
            Row444(kernel, y, u, v, out);
            Argb444(kernel, y, u, v, argb);
            for (int j = 0; j < 65536; ++j) {
                yuv_model::Bgr(luma, u[j], v[j], want);
                mismatches +=
                    out[j * 3] != want[0] || out[j * 3 + 1] != want[1] || out[j * 3 + 2] != want[2];
                argb_mismatches += argb[j] != ModelArgb(luma, u[j], v[j]);
            }
        }
        EXPECT_EQ(mismatches, 0) << Name(kernel);
        EXPECT_EQ(argb_mismatches, 0) << Name(kernel);

        std::mt19937 random(3);
        std::vector<uint8_t> ys(37), us(37), vs(37), short_out(37 * 3), short_want(37 * 3);
        for (int j = 0; j < 37; ++j) {
            ys[j] = static_cast<uint8_t>(random());
            us[j] = static_cast<uint8_t>(random());
            vs[j] = static_cast<uint8_t>(random());
            yuv_model::Bgr(ys[j], us[j], vs[j], &short_want[j * 3]);
        }
        Row444(kernel, ys, us, vs, short_out);
        EXPECT_EQ(short_out, short_want) << Name(kernel);
        std::vector<uint32_t> short_argb(37);
        Argb444(kernel, ys, us, vs, short_argb);
        for (int j = 0; j < 37; ++j)
            EXPECT_EQ(short_argb[j], ModelArgb(ys[j], us[j], vs[j])) << Name(kernel) << " " << j;
    }
}

// Exact-size buffers, so any read or write past a plane or row shows under the sanitizers.
TEST(YuvKernels, OddAndSmallSizesMatchTheRule) {
    std::mt19937 random(7);
    for (int h = 1; h <= 5; ++h) {
        for (int w = 1; w <= 100; ++w) {
            const int cw = (w + 1) / 2;
            const int ch = (h + 1) / 2;
            std::vector<uint8_t> luma(w * h);
            std::vector<uint8_t> u(cw * ch);
            std::vector<uint8_t> v(cw * ch);
            for (auto* plane : {&luma, &u, &v}) {
                for (uint8_t& byte : *plane) {
                    byte = static_cast<uint8_t>(random());
                }
            }
            std::vector<uint8_t> want_bgr(w * h * 3);
            std::vector<uint8_t> want_yuy2(w * h * 2);
            for (int i = 0; i < h; ++i) {
                for (int j = 0; j < w; ++j) {
                    const int c = (i / 2) * cw + j / 2;
                    yuv_model::Bgr(luma[i * w + j], u[c], v[c], &want_bgr[(i * w + j) * 3]);
                    want_yuy2[(i * w + j) * 2] = luma[i * w + j];
                    want_yuy2[(i * w + j) * 2 + 1] = j % 2 == 0 ? u[c] : v[c];
                }
            }
            for (yuv::Kernel kernel : Kernels()) {
                std::vector<uint8_t> bgr(w * h * 3);
                yuv::Bgr24Picture(kernel, luma.data(), u.data(), v.data(), w, h, w * 3, bgr.data());
                ASSERT_EQ(bgr, want_bgr) << Name(kernel) << " " << w << "x" << h;
                std::vector<uint8_t> yuy2(w * h * 2);
                yuv::Yuy2Picture(kernel, luma.data(), u.data(), v.data(), yuy2.data(), w, h);
                ASSERT_EQ(yuy2, want_yuy2) << Name(kernel) << " " << w << "x" << h;
                for (int i = 0; i < h; ++i) {
                    std::vector<uint32_t> row(w);
                    const uint8_t* cu = &u[(i / 2) * cw];
                    const uint8_t* cv = &v[(i / 2) * cw];
                    const int done = kernel == yuv::Kernel::kAvx2
                                         ? yuv::Argb420RowAvx2(&luma[i * w], cu, cv, row.data(), w)
                                         : 0;
                    yuv::Argb420RowScalar(&luma[i * w], cu, cv, row.data(), done, w);
                    for (int j = 0; j < w; ++j) {
                        const uint8_t* bgr = &want_bgr[(i * w + j) * 3];
                        ASSERT_EQ(row[j], 0xFF000000u | uint32_t{bgr[2]} << 16 |
                                              uint32_t{bgr[1]} << 8 | bgr[0])
                            << Name(kernel) << " " << w << "x" << h << " at " << j << "," << i;
                    }
                }
            }
        }
    }
}

// Rows drawn at a half and a quarter of their width take every second or fourth pixel with
// its own chroma sample; exact-size rows show any read past their ends.
TEST(YuvKernels, RowsTakenAtAHalfOrAQuarterMatchTheRule) {
    std::mt19937 random(5);
    for (int ratio : {2, 4}) {
        for (int count : {1, 31, 32, 44, 64, 88, 176, 360}) {
            const int width = ratio * count;
            std::vector<uint8_t> y(width), u(width / 2), v(width / 2);
            for (auto* plane : {&y, &u, &v}) {
                for (uint8_t& byte : *plane)
                    byte = static_cast<uint8_t>(random());
            }
            for (yuv::Kernel kernel : Kernels()) {
                std::vector<uint32_t> out(count);
                int done = 0;
                if (kernel == yuv::Kernel::kAvx2) {
                    done = ratio == 2 ? yuv::ArgbHalfRowAvx2(y.data(), u.data(), v.data(),
                                                             out.data(), count)
                                      : yuv::ArgbQuarterRowAvx2(y.data(), u.data(), v.data(),
                                                                out.data(), count);
                }
                yuv::ArgbStridedRowScalar(ratio, y.data(), u.data(), v.data(), out.data(), done,
                                          count);
                for (int j = 0; j < count; ++j) {
                    const int c = ratio * j / 2;
                    ASSERT_EQ(out[j], ModelArgb(y[ratio * j], u[c], v[c]))
                        << Name(kernel) << " ratio " << ratio << " pixel " << j << " of " << count;
                }
            }
        }
    }
}

TEST(YuvKernels, ContiguousLayoutOfOddSizes) {
    const int w = 5;
    const int h = 3;
    // luma 15 bytes, then U and V of 3 x 2 each.
    std::vector<uint8_t> source(15 + 6 + 6, 128);
    source[15 + 5] = 255;  // U of chroma row 1, column 2: the last pixel of row 2
    std::vector<uint8_t> out(w * h * 3);
    Yuv420ToBgr24(source.data(), w, h, w * 3, out.data());
    EXPECT_EQ(out[(2 * w + 4) * 3], yuv_model::Clamp(128 + yuv_model::Term(255, 111)));
    EXPECT_EQ(out[(1 * w + 4) * 3], 128);
}

}  // namespace
