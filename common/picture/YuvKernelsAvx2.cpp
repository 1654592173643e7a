#include "YuvKernels.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>

#include <array>

namespace yuv {

namespace {

#define SUITE_AVX2 __attribute__((target("avx2")))

// trunc(t * k / 64) in 16-bit lanes; t * k stays within +-14208. Negative products get 63
// added before the arithmetic shift so that the division truncates toward zero.
SUITE_AVX2 inline __m256i ChromaTerm(__m256i t, short k) {
    const __m256i product = _mm256_mullo_epi16(t, _mm256_set1_epi16(k));
    const __m256i bias = _mm256_and_si256(_mm256_srai_epi16(product, 15), _mm256_set1_epi16(63));
    return _mm256_srai_epi16(_mm256_add_epi16(product, bias), 6);
}

// Byte shuffles that spread 16 B, G and R bytes over three 16-byte chunks of B G R triples.
struct BgrMasks {
    alignas(16) std::array<std::array<std::array<uint8_t, 16>, 3>, 3> mask;  // [chunk][colour]
};

constexpr BgrMasks MakeBgrMasks() {
    BgrMasks masks{};
    for (int chunk = 0; chunk < 3; ++chunk) {
        for (int colour = 0; colour < 3; ++colour) {
            for (int i = 0; i < 16; ++i) {
                const int position = 16 * chunk + i;
                masks.mask[chunk][colour][i] =
                    position % 3 == colour ? static_cast<uint8_t>(position / 3) : 0x80;
            }
        }
    }
    return masks;
}

constexpr BgrMasks kBgrMasks = MakeBgrMasks();

SUITE_AVX2 inline __m128i Mask(int chunk, int colour) {
    return _mm_load_si128(reinterpret_cast<const __m128i*>(kBgrMasks.mask[chunk][colour].data()));
}

SUITE_AVX2 inline void StoreBgr16(uint8_t* d, __m128i b, __m128i g, __m128i r) {
    for (int chunk = 0; chunk < 3; ++chunk) {
        const __m128i out = _mm_or_si128(
            _mm_or_si128(_mm_shuffle_epi8(b, Mask(chunk, 0)), _mm_shuffle_epi8(g, Mask(chunk, 1))),
            _mm_shuffle_epi8(r, Mask(chunk, 2)));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + 16 * chunk), out);
    }
}

struct ChromaTerms {
    __m256i red_lo, red_hi, green_lo, green_hi, blue_lo, blue_hi;
};

SUITE_AVX2 inline void Bgr32(const uint8_t* y, const ChromaTerms& c, uint8_t* d) {
    const __m256i zero = _mm256_setzero_si256();
    const __m256i luma = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(y));
    // In-lane unpacks: pixels 0-7 | 16-23 and 8-15 | 24-31, matching the chroma unpacks.
    const __m256i lo = _mm256_unpacklo_epi8(luma, zero);
    const __m256i hi = _mm256_unpackhi_epi8(luma, zero);
    // Saturating packs clamp to 0..255 and restore the pixel order.
    const __m256i r =
        _mm256_packus_epi16(_mm256_add_epi16(lo, c.red_lo), _mm256_add_epi16(hi, c.red_hi));
    const __m256i g =
        _mm256_packus_epi16(_mm256_sub_epi16(lo, c.green_lo), _mm256_sub_epi16(hi, c.green_hi));
    const __m256i b =
        _mm256_packus_epi16(_mm256_add_epi16(lo, c.blue_lo), _mm256_add_epi16(hi, c.blue_hi));
    StoreBgr16(d, _mm256_castsi256_si128(b), _mm256_castsi256_si128(g), _mm256_castsi256_si128(r));
    StoreBgr16(d + 48, _mm256_extracti128_si256(b, 1), _mm256_extracti128_si256(g, 1),
               _mm256_extracti128_si256(r, 1));
}

}  // namespace

bool CpuHasAvx2() { return __builtin_cpu_supports("avx2"); }

