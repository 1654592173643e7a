#include "platform/ddraw/Bt601Row.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

#include "platform/cpu/CpuFeatures.h"

namespace bt601 {

namespace {

// Written with conditional moves in mind: chroma noise makes branches mispredict.
inline std::uint32_t Clamp8(int value) {
    value = value < 0 ? 0 : value;
    return static_cast<std::uint32_t>(value > 255 ? 255 : value);
}

}  // namespace

void ArgbRowScalar(const std::uint8_t* y, const std::uint8_t* u, const std::uint8_t* v,
                   std::uint32_t* out, int from, int count) {
    for (int i = from; i < count; ++i) {
        const int c = 298 * (y[i] - 16) + 128;
        const int d = u[i] - 128;
        const int e = v[i] - 128;
        out[i] = 0xFF000000u | Clamp8((c + 409 * e) >> 8) << 16 |
                 Clamp8((c - 100 * d - 208 * e) >> 8) << 8 | Clamp8((c + 516 * d) >> 8);
    }
}

#if defined(__x86_64__) || defined(__i386__)

namespace {

#define SUITE_AVX2 __attribute__((target("avx2")))
// The helpers must land inside the row loops: called, their vectors go through memory.
#define SUITE_AVX2_INLINE __attribute__((target("avx2"), always_inline)) inline

// The sums in 16-bit lanes, exactly: 298 c = 256 c + 42 c, and the multiples of 256 leave the
// shift whole, so
//   R = c + e + ((42 c + 153 e + 128) >> 8)
//   G = c - e + ((42 c - 100 d + 48 e + 128) >> 8)
//   B = c + 2 d + ((42 c + 4 d + 128) >> 8)
// where no term leaves -20128..29597.
struct Sums {
    __m256i r, g, b;
};

SUITE_AVX2_INLINE Sums SumsOf(__m256i c, __m256i d, __m256i e) {
    const __m256i round = _mm256_set1_epi16(128);
    const __m256i luma = _mm256_add_epi16(_mm256_mullo_epi16(c, _mm256_set1_epi16(42)), round);
    const __m256i red = _mm256_add_epi16(luma, _mm256_mullo_epi16(e, _mm256_set1_epi16(153)));
    const __m256i green =
        _mm256_add_epi16(luma, _mm256_add_epi16(_mm256_mullo_epi16(d, _mm256_set1_epi16(-100)),
                                                _mm256_mullo_epi16(e, _mm256_set1_epi16(48))));
    const __m256i blue = _mm256_add_epi16(luma, _mm256_slli_epi16(d, 2));
    return {
        _mm256_add_epi16(_mm256_add_epi16(c, e), _mm256_srai_epi16(red, 8)),
        _mm256_add_epi16(_mm256_sub_epi16(c, e), _mm256_srai_epi16(green, 8)),
        _mm256_add_epi16(_mm256_add_epi16(c, _mm256_add_epi16(d, d)), _mm256_srai_epi16(blue, 8))};
}

// 32 pixels as 16-bit lanes in the order in-lane unpacks leave them: 0-7 | 16-23 and
// 8-15 | 24-31.
struct Lanes {
    __m256i lo, hi;
};

SUITE_AVX2_INLINE Lanes Unpacked(const std::uint8_t* bytes) {
    const __m256i zero = _mm256_setzero_si256();
    const __m256i all = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(bytes));
    return {_mm256_unpacklo_epi8(all, zero), _mm256_unpackhi_epi8(all, zero)};
}

// Four vectors of eight 32-bit values each (pixels 0-7, 8-15, 16-23, 24-31) into lanes: the
// in-lane packs give 0-3, 16-19 | 4-7, 20-23, and the quadword permute puts them in order.
SUITE_AVX2_INLINE Lanes Packed(__m256i a, __m256i b, __m256i c, __m256i d) {
    return {_mm256_permute4x64_epi64(_mm256_packs_epi32(a, c), 0xD8),
            _mm256_permute4x64_epi64(_mm256_packs_epi32(b, d), 0xD8)};
}

SUITE_AVX2_INLINE void StoreArgb(const Lanes& y, const Lanes& u, const Lanes& v,
                                 std::uint32_t* out) {
    const __m256i black = _mm256_set1_epi16(16);
    const __m256i neutral = _mm256_set1_epi16(128);
    const __m256i alpha = _mm256_set1_epi8(-1);
    const Sums lo = SumsOf(_mm256_sub_epi16(y.lo, black), _mm256_sub_epi16(u.lo, neutral),
                           _mm256_sub_epi16(v.lo, neutral));
    const Sums hi = SumsOf(_mm256_sub_epi16(y.hi, black), _mm256_sub_epi16(u.hi, neutral),
                           _mm256_sub_epi16(v.hi, neutral));
    // Saturating packs clamp to 0..255 and restore the pixel order.
    const __m256i b = _mm256_packus_epi16(lo.b, hi.b);
    const __m256i g = _mm256_packus_epi16(lo.g, hi.g);
    const __m256i r = _mm256_packus_epi16(lo.r, hi.r);
    const __m256i bg_lo = _mm256_unpacklo_epi8(b, g);  // pixels 0-7 | 16-23
    const __m256i bg_hi = _mm256_unpackhi_epi8(b, g);  // pixels 8-15 | 24-31
    const __m256i ra_lo = _mm256_unpacklo_epi8(r, alpha);
    const __m256i ra_hi = _mm256_unpackhi_epi8(r, alpha);
    const __m256i q0 = _mm256_unpacklo_epi16(bg_lo, ra_lo);  // 0-3 | 16-19
    const __m256i q1 = _mm256_unpackhi_epi16(bg_lo, ra_lo);  // 4-7 | 20-23
    const __m256i q2 = _mm256_unpacklo_epi16(bg_hi, ra_hi);  // 8-11 | 24-27
    const __m256i q3 = _mm256_unpackhi_epi16(bg_hi, ra_hi);  // 12-15 | 28-31
    __m256i* d = reinterpret_cast<__m256i*>(out);
    _mm256_storeu_si256(d, _mm256_permute2x128_si256(q0, q1, 0x20));
    _mm256_storeu_si256(d + 1, _mm256_permute2x128_si256(q2, q3, 0x20));
    _mm256_storeu_si256(d + 2, _mm256_permute2x128_si256(q0, q1, 0x31));
    _mm256_storeu_si256(d + 3, _mm256_permute2x128_si256(q2, q3, 0x31));
}

SUITE_AVX2 int ArgbRowAvx2(const std::uint8_t* y, const std::uint8_t* u, const std::uint8_t* v,
                           std::uint32_t* out, int count) {
    int i = 0;
    for (; i + 32 <= count; i += 32)
        StoreArgb(Unpacked(y + i), Unpacked(u + i), Unpacked(v + i), out + i);
    return i;
}

// The two pixels of each of 16 pairs: the lumas of the pair and its chroma byte twice.
template <int ChromaShift>
SUITE_AVX2_INLINE __m256i PairChroma(__m256i pairs) {
    const __m256i chroma =
        _mm256_and_si256(_mm256_srli_epi32(pairs, ChromaShift), _mm256_set1_epi32(0xFF));
    return _mm256_or_si256(chroma, _mm256_slli_epi32(chroma, 16));
}

// Pixels 0-15 and 16-31 in order, into the lanes' order.
SUITE_AVX2_INLINE Lanes InLaneOrder(__m256i first, __m256i second) {
    return {_mm256_permute2x128_si256(first, second, 0x20),
            _mm256_permute2x128_si256(first, second, 0x31)};
}

SUITE_AVX2 int ArgbPairRowAvx2(const std::uint8_t* yuy2, std::uint32_t* out, int count) {
    const __m256i low = _mm256_set1_epi16(0x00FF);
    int i = 0;
    for (; i + 32 <= count; i += 32) {
        const __m256i* words = reinterpret_cast<const __m256i*>(yuy2 + 2 * i);
        const __m256i first = _mm256_loadu_si256(words);  // pairs 0-7: pixels 0-15
        const __m256i second = _mm256_loadu_si256(words + 1);
        StoreArgb(InLaneOrder(_mm256_and_si256(first, low), _mm256_and_si256(second, low)),
                  InLaneOrder(PairChroma<8>(first), PairChroma<8>(second)),
                  InLaneOrder(PairChroma<24>(first), PairChroma<24>(second)), out + i);
    }
    return i;
}

// Eight pairs 32-bit words apart or, with Step 2, every second of 16: the even words of two
// loads, put in order by the quadword permute.
template <int Step>
SUITE_AVX2_INLINE __m256i Pairs(const __m256i* words) {
    if constexpr (Step == 1) {
        return _mm256_loadu_si256(words);
    } else {
        const __m256 a = _mm256_castsi256_ps(_mm256_loadu_si256(words));
        const __m256 b = _mm256_castsi256_ps(_mm256_loadu_si256(words + 1));
        return _mm256_permute4x64_epi64(_mm256_castps_si256(_mm256_shuffle_ps(a, b, 0x88)), 0xD8);
    }
}

// Byte Shift / 8 of each 32-bit word of four vectors, in lanes.
template <int Shift>
SUITE_AVX2_INLINE __m256i ByteOf(__m256i words) {
    return _mm256_and_si256(_mm256_srli_epi32(words, Shift), _mm256_set1_epi32(0xFF));
}

template <int Shift>
SUITE_AVX2_INLINE Lanes BytesOf(__m256i a, __m256i b, __m256i c, __m256i d) {
    return Packed(ByteOf<Shift>(a), ByteOf<Shift>(b), ByteOf<Shift>(c), ByteOf<Shift>(d));
}

// Pixel i from pair Step x i: its first luma and its chroma (Y0 in each word's low byte, U
// next, V in the high byte).
template <int Step>
SUITE_AVX2 int ArgbPairStepRowAvx2(const std::uint8_t* yuy2, std::uint32_t* out, int count) {
    int i = 0;
    for (; i + 32 <= count; i += 32) {
        const __m256i* words = reinterpret_cast<const __m256i*>(yuy2 + 4 * Step * i);
        const __m256i a = Pairs<Step>(words);
        const __m256i b = Pairs<Step>(words + Step);
        const __m256i c = Pairs<Step>(words + 2 * Step);
        const __m256i d = Pairs<Step>(words + 3 * Step);
        StoreArgb(BytesOf<0>(a, b, c, d), BytesOf<8>(a, b, c, d), BytesOf<24>(a, b, c, d), out + i);
    }
    return i;
}

}  // namespace

