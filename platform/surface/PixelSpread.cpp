#include "platform/surface/PixelSpread.h"

#include <algorithm>
#include <utility>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

#include "platform/cpu/CpuFeatures.h"

void PixelSpread::Build(std::vector<int> columns, int row_pixels) {
    columns_ = std::move(columns);
    windows_.clear();
    if (!cpu::HasAvx2() || row_pixels < kBlock) return;
    for (int b = 0; b + kBlock <= Count(); b += kBlock) {
        // Starts no later than row_pixels - 8 so that its load stays inside the row.
        const int offset = std::min(columns_[b], row_pixels - kBlock);
        Window window{offset, {}};
        for (int i = 0; i < kBlock; ++i) {
            const int index = columns_[b + i] - offset;
            if (index < 0 || index >= kBlock) {
                window.offset = -1;
                break;
            }
            window.index[i] = index;
        }
        windows_.push_back(window);
    }
}

#if defined(__x86_64__) || defined(__i386__)
__attribute__((target("avx2"))) int PixelSpread::SpreadWide(const std::uint32_t* row,
                                                            std::uint32_t* out) const {
    int i = 0;
    for (const Window& window : windows_) {
        if (window.offset >= 0) {
            const __m256i pixels =
                _mm256_loadu_si256(reinterpret_cast<const __m256i*>(row + window.offset));
            const __m256i index =
                _mm256_loadu_si256(reinterpret_cast<const __m256i*>(window.index));
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i),
                                _mm256_permutevar8x32_epi32(pixels, index));
        } else {
            for (int k = i; k < i + kBlock; ++k)
                out[k] = row[columns_[k]];
        }
        i += kBlock;
    }
    return i;
}
#else
int PixelSpread::SpreadWide(const std::uint32_t*, std::uint32_t*) const { return 0; }
#endif

void PixelSpread::Spread(const std::uint32_t* row, std::uint32_t* out) const {
    for (int i = windows_.empty() ? 0 : SpreadWide(row, out); i < Count(); ++i)
        out[i] = row[columns_[i]];
}