SUITE_AVX2 int Bgr24RowsAvx2(const uint8_t* y0, const uint8_t* y1, const uint8_t* u,
                             const uint8_t* v, uint8_t* d0, uint8_t* d1, int width) {
    const __m256i bias = _mm256_set1_epi16(128);
    int j = 0;
    for (; j + 32 <= width; j += 32) {
        const __m128i* u16 = reinterpret_cast<const __m128i*>(u + j / 2);
        const __m128i* v16 = reinterpret_cast<const __m128i*>(v + j / 2);
        const __m256i tu = _mm256_sub_epi16(_mm256_cvtepu8_epi16(_mm_loadu_si128(u16)), bias);
        const __m256i tv = _mm256_sub_epi16(_mm256_cvtepu8_epi16(_mm_loadu_si128(v16)), bias);
        const __m256i red = ChromaTerm(tv, 88);
        const __m256i green = _mm256_add_epi16(ChromaTerm(tu, 22), ChromaTerm(tv, 45));
        const __m256i blue = ChromaTerm(tu, 111);
        const ChromaTerms terms{
            _mm256_unpacklo_epi16(red, red),     _mm256_unpackhi_epi16(red, red),
            _mm256_unpacklo_epi16(green, green), _mm256_unpackhi_epi16(green, green),
            _mm256_unpacklo_epi16(blue, blue),   _mm256_unpackhi_epi16(blue, blue)};
        Bgr32(y0 + j, terms, d0 + 3 * j);
        if (y1 != nullptr) {
            Bgr32(y1 + j, terms, d1 + 3 * j);
        }
    }
    return j;
}

SUITE_AVX2 int Bgr24Row444Avx2(const uint8_t* y, const uint8_t* u, const uint8_t* v, uint8_t* d,
                               int width) {
    const __m256i zero = _mm256_setzero_si256();
    const __m256i bias = _mm256_set1_epi16(128);
    int j = 0;
    for (; j + 32 <= width; j += 32) {
        // Same in-lane unpacks as the luma in Bgr32, so every pixel meets its own chroma.
        const __m256i cu = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(u + j));
        const __m256i cv = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(v + j));
        const __m256i tu_lo = _mm256_sub_epi16(_mm256_unpacklo_epi8(cu, zero), bias);
        const __m256i tu_hi = _mm256_sub_epi16(_mm256_unpackhi_epi8(cu, zero), bias);
        const __m256i tv_lo = _mm256_sub_epi16(_mm256_unpacklo_epi8(cv, zero), bias);
        const __m256i tv_hi = _mm256_sub_epi16(_mm256_unpackhi_epi8(cv, zero), bias);
        const ChromaTerms terms{ChromaTerm(tv_lo, 88),
                                ChromaTerm(tv_hi, 88),
                                _mm256_add_epi16(ChromaTerm(tu_lo, 22), ChromaTerm(tv_lo, 45)),
                                _mm256_add_epi16(ChromaTerm(tu_hi, 22), ChromaTerm(tv_hi, 45)),
                                ChromaTerm(tu_lo, 111),
                                ChromaTerm(tu_hi, 111)};
        Bgr32(y + j, terms, d + 3 * j);
    }
    return j;
}

SUITE_AVX2 int Yuy2RowAvx2(const uint8_t* y, const uint8_t* u, const uint8_t* v, uint8_t* d,
                           int width) {
    int j = 0;
    for (; j + 32 <= width; j += 32) {
        const __m128i cu = _mm_loadu_si128(reinterpret_cast<const __m128i*>(u + j / 2));
        const __m128i cv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(v + j / 2));
        const __m256i uv = _mm256_set_m128i(_mm_unpackhi_epi8(cu, cv), _mm_unpacklo_epi8(cu, cv));
        const __m256i luma = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(y + j));
        const __m256i lo = _mm256_unpacklo_epi8(luma, uv);  // pixels 0-7 | 16-23
        const __m256i hi = _mm256_unpackhi_epi8(luma, uv);  // pixels 8-15 | 24-31
        __m256i* out = reinterpret_cast<__m256i*>(d + 2 * j);
        _mm256_storeu_si256(out, _mm256_permute2x128_si256(lo, hi, 0x20));
        _mm256_storeu_si256(out + 1, _mm256_permute2x128_si256(lo, hi, 0x31));
    }
    return j;
}

}  // namespace yuv

#else

namespace yuv {

bool CpuHasAvx2() { return false; }
int Bgr24RowsAvx2(const uint8_t*, const uint8_t*, const uint8_t*, const uint8_t*, uint8_t*,
                  uint8_t*, int) {
    return 0;
}
int Bgr24Row444Avx2(const uint8_t*, const uint8_t*, const uint8_t*, uint8_t*, int) { return 0; }
int Yuy2RowAvx2(const uint8_t*, const uint8_t*, const uint8_t*, uint8_t*, int) { return 0; }

}  // namespace yuv

#endif
