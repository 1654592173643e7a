#include "platform/surface/RowGather.h"

#include <algorithm>
#include <cstring>
#include <utility>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

#include "platform/cpu/CpuFeatures.h"

namespace {

constexpr int kBlock = 16;
constexpr int kFarBlock = 64;
constexpr int kFarWindow = 128;

// The step between all the columns: 1, 2 or 4, else 0.
int StepOf(const std::vector<int>& columns) {
    if (columns.size() < 2) return 0;
    const int step = columns[1] - columns[0];
    if (step != 1 && step != 2 && step != 4) return 0;
    for (std::size_t i = 2; i < columns.size(); ++i) {
        if (columns[i] - columns[i - 1] != step) return 0;
    }
    return step;
}

}  // namespace

void RowGather::Build(std::vector<int> columns, int row_bytes) {
    columns_ = std::move(columns);
    windows_.clear();
    block_ends_.clear();
    far_windows_.clear();
    far_block_ends_.clear();
    step_ = StepOf(columns_);
    step_count_ = 0;
    step_last_ = false;
    if (step_ > 1) {
        // Blocks of 16 outputs read 16 x step bytes from the block's first column on.
        const int blocks = Count() / kBlock;
        const int first = columns_.empty() ? 0 : columns_[0];
        int whole = 0;
        while (whole < blocks && first + (whole + 1) * kBlock * step_ <= row_bytes)
            ++whole;
        step_count_ = whole * kBlock;
        // The outputs left over come from one more block ending at the last, when it fits.
        step_last_ = whole == blocks && Count() > step_count_ && Count() >= kBlock &&
                     first + Count() * step_ <= row_bytes;
    }
    if (step_ != 0) return;
    if (cpu::HasByteLanePermutes() && row_bytes >= kFarWindow) {
        BuildFar(row_bytes);
        return;
    }
    if (!cpu::HasSsse3() || row_bytes < kBlock) return;
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
    // Picks far apart share few windows: a window per pick or two costs more than picking
    // byte by byte.
    if (windows_.size() * 3 > columns_.size()) {
        windows_.clear();
        block_ends_.clear();
    }
}

void RowGather::BuildFar(int row_bytes) {
    const int blocks = (Count() + kFarBlock - 1) / kFarBlock;
    for (int b = 0; b < blocks; ++b) {
        int i = b * kFarBlock;
        const int end = std::min(i + kFarBlock, Count());
        while (i < end) {
            // As many outputs as fit one window, which stays inside the row.
            const int offset = std::min(columns_[i], row_bytes - kFarWindow);
            FarWindow window{offset, 0, {}};
            for (; i < end && columns_[i] - offset < kFarWindow; ++i) {
                window.pick[i - b * kFarBlock] = static_cast<uint8_t>(columns_[i] - offset);
                window.lanes |= uint64_t{1} << (i - b * kFarBlock);
            }
            far_windows_.push_back(window);
        }
        far_block_ends_.push_back(static_cast<int>(far_windows_.size()));
    }
}

#if defined(__SSE2__)
namespace {

// 16 bytes 2 or 4 apart from in on.
inline __m128i PackStep(const uint8_t* in, int step) {
    const __m128i* words = reinterpret_cast<const __m128i*>(in);
    if (step == 2) {
        const __m128i low = _mm_set1_epi16(0x00FF);
        return _mm_packus_epi16(_mm_and_si128(_mm_loadu_si128(words), low),
                                _mm_and_si128(_mm_loadu_si128(words + 1), low));
    }
    const __m128i low = _mm_set1_epi32(0xFF);
    const __m128i a = _mm_and_si128(_mm_loadu_si128(words), low);
    const __m128i b = _mm_and_si128(_mm_loadu_si128(words + 1), low);
    const __m128i c = _mm_and_si128(_mm_loadu_si128(words + 2), low);
    const __m128i d = _mm_and_si128(_mm_loadu_si128(words + 3), low);
    return _mm_packus_epi16(_mm_packs_epi32(a, b), _mm_packs_epi32(c, d));
}

}  // namespace

int RowGather::GatherStep(const uint8_t* row, uint8_t* out) const {
    const uint8_t* in = row + (columns_.empty() ? 0 : columns_[0]);
    for (int i = 0; i < step_count_; i += kBlock) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), PackStep(in + i * step_, step_));
    }
    if (!step_last_) return step_count_;
    const int last = Count() - kBlock;
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + last), PackStep(in + last * step_, step_));
    return Count();
}
#else
int RowGather::GatherStep(const uint8_t*, uint8_t*) const { return 0; }
#endif

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

__attribute__((target("avx512f,avx512bw,avx512vbmi"))) int RowGather::GatherFar(
    const uint8_t* row, uint8_t* out) const {
    const FarWindow* window = far_windows_.data();
    const int blocks = static_cast<int>(far_block_ends_.size());
    for (int b = 0; b < blocks; ++b) {
        __m512i picked = _mm512_setzero_si512();
        for (const FarWindow* end = far_windows_.data() + far_block_ends_[b]; window < end;
             ++window) {
            const uint8_t* bytes = row + window->offset;
            const __m512i low = _mm512_loadu_si512(bytes);
            const __m512i high = _mm512_loadu_si512(bytes + 64);
            const __m512i pick = _mm512_loadu_si512(window->pick);
            picked = _mm512_mask_mov_epi8(picked, window->lanes,
                                          _mm512_permutex2var_epi8(low, pick, high));
        }
        // Only the block's own outputs are stored: the caller's room is padded to 16.
        const int count = std::min(kFarBlock, Count() - b * kFarBlock);
        const uint64_t lanes = count == kFarBlock ? ~uint64_t{0} : (uint64_t{1} << count) - 1;
        _mm512_mask_storeu_epi8(out + b * kFarBlock, lanes, picked);
    }
    return Count();
}
#else
int RowGather::GatherWide(const uint8_t*, uint8_t*) const { return 0; }
int RowGather::GatherFar(const uint8_t*, uint8_t*) const { return 0; }
#endif

void RowGather::Gather(const uint8_t* row, uint8_t* out) const {
    if (step_ == 1) {
        std::memcpy(out, row + columns_[0], columns_.size());
        return;
    }
    int i = 0;
    if (step_ > 1) {
        i = GatherStep(row, out);
    } else if (!far_block_ends_.empty()) {
        i = GatherFar(row, out);
    } else if (!block_ends_.empty()) {
        i = GatherWide(row, out);
    }
    for (; i < Count(); ++i)
        out[i] = row[columns_[i]];
}
