#include "common/picture/YuvKernels.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>

#include <array>

namespace yuv {

namespace {

#define SUITE_AVX2 __attribute__((target("avx2")))

// A chroma value t = c - 128 in 16-bit lanes, as twice its magnitude and itself for its sign.
struct Signed {
    __m256i twice_magnitude;
    __m256i value;
};

SUITE_AVX2 inline Signed SignedOf(__m256i t) {
    const __m256i magnitude = _mm256_abs_epi16(t);
    return {_mm256_add_epi16(magnitude, magnitude), t};
}

// trunc(t * k / 64) in 16-bit lanes: the magnitude's share by a high multiply, (2 |t| x 512 k)
// >> 16 = |t| k >> 6 (2 |t| <= 256, 512 k <= 56832), then t's sign, so the division truncates
// toward zero.
SUITE_AVX2 inline __m256i ChromaTerm(const Signed& t, int k) {
    const __m256i share =
        _mm256_mulhi_epu16(t.twice_magnitude, _mm256_set1_epi16(static_cast<short>(k * 512)));
    return _mm256_sign_epi16(share, t.value);
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

struct Colours {
    __m256i b, g, r;  // 32 pixels each, in order
};

// 32 bytes in 16-bit lanes, as in-lane unpacks leave them: pixels 0-7 | 16-23 and 8-15 | 24-31.
struct Lanes {
    __m256i lo, hi;
};

SUITE_AVX2 inline Lanes LanesOf(const uint8_t* bytes) {
    const __m256i zero = _mm256_setzero_si256();
    const __m256i all = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(bytes));
    return {_mm256_unpacklo_epi8(all, zero), _mm256_unpackhi_epi8(all, zero)};
}

// Pixels 0-15 and 16-31 in order, into the lanes' order.
SUITE_AVX2 inline Lanes InLaneOrder(__m256i first, __m256i second) {
    return {_mm256_permute2x128_si256(first, second, 0x20),
            _mm256_permute2x128_si256(first, second, 0x31)};
}

// Every second byte of 64, from the first on.
SUITE_AVX2 inline Lanes HalfLanesOf(const uint8_t* bytes) {
    const __m256i low = _mm256_set1_epi16(0x00FF);
    const __m256i* words = reinterpret_cast<const __m256i*>(bytes);
    return InLaneOrder(_mm256_and_si256(_mm256_loadu_si256(words), low),
                       _mm256_and_si256(_mm256_loadu_si256(words + 1), low));
}

// Every fourth byte of 128, from the first on.
SUITE_AVX2 inline Lanes QuarterLanesOf(const uint8_t* bytes) {
    const __m256i low = _mm256_set1_epi32(0xFF);
    const __m256i* words = reinterpret_cast<const __m256i*>(bytes);
    const __m256i a = _mm256_and_si256(_mm256_loadu_si256(words), low);      // 0-7
    const __m256i b = _mm256_and_si256(_mm256_loadu_si256(words + 1), low);  // 8-15
    const __m256i c = _mm256_and_si256(_mm256_loadu_si256(words + 2), low);  // 16-23
    const __m256i d = _mm256_and_si256(_mm256_loadu_si256(words + 3), low);  // 24-31
    // In-lane packs give 0-3, 16-19 | 4-7, 20-23; the quadword permute puts them in order.
    return {_mm256_permute4x64_epi64(_mm256_packs_epi32(a, c), 0xD8),
            _mm256_permute4x64_epi64(_mm256_packs_epi32(b, d), 0xD8)};
}

SUITE_AVX2 inline Colours ColoursOf(const Lanes& luma, const ChromaTerms& c) {
    const __m256i lo = luma.lo;
    const __m256i hi = luma.hi;
    // Saturating packs clamp to 0..255 and restore the pixel order.
    return {_mm256_packus_epi16(_mm256_add_epi16(lo, c.blue_lo), _mm256_add_epi16(hi, c.blue_hi)),
            _mm256_packus_epi16(_mm256_sub_epi16(lo, c.green_lo), _mm256_sub_epi16(hi, c.green_hi)),
            _mm256_packus_epi16(_mm256_add_epi16(lo, c.red_lo), _mm256_add_epi16(hi, c.red_hi))};
}

SUITE_AVX2 inline void Bgr32(const uint8_t* y, const ChromaTerms& c, uint8_t* d) {
    const Colours p = ColoursOf(LanesOf(y), c);
    StoreBgr16(d, _mm256_castsi256_si128(p.b), _mm256_castsi256_si128(p.g),
               _mm256_castsi256_si128(p.r));
    StoreBgr16(d + 48, _mm256_extracti128_si256(p.b, 1), _mm256_extracti128_si256(p.g, 1),
               _mm256_extracti128_si256(p.r, 1));
}

SUITE_AVX2 inline void Argb32(const Lanes& luma, const ChromaTerms& c, uint32_t* d) {
    const Colours p = ColoursOf(luma, c);
    const __m256i alpha = _mm256_set1_epi8(-1);
    const __m256i bg_lo = _mm256_unpacklo_epi8(p.b, p.g);  // pixels 0-7 | 16-23
    const __m256i bg_hi = _mm256_unpackhi_epi8(p.b, p.g);  // pixels 8-15 | 24-31
    const __m256i ra_lo = _mm256_unpacklo_epi8(p.r, alpha);
    const __m256i ra_hi = _mm256_unpackhi_epi8(p.r, alpha);
    const __m256i q0 = _mm256_unpacklo_epi16(bg_lo, ra_lo);  // 0-3 | 16-19
    const __m256i q1 = _mm256_unpackhi_epi16(bg_lo, ra_lo);  // 4-7 | 20-23
    const __m256i q2 = _mm256_unpacklo_epi16(bg_hi, ra_hi);  // 8-11 | 24-27
    const __m256i q3 = _mm256_unpackhi_epi16(bg_hi, ra_hi);  // 12-15 | 28-31
    __m256i* out = reinterpret_cast<__m256i*>(d);
    _mm256_storeu_si256(out, _mm256_permute2x128_si256(q0, q1, 0x20));
    _mm256_storeu_si256(out + 1, _mm256_permute2x128_si256(q2, q3, 0x20));
    _mm256_storeu_si256(out + 2, _mm256_permute2x128_si256(q0, q1, 0x31));
    _mm256_storeu_si256(out + 3, _mm256_permute2x128_si256(q2, q3, 0x31));
}

// Chroma of 32 pixels that share a sample per pair.
SUITE_AVX2 inline ChromaTerms PairTerms(const uint8_t* u, const uint8_t* v) {
    const __m256i bias = _mm256_set1_epi16(128);
    const Signed tu = SignedOf(_mm256_sub_epi16(
        _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(u))), bias));
    const Signed tv = SignedOf(_mm256_sub_epi16(
        _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(v))), bias));
    const __m256i red = ChromaTerm(tv, 88);
    const __m256i green = _mm256_add_epi16(ChromaTerm(tu, 22), ChromaTerm(tv, 45));
    const __m256i blue = ChromaTerm(tu, 111);
    return {_mm256_unpacklo_epi16(red, red),     _mm256_unpackhi_epi16(red, red),
            _mm256_unpacklo_epi16(green, green), _mm256_unpackhi_epi16(green, green),
            _mm256_unpacklo_epi16(blue, blue),   _mm256_unpackhi_epi16(blue, blue)};
}

