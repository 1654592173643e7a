#include "common/picture/Deinterlacer.h"

#include <cstdlib>
#include <cstring>

namespace {

constexpr int kDefaultBlock = 20;
constexpr int kSampleThreshold = 30;  // a luma change above this counts
constexpr int kMovingCount = 90;      // a block with more changed samples is moving
// Reads reach up to 10 bytes beyond the last row pair of the frame copy.
constexpr size_t kGuardBytes = 64;
constexpr size_t kAlignment = 64;

struct BlockSize {
    int width, height, block_width, block_height;
};

constexpr BlockSize kBlockSizes[] = {
    {176, 144, 22, 24}, {320, 240, 40, 40},   {352, 288, 44, 48},
    {640, 480, 80, 80}, {720, 480, 120, 120}, {720, 576, 144, 144},
};

// Upper window centre a, lower window centre b (bytes from the pixel's luma), and the bytes
// of P and Q whose mean gives the chroma.
struct Candidate {
    int a, b, chroma_p, chroma_q;
};

constexpr Candidate kLevel2[] = {
    {-4, 0, -3, 1}, {-2, 2, -3, 1}, {0, 4, -3, 5}, {4, 0, 5, 1}, {2, -2, 1, -3}, {0, -4, 1, -3},
};

constexpr Candidate kLevel3[] = {
    {-8, 0, -7, 1}, {-6, 2, -7, 1}, {-4, 4, -3, 5}, {-2, 6, -3, 5}, {0, 8, 1, 9},
    {8, 0, 9, 1},   {6, -2, 5, -3}, {4, -4, 5, -3}, {2, -6, 1, -7}, {0, -8, 1, -7},
};

inline int Abs(int v) { return v < 0 ? -v : v; }

inline int Window(const uint8_t* row, int centre) {
    return row[centre - 2] + row[centre] + row[centre + 2];
}

inline uint8_t Mean2(int x, int y) { return static_cast<uint8_t>((x + y + 1) >> 1); }

// Picks the first candidate of the smallest window difference; false when that difference is
// not below limit.
template <size_t N>
bool WindowLevel(const Candidate (&candidates)[N], const uint8_t* p, const uint8_t* q, int limit,
                 uint8_t* out) {
    int best = 0;
    int best_difference = 1 << 30;
    for (size_t i = 0; i < N; ++i) {
        const int difference = Abs(Window(p, candidates[i].a) - Window(q, candidates[i].b));
        if (difference < best_difference) {
            best_difference = difference;
            best = static_cast<int>(i);
        }
    }
    if (best_difference >= limit) {
        return false;
    }
    const Candidate& c = candidates[best];
    out[0] = static_cast<uint8_t>((Window(p, c.a) + Window(q, c.b)) / 6);
    out[1] = Mean2(p[c.chroma_p], q[c.chroma_q]);
    return true;
}

// One pixel of an odd row between P (above) and Q (below); p, q and out point at its luma.
void InterpolatePixel(const uint8_t* p, const uint8_t* q, uint8_t* out) {
    const int d1 = Abs(p[-2] - q[2]);
    const int d2 = Abs(p[0] - q[0]);
    const int d3 = Abs(p[2] - q[-2]);
    if (d1 <= 9 && d2 <= 9 && d3 <= 9) {
        out[0] = static_cast<uint8_t>((p[-2] + p[0] + p[2] + q[-2] + q[0] + q[2]) / 6);
        out[1] = static_cast<uint8_t>((p[-3] + p[1] + p[5] + q[-3] + q[1] + q[5]) / 6);
        return;
    }
    const int smallest = d1 < d2 ? (d1 < d3 ? d1 : d3) : (d2 < d3 ? d2 : d3);
    if (smallest < 60) {
        if (smallest == d1) {
            out[0] = Mean2(p[-2], q[2]);
            out[1] = Mean2(p[-3], q[1]);
        } else if (smallest == d2) {
            out[0] = Mean2(p[0], q[0]);
            out[1] = Mean2(p[1], q[1]);
        } else {
            out[0] = Mean2(p[2], q[-2]);
            out[1] = Mean2(p[1], q[-3]);
        }
        return;
    }
    if (!WindowLevel(kLevel2, p, q, 180, out)) {
        WindowLevel(kLevel3, p, q, 1 << 30, out);
    }
}

}  // namespace

CDeinterlacer::CDeinterlacer() = default;

CDeinterlacer::~CDeinterlacer() { FreeBuffers(); }

void CDeinterlacer::FreeBuffers() {
    for (Buffer& buffer : buffers_) {
        std::free(buffer.raw);
        buffer = Buffer{};
    }
    buffer_bytes_ = 0;
}

