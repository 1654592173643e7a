#include "common/picture/PlanarRows.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <vector>

#include "common/picture/YuvKernels.h"
#include "platform/surface/PixelSpread.h"
#include "platform/surface/RowGather.h"

namespace {

constexpr int kWideStep = 32;  // pixels per step of the AVX2 row kernels

int Padded(int count) { return (count + kWideStep - 1) / kWideStep * kWideStep; }

}  // namespace

// What drawing a picture width pixels wide into dest_width needs, built once per size pair.
struct PlanarRowPlan {
    int width = -1;
    int dest_width = -1;
    bool wide = false;  // the AVX2 kernels
    int ratio = 0;      // 2 or 4 when drawn at a half or a quarter of the width: no picks
    // Smaller: the kept luma and chroma bytes of a row, then a chroma sample per pixel.
    RowGather luma;
    RowGather chroma;
    std::vector<uint8_t> y, u, v;  // rounded up to the wide step; the padding is never drawn
    // Larger: a source row converted once, then its pixels spread over the destination row.
    PixelSpread spread;
    std::vector<uint32_t> converted;
    // A row cut by the surface's edge is made whole here first.
    std::vector<uint32_t> whole;

    void Build(int source_width, int target_width) {
        width = source_width;
        dest_width = target_width;
        wide = yuv::BestKernel() == yuv::Kernel::kAvx2;
        ratio = 0;
        for (int r : {2, 4}) {
            if (width == r * dest_width) ratio = r;
        }
        std::vector<int> columns = NearestColumns(width, dest_width);
        if (ratio != 0) {
            // Whole steps of the ratio, straight from the planes.
        } else if (dest_width < width) {
            std::vector<int> chroma_columns(columns.size());
            for (int x = 0; x < dest_width; ++x)
                chroma_columns[x] = columns[x] >> 1;
            luma.Build(columns, width);
            chroma.Build(std::move(chroma_columns), (width + 1) / 2);
            const std::size_t padded = static_cast<std::size_t>(Padded(dest_width));
            y.assign(padded, 0);
            u.assign(padded, 0);
            v.assign(padded, 0);
        } else if (dest_width > width) {
            spread.Build(std::move(columns), width);
            converted.assign(static_cast<std::size_t>(width), 0);
        }
        whole.assign(static_cast<std::size_t>(dest_width), 0);
    }
};

namespace {

// Plans of the last few size pairs of this thread, the latest first: a layout mixes few cell
// sizes.
PlanarRowPlan& PlanFor(int width, int dest_width) {
    constexpr std::size_t kKept = 4;
    thread_local std::array<std::unique_ptr<PlanarRowPlan>, kKept> plans;
    for (std::size_t i = 0; i < kKept && plans[i]; ++i) {
        if (plans[i]->width == width && plans[i]->dest_width == dest_width) {
            std::rotate(plans.begin(), plans.begin() + static_cast<long>(i),
                        plans.begin() + static_cast<long>(i) + 1);
            return *plans[0];
        }
    }
    std::unique_ptr<PlanarRowPlan> plan = std::move(plans[kKept - 1]);
    if (!plan) plan = std::make_unique<PlanarRowPlan>();
    plan->Build(width, dest_width);
    std::move_backward(plans.begin(), plans.end() - 1, plans.end());
    plans[0] = std::move(plan);
    return *plans[0];
}

// One row with a chroma sample per pixel. The last pixels go through the wide kernel too: as
// a last step that overlaps the one before, or, in a row shorter than a step, from the sample
// rows' padding into a local block.
void Convert444(const PlanarRowPlan& plan, uint32_t* out, int count) {
    const uint8_t* y = plan.y.data();
    const uint8_t* u = plan.u.data();
    const uint8_t* v = plan.v.data();
    if (!plan.wide) {
        yuv::Argb444RowScalar(y, u, v, out, 0, count);
        return;
    }
    const int done = yuv::Argb444RowAvx2(y, u, v, out, count);
    if (done == count) return;
    if (count >= kWideStep) {
        const int last = count - kWideStep;
        yuv::Argb444RowAvx2(y + last, u + last, v + last, out + last, kWideStep);
        return;
    }
    uint32_t tail[kWideStep];
    yuv::Argb444RowAvx2(y, u, v, tail, kWideStep);
    std::memcpy(out, tail, static_cast<std::size_t>(count) * sizeof(uint32_t));
}

// Every ratio-th pixel of a row, straight from the planes. The last pixels go through the wide
// kernel too, as a last step that overlaps the one before, when the row holds a step.
void ConvertStrided(bool wide, int ratio, const uint8_t* y, const uint8_t* u, const uint8_t* v,
                    uint32_t* out, int count) {
    const auto kernel = ratio == 2 ? yuv::ArgbHalfRowAvx2 : yuv::ArgbQuarterRowAvx2;
    const int done = wide ? kernel(y, u, v, out, count) : 0;
    if (done == count) return;
    if (wide && count >= kWideStep) {
        const int last = count - kWideStep;
        const int chroma = ratio * last / 2;
        kernel(y + ratio * last, u + chroma, v + chroma, out + last, kWideStep);
        return;
    }
    yuv::ArgbStridedRowScalar(ratio, y, u, v, out, done, count);
}

// One row of a plane pair at its own size. The last pixels go through the wide kernel too: as
// a last step that overlaps the one before (from an even pixel, where a chroma sample starts),
// or, in a row shorter than a step, copied out to a padded block first, so the kernel reads
// nothing past the planes.
void Convert420(bool wide, const uint8_t* y, const uint8_t* u, const uint8_t* v, uint32_t* out,
                int count) {
    if (!wide) {
        yuv::Argb420RowScalar(y, u, v, out, 0, count);
        return;
    }
    const int done = yuv::Argb420RowAvx2(y, u, v, out, count);
    if (done == count) return;
    if (count > kWideStep) {
        const int last = (count - kWideStep) & ~1;
        yuv::Argb420RowAvx2(y + last, u + last / 2, v + last / 2, out + last, kWideStep);
        // An odd width leaves its last pixel to the plain kernel.
        yuv::Argb420RowScalar(y, u, v, out, last + kWideStep, count);
        return;
    }
    uint8_t ty[kWideStep] = {};
    uint8_t tu[kWideStep / 2] = {};
    uint8_t tv[kWideStep / 2] = {};
    std::memcpy(ty, y, static_cast<std::size_t>(count));
    std::memcpy(tu, u, static_cast<std::size_t>((count + 1) / 2));
    std::memcpy(tv, v, static_cast<std::size_t>((count + 1) / 2));
    uint32_t tail[kWideStep];
    yuv::Argb420RowAvx2(ty, tu, tv, tail, kWideStep);
    std::memcpy(out, tail, static_cast<std::size_t>(count) * sizeof(uint32_t));
}

}  // namespace