// Chroma of 32 pixels with a sample each, in the luma's lanes.
SUITE_AVX2 inline ChromaTerms PixelTerms(const Lanes& u, const Lanes& v) {
    const __m256i bias = _mm256_set1_epi16(128);
    const Signed tu_lo = SignedOf(_mm256_sub_epi16(u.lo, bias));
    const Signed tu_hi = SignedOf(_mm256_sub_epi16(u.hi, bias));
    const Signed tv_lo = SignedOf(_mm256_sub_epi16(v.lo, bias));
    const Signed tv_hi = SignedOf(_mm256_sub_epi16(v.hi, bias));
    return {ChromaTerm(tv_lo, 88),
            ChromaTerm(tv_hi, 88),
            _mm256_add_epi16(ChromaTerm(tu_lo, 22), ChromaTerm(tv_lo, 45)),
            _mm256_add_epi16(ChromaTerm(tu_hi, 22), ChromaTerm(tv_hi, 45)),
            ChromaTerm(tu_lo, 111),
            ChromaTerm(tu_hi, 111)};
}

}  // namespace

SUITE_AVX2 int Bgr24RowsAvx2(const uint8_t* y0, const uint8_t* y1, const uint8_t* u,
                             const uint8_t* v, uint8_t* d0, uint8_t* d1, int width) {
    int j = 0;
    for (; j + 32 <= width; j += 32) {
        const ChromaTerms terms = PairTerms(u + j / 2, v + j / 2);
        Bgr32(y0 + j, terms, d0 + 3 * j);
        if (y1 != nullptr) {
            Bgr32(y1 + j, terms, d1 + 3 * j);
        }
    }
    return j;
}