void CDeinterlacer::SetFrameSize(int width, int height, int stride) {
    block_width_ = kDefaultBlock;
    block_height_ = kDefaultBlock;
    for (const BlockSize& size : kBlockSizes) {
        if (size.width == width && size.height == height) {
            block_width_ = size.block_width;
            block_height_ = size.block_height;
        }
    }
    FreeBuffers();
    if (width <= 0 || height <= 0 || stride < width) {
        return;
    }
    // Each buffer holds a whole frame: the interpolation reads the first field as it came in
    // while the frame itself is being overwritten.
    const size_t bytes = 2 * static_cast<size_t>(height) * static_cast<size_t>(stride);
    for (Buffer& buffer : buffers_) {
        buffer.raw = static_cast<uint8_t*>(std::calloc(bytes + kAlignment + kGuardBytes, 1));
        if (buffer.raw == nullptr) {
            FreeBuffers();
            return;
        }
        const size_t misalignment = reinterpret_cast<uintptr_t>(buffer.raw) % kAlignment;
        buffer.aligned = buffer.raw + (misalignment == 0 ? 0 : kAlignment - misalignment);
    }
    buffer_bytes_ = bytes;
}

bool CDeinterlacer::IsMoving(const uint8_t* fresh, const uint8_t* previous, int pitch, int x0,
                             int k0, int block_w, int rows) const {
    int changed = 0;
    for (int k = k0; k < k0 + rows; ++k) {
        const uint8_t* a = fresh + static_cast<size_t>(k) * pitch + 2 * x0;
        const uint8_t* b = previous + static_cast<size_t>(k) * pitch + 2 * x0;
        for (int x = 0; x < block_w; ++x) {
            if (Abs(a[2 * x] - b[2 * x]) > kSampleThreshold && ++changed > kMovingCount) {
                return true;
            }
        }
    }
    return false;
}

void CDeinterlacer::Weave(uint8_t* frame, const uint8_t* first, const uint8_t* second, int pitch,
                          int x0, int k0, int block_w, int rows) {
    for (int k = k0 + rows - 1; k >= k0; --k) {
        const size_t column = 2 * static_cast<size_t>(x0);
        std::memcpy(frame + static_cast<size_t>(2 * k + 1) * pitch + column,
                    second + static_cast<size_t>(k) * pitch + column, 2 * block_w);
        std::memcpy(frame + static_cast<size_t>(2 * k) * pitch + column,
                    first + static_cast<size_t>(k) * pitch + column, 2 * block_w);
    }
}

void CDeinterlacer::Interpolate(uint8_t* frame, const uint8_t* first, int pitch, int x0, int k0,
                                int block_w, int rows, bool skip_top_pair) {
    for (int k = k0 + rows - 1; k >= k0; --k) {
        // The top-left block's left neighbours in its top row pair would lie before the frame.
        if (skip_top_pair && k == k0) {
            continue;
        }
        const size_t column = 2 * static_cast<size_t>(x0);
        const uint8_t* p = first + static_cast<size_t>(k) * pitch + column;
        const uint8_t* q = p + pitch;
        uint8_t* out = frame + static_cast<size_t>(2 * k + 1) * pitch + column;
        for (int x = 0; x < block_w; ++x) {
            InterpolatePixel(p + 2 * x, q + 2 * x, out + 2 * x);
        }
        std::memcpy(frame + static_cast<size_t>(2 * k) * pitch + column, p, 2 * block_w);
    }
}

int CDeinterlacer::Process(uint8_t* frame, int width, int height, int enabled, int stride) {
    if (enabled == 0) {
        return 0;
    }
    const size_t frame_bytes = 2 * static_cast<size_t>(height) * static_cast<size_t>(stride);
    if (frame == nullptr || width <= 0 || height < 2 || stride < width ||
        buffers_[0].aligned == nullptr || frame_bytes > buffer_bytes_) {
        return -1;
    }
    const int block_w = block_width_ > 0 ? block_width_ : kDefaultBlock;
    const int block_h = block_height_ > 0 ? block_height_ : kDefaultBlock;
    blocks_across_ = width / block_w;
    blocks_down_ = height / block_h;
    const int pitch = 2 * stride;
    const size_t second_field = static_cast<size_t>(height) * stride;

    if (started_ == 0) {
        const uint8_t* copy = buffers_[current_].aligned;
        std::memcpy(buffers_[current_].aligned, frame, frame_bytes);
        Weave(frame, copy, copy + second_field, pitch, 0, 0, width, height / 2);
        started_ = 1;
        return 1;
    }

    const int other = 1 - current_;
    std::memcpy(buffers_[other].aligned, frame, frame_bytes);
    const uint8_t* fresh = buffers_[other].aligned;
    const uint8_t* previous = buffers_[current_].aligned;
    const int rows = block_h / 2;
    for (int by = blocks_down_ - 1; by >= 0; --by) {
        for (int bx = blocks_across_ - 1; bx >= 0; --bx) {
            const int x0 = bx * block_w;
            const int k0 = by * rows;
            if (IsMoving(fresh + second_field, previous + second_field, pitch, x0, k0, block_w,
                         rows)) {
                Interpolate(frame, fresh, pitch, x0, k0, block_w, rows, bx == 0 && by == 0);
            } else {
                Weave(frame, fresh, previous + second_field, pitch, x0, k0, block_w, rows);
            }
        }
    }
    current_ = other;
    return 1;
}
