#include "RowGather.h"

#include <algorithm>
#include <utility>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

namespace {

constexpr int kBlock = 16;

#if defined(__x86_64__) || defined(__i386__)
bool HasSsse3() {
    static const bool kHas = __builtin_cpu_supports("ssse3");
    return kHas;
}
#else
bool HasSsse3() { return false; }
#endif

}  // namespace

void RowGather::Build(std::vector<int> columns, int row_bytes) {
    columns_ = std::move(columns);
    windows_.clear();
    block_ends_.clear();
    if (!HasSsse3() || row_bytes < kBlock) return;
    const int blocks = PaddedCount() / kBlock;
    for (int b = 0; b < blocks; ++b) {
        int i = b * kBlock;
        const int end = std::min(i + kBlock, Count());
        while (i < end) {
            // As many outputs as fit one window; it starts no later than row_bytes - 16 so that
            // its load stays inside the row.
            const int offset = std::min(columns_[i], row_bytes - kBlock);
            Window window{offset, {}};
            std::fill(std::begin(window.mask), std::end(window.mask), uint8_t{0x80});
            for (; i < end && columns_[i] - offset < kBlock; ++i) {
                window.mask[i - b * kBlock] = static_cast<uint8_t>(columns_[i] - offset);
            }
            windows_.push_back(window);
        }
        block_ends_.push_back(static_cast<int>(windows_.size()));
    }
}

#if defined(__x86_64__) || defined(__i386__)
__attribute__((target("ssse3"))) int RowGather::GatherWide(const uint8_t* row, uint8_t* out) const {
    const Window* window = windows_.data();
    const int blocks = static_cast<int>(block_ends_.size());
    for (int b = 0; b < blocks; ++b) {
        __m128i picked = _mm_setzero_si128();
        for (const Window* end = windows_.data() + block_ends_[b]; window < end; ++window) {
            const __m128i bytes =
                _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + window->offset));
            const __m128i mask = _mm_loadu_si128(reinterpret_cast<const __m128i*>(window->mask));
            picked = _mm_or_si128(picked, _mm_shuffle_epi8(bytes, mask));
        }
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + b * kBlock), picked);
    }
    return blocks * kBlock;
}
#else
int RowGather::GatherWide(const uint8_t*, uint8_t*) const { return 0; }
#endif

void RowGather::Gather(const uint8_t* row, uint8_t* out) const {
    for (int i = block_ends_.empty() ? 0 : GatherWide(row, out); i < Count(); ++i)
        out[i] = row[columns_[i]];
}