SUITE_AVX2 int Bgr24Row444Avx2(const uint8_t* y, const uint8_t* u, const uint8_t* v, uint8_t* d,
                               int width) {
    int j = 0;
    for (; j + 32 <= width; j += 32)
        Bgr32(y + j, PixelTerms(LanesOf(u + j), LanesOf(v + j)), d + 3 * j);
    return j;
}

SUITE_AVX2 int Argb420RowAvx2(const uint8_t* y, const uint8_t* u, const uint8_t* v, uint32_t* d,
                              int width) {
    int j = 0;
    for (; j + 32 <= width; j += 32)
        Argb32(LanesOf(y + j), PairTerms(u + j / 2, v + j / 2), d + j);
    return j;
}

SUITE_AVX2 int Argb444RowAvx2(const uint8_t* y, const uint8_t* u, const uint8_t* v, uint32_t* d,
                              int width) {
    int j = 0;
    for (; j + 32 <= width; j += 32)
        Argb32(LanesOf(y + j), PixelTerms(LanesOf(u + j), LanesOf(v + j)), d + j);
    return j;
}

SUITE_AVX2 int ArgbHalfRowAvx2(const uint8_t* y, const uint8_t* u, const uint8_t* v, uint32_t* d,
                               int width) {
    int j = 0;
    for (; j + 32 <= width; j += 32)
        Argb32(HalfLanesOf(y + 2 * j), PixelTerms(LanesOf(u + j), LanesOf(v + j)), d + j);
    return j;
}

SUITE_AVX2 int ArgbQuarterRowAvx2(const uint8_t* y, const uint8_t* u, const uint8_t* v, uint32_t* d,
                                  int width) {
    int j = 0;
    for (; j + 32 <= width; j += 32) {
        Argb32(QuarterLanesOf(y + 4 * j),
               PixelTerms(HalfLanesOf(u + 2 * j), HalfLanesOf(v + 2 * j)), d + j);
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

int Bgr24RowsAvx2(const uint8_t*, const uint8_t*, const uint8_t*, const uint8_t*, uint8_t*,
                  uint8_t*, int) {
    return 0;
}
int Bgr24Row444Avx2(const uint8_t*, const uint8_t*, const uint8_t*, uint8_t*, int) { return 0; }
int Argb420RowAvx2(const uint8_t*, const uint8_t*, const uint8_t*, uint32_t*, int) { return 0; }
int Argb444RowAvx2(const uint8_t*, const uint8_t*, const uint8_t*, uint32_t*, int) { return 0; }
int ArgbHalfRowAvx2(const uint8_t*, const uint8_t*, const uint8_t*, uint32_t*, int) { return 0; }
int ArgbQuarterRowAvx2(const uint8_t*, const uint8_t*, const uint8_t*, uint32_t*, int) { return 0; }
int Yuy2RowAvx2(const uint8_t*, const uint8_t*, const uint8_t*, uint8_t*, int) { return 0; }

}  // namespace yuv

#endif