PlanarRows::PlanarRows(const DecodedPicture& planes, int width, int dest_width)
    : planes_(planes), width_(width), dest_width_(dest_width), plan_(&PlanFor(width, dest_width)) {}

void PlanarRows::operator()(const ScaledRow& row) const {
    if (row.next_src_y >= 0) FetchRow(row.next_src_y);
    if (row.dest_x == 0 && row.count == dest_width_) {
        WriteRow(row.src_y, row.out);
        return;
    }
    WriteRow(row.src_y, plan_->whole.data());
    std::memcpy(row.out, plan_->whole.data() + row.dest_x,
                static_cast<std::size_t>(row.count) * sizeof(uint32_t));
}

// A picture drawn smaller skips rows, too far apart for the hardware to foresee: the next
// row's bytes are fetched while this one is converted.
void PlanarRows::FetchRow(int src_y) const {
    constexpr int kLineBytes = 64;
    const uint8_t* y = planes_.luma + static_cast<long>(src_y) * planes_.luma_stride;
    const uint8_t* u = planes_.u + static_cast<long>(src_y / 2) * planes_.u_stride;
    const uint8_t* v = planes_.v + static_cast<long>(src_y / 2) * planes_.v_stride;
    for (int x = 0; x < width_; x += kLineBytes)
        __builtin_prefetch(y + x);
    for (int x = 0; x < (width_ + 1) / 2; x += kLineBytes) {
        __builtin_prefetch(u + x);
        __builtin_prefetch(v + x);
    }
}

void PlanarRows::WriteRow(int src_y, uint32_t* out) const {
    PlanarRowPlan& plan = *plan_;
    const uint8_t* y = planes_.luma + static_cast<long>(src_y) * planes_.luma_stride;
    const uint8_t* u = planes_.u + static_cast<long>(src_y / 2) * planes_.u_stride;
    const uint8_t* v = planes_.v + static_cast<long>(src_y / 2) * planes_.v_stride;
    if (plan.ratio != 0) {
        ConvertStrided(plan.wide, plan.ratio, y, u, v, out, dest_width_);
    } else if (dest_width_ < width_) {
        plan.luma.Gather(y, plan.y.data());
        plan.chroma.Gather(u, plan.u.data());
        plan.chroma.Gather(v, plan.v.data());
        Convert444(plan, out, dest_width_);
    } else if (dest_width_ > width_) {
        Convert420(plan.wide, y, u, v, plan.converted.data(), width_);
        plan.spread.Spread(plan.converted.data(), out);
    } else {
        Convert420(plan.wide, y, u, v, out, width_);
    }
}