int ArgbRowWide(const std::uint8_t* y, const std::uint8_t* u, const std::uint8_t* v,
                std::uint32_t* out, int count) {
    return cpu::HasAvx2() ? ArgbRowAvx2(y, u, v, out, count) : 0;
}

int ArgbHalfRowWide(const std::uint8_t* yuy2, std::uint32_t* out, int count) {
    return cpu::HasAvx2() ? ArgbPairStepRowAvx2<1>(yuy2, out, count) : 0;
}

int ArgbQuarterRowWide(const std::uint8_t* yuy2, std::uint32_t* out, int count) {
    return cpu::HasAvx2() ? ArgbPairStepRowAvx2<2>(yuy2, out, count) : 0;
}

int ArgbPairRowWide(const std::uint8_t* yuy2, std::uint32_t* out, int count) {
    return cpu::HasAvx2() ? ArgbPairRowAvx2(yuy2, out, count) : 0;
}

#else

int ArgbRowWide(const std::uint8_t*, const std::uint8_t*, const std::uint8_t*, std::uint32_t*,
                int) {
    return 0;
}

int ArgbHalfRowWide(const std::uint8_t*, std::uint32_t*, int) { return 0; }
int ArgbQuarterRowWide(const std::uint8_t*, std::uint32_t*, int) { return 0; }
int ArgbPairRowWide(const std::uint8_t*, std::uint32_t*, int) { return 0; }

#endif

}  // namespace bt601
