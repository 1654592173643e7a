#include "common/picture/YuvKernels.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace yuv {

int Yuy2RowSse2(const uint8_t* y, const uint8_t* u, const uint8_t* v, uint8_t* d, int width) {
    int j = 0;
#if defined(__SSE2__)
    for (; j + 16 <= width; j += 16) {
        const __m128i cu = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(u + j / 2));
        const __m128i cv = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(v + j / 2));
        const __m128i uv = _mm_unpacklo_epi8(cu, cv);
        const __m128i luma = _mm_loadu_si128(reinterpret_cast<const __m128i*>(y + j));
        __m128i* out = reinterpret_cast<__m128i*>(d + 2 * j);
        _mm_storeu_si128(out, _mm_unpacklo_epi8(luma, uv));
        _mm_storeu_si128(out + 1, _mm_unpackhi_epi8(luma, uv));
    }
#else
    (void)y, (void)u, (void)v, (void)d, (void)width;
#endif
    return j;
}

}  // namespace yuv
