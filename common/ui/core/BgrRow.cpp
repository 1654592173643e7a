#include "common/ui/core/BgrRow.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

#include "platform/cpu/CpuFeatures.h"

namespace {

inline std::uint32_t Argb(const unsigned char* p) {
    return 0xFF000000u | (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[1]} << 8) | p[0];
}

#if defined(__x86_64__) || defined(__i386__)
// Four pixels per step: 12 bytes spread into four 32-bit lanes with the alpha byte set. Each
// load takes 16 bytes, so the last two pixels are left to the plain loop.
__attribute__((target("ssse3"))) int WideRow(const unsigned char* bgr, std::uint32_t* out,
                                             int count) {
    const __m128i spread = _mm_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
    const __m128i alpha = _mm_set1_epi32(static_cast<int>(0xFF000000u));
    int i = 0;
    for (; i + 6 <= count; i += 4) {
        const __m128i pixels = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bgr + 3 * i));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i),
                         _mm_or_si128(_mm_shuffle_epi8(pixels, spread), alpha));
    }
    return i;
}

#endif

}  // namespace

void BgrRowToArgb(const unsigned char* bgr, std::uint32_t* out, int count) {
    int i = 0;
#if defined(__x86_64__) || defined(__i386__)
    if (cpu::HasSsse3()) i = WideRow(bgr, out, count);
#endif
    for (; i < count; ++i)
        out[i] = Argb(bgr + 3 * i);
}
