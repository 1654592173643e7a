#include "platform/ddraw/Yuy2Picture.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/ddraw/Bt601Row.h"
#include "platform/surface/PixelSpread.h"
#include "platform/surface/RowGather.h"
#include "platform/surface/VideoSurface.h"

namespace {

constexpr int kWideStep = 32;  // pixels per step of the wide row kernel

// What drawing a picture width pixels wide into dest_width needs, built once per size pair:
// the luma and the pair's chroma of each pixel drawn are picked out of the packed row, then
// converted. A picture drawn larger has every source pixel picked and converted once per row,
// then spread over the wider row.
struct Yuy2Plan {
    int width = -1;
    int dest_width = -1;
    // Every second or fourth pixel (drawn at a half or a quarter of the width; ratio 2 or 4),
    // or every pixel (at the width or larger): straight from the pairs. Other widths pick the
    // luma and the pair's chroma of each pixel drawn out of the row first.
    int ratio = 0;
    RowGather luma;
    RowGather u;
    RowGather v;
    std::vector<std::uint8_t> ys, us, vs;  // rounded up to the wide step; padding never drawn
    // Larger: each source row converted once, then spread over the wider row.
    PixelSpread spread;
    std::vector<std::uint32_t> converted;
    std::vector<std::uint32_t> whole;  // a row cut by the surface's edge, made whole first

    void Build(int source_width, int target_width) {
        width = source_width;
        dest_width = target_width;
        ratio = 0;
        for (int r : {2, 4}) {
            if (width == r * dest_width) ratio = r;
        }
        std::vector<int> columns = NearestColumns(width, dest_width);
        if (dest_width < width && ratio == 0) {
            std::vector<int> luma_bytes(columns.size());
            std::vector<int> u_bytes(columns.size());
            std::vector<int> v_bytes(columns.size());
            for (int i = 0; i < dest_width; ++i) {
                luma_bytes[i] = 2 * columns[i];
                u_bytes[i] = 4 * (columns[i] / 2) + 1;
                v_bytes[i] = 4 * (columns[i] / 2) + 3;
            }
            const int row_bytes = 2 * width;
            luma.Build(std::move(luma_bytes), row_bytes);
            u.Build(std::move(u_bytes), row_bytes);
            v.Build(std::move(v_bytes), row_bytes);
            const std::size_t padded =
                static_cast<std::size_t>((dest_width + kWideStep - 1) / kWideStep * kWideStep);
            ys.assign(padded, 0);
            us.assign(padded, 0);
            vs.assign(padded, 0);
        }
        if (dest_width > width) {
            spread.Build(std::move(columns), width);
            converted.assign(static_cast<std::size_t>(width), 0);
        }
        whole.assign(static_cast<std::size_t>(dest_width), 0);
    }

    // count pixels of a row by a wide kernel; the last ones as a last step that overlaps the
    // one before, when the row holds a step. False when the row is left to the plain code.
    template <typename Kernel>
    static bool Wide(Kernel kernel, int bytes_per_pixel, const unsigned char* row,
                     std::uint32_t* out, int count) {
        const int done = kernel(row, out, count);
        if (done == 0) return false;
        if (done < count) {
            const int last = count - kWideStep;
            kernel(row + bytes_per_pixel * last, out + last, kWideStep);
        }
        return true;
    }

    // The picked pixels of a packed row, converted into out.
    void ConvertPicked(const unsigned char* row, std::uint32_t* out) {
        luma.Gather(row, ys.data());
        u.Gather(row, us.data());
        v.Gather(row, vs.data());
        const int done = bt601::ArgbRowWide(ys.data(), us.data(), vs.data(), out, dest_width);
        if (done == dest_width) return;
        std::uint32_t tail[kWideStep];
        if (bt601::ArgbRowWide(ys.data() + done, us.data() + done, vs.data() + done, tail,
                               kWideStep) == kWideStep) {
            std::memcpy(out + done, tail,
                        static_cast<std::size_t>(dest_width - done) * sizeof(std::uint32_t));
            return;
        }
        bt601::ArgbRowScalar(ys.data(), us.data(), vs.data(), out, done, dest_width);
    }

    // Pixel i of out from pixel step x i of the row, one by one.
    static void ConvertPlain(const unsigned char* row, std::uint32_t* out, int count, int step) {
        for (int i = 0; i < count; ++i) {
            const int x = step * i;
            const unsigned char* pair = row + 4 * (x / 2);
            bt601::ArgbRowScalar(pair + 2 * (x & 1), pair + 1, pair + 3, out + i, 0, 1);
        }
    }

    // The whole row of a source row into out (dest_width pixels).
    void WriteRow(const unsigned char* row, std::uint32_t* out) {
        if (ratio != 0) {
            const auto kernel = ratio == 2 ? bt601::ArgbHalfRowWide : bt601::ArgbQuarterRowWide;
            if (!Wide(kernel, 2 * ratio, row, out, dest_width))
                ConvertPlain(row, out, dest_width, ratio);
            return;
        }
        if (dest_width < width) {
            ConvertPicked(row, out);
            return;
        }
        std::uint32_t* pixels = dest_width == width ? out : converted.data();
        if (!Wide(bt601::ArgbPairRowWide, 2, row, pixels, width))
            ConvertPlain(row, pixels, width, 1);
        if (dest_width > width) spread.Spread(converted.data(), out);
    }
};

// What drawing a 4:2:0 picture width pixels wide into dest_width needs, built once per size
// pair: each drawn pixel's luma and its pair's chroma picked out of the plane rows (every
// source pixel when drawn larger), converted in whole steps, then spread over a wider row.
struct PlanarPlan {
    int width = -1;
    int dest_width = -1;
    RowGather luma;
    RowGather chroma;
    std::vector<std::uint8_t> ys, us, vs;  // rounded up to the wide step; padding never drawn
    PixelSpread spread;
    std::vector<std::uint32_t> converted;
    std::vector<std::uint32_t> whole;  // a row cut by the surface's edge, made whole first

    void Build(int source_width, int target_width) {
        width = source_width;
        dest_width = target_width;
        std::vector<int> columns = NearestColumns(width, dest_width);
        std::vector<int> picked = columns;
        if (dest_width > width) {
            spread.Build(std::move(columns), width);
            converted.assign(static_cast<std::size_t>(width), 0);
            picked.resize(static_cast<std::size_t>(width));
            for (int x = 0; x < width; ++x)
                picked[x] = x;
        }
        std::vector<int> chroma_columns(picked.size());
        for (std::size_t i = 0; i < picked.size(); ++i)
            chroma_columns[i] = picked[i] / 2;
        const int count = static_cast<int>(picked.size());
        luma.Build(std::move(picked), width);
        chroma.Build(std::move(chroma_columns), (width + 1) / 2);
        const std::size_t padded = static_cast<std::size_t>(
            (std::max(luma.PaddedCount(), count) + kWideStep - 1) / kWideStep * kWideStep);
        ys.assign(padded, 0);
        us.assign(padded, 0);
        vs.assign(padded, 0);
        whole.assign(static_cast<std::size_t>(dest_width), 0);
    }

    // The whole destination row from plane rows y, u and v into out.
    void WriteRow(const std::uint8_t* y, const std::uint8_t* u, const std::uint8_t* v,
                  std::uint32_t* out) {
        luma.Gather(y, ys.data());
        chroma.Gather(u, us.data());
        chroma.Gather(v, vs.data());
        const int count = luma.Count();
        std::uint32_t* pixels = dest_width > width ? converted.data() : out;
        const int done = bt601::ArgbRowWide(ys.data(), us.data(), vs.data(), pixels, count);
        if (done < count) {
            std::uint32_t tail[kWideStep];
            if (bt601::ArgbRowWide(ys.data() + done, us.data() + done, vs.data() + done, tail,
                                   kWideStep) == kWideStep) {
                std::memcpy(pixels + done, tail,
                            static_cast<std::size_t>(count - done) * sizeof(std::uint32_t));
            } else {
                bt601::ArgbRowScalar(ys.data(), us.data(), vs.data(), pixels, done, count);
            }
        }
        if (dest_width > width) spread.Spread(converted.data(), out);
    }
};

// Plans of the last few size pairs of this thread, the latest first.
template <typename Plan>
Plan& PlanOf(int width, int dest_width) {
    constexpr std::size_t kKept = 4;
    thread_local std::array<std::unique_ptr<Plan>, kKept> plans;
    for (std::size_t i = 0; i < kKept && plans[i]; ++i) {
        if (plans[i]->width == width && plans[i]->dest_width == dest_width) {
            std::rotate(plans.begin(), plans.begin() + static_cast<long>(i),
                        plans.begin() + static_cast<long>(i) + 1);
            return *plans[0];
        }
    }
    std::unique_ptr<Plan> plan = std::move(plans[kKept - 1]);
    if (!plan) plan = std::make_unique<Plan>();
    plan->Build(width, dest_width);
    std::move_backward(plans.begin(), plans.end() - 1, plans.end());
    plans[0] = std::move(plan);
    return *plans[0];
}

}  // namespace

int DrawYuy2(CVideoSurface& surface, const ScreenRect& dest_screen, int width, int height,
             const unsigned char* picture) {
    if (!picture || width <= 0 || height <= 0 || width % 2 != 0) return -1;
    if (dest_screen.IsEmpty()) return 0;
    const int dest_width = dest_screen.Width();
    Yuy2Plan& plan = PlanOf<Yuy2Plan>(width, dest_width);
    const std::size_t row_bytes = static_cast<std::size_t>(width) * 2;
    return surface.DrawScaledRows(dest_screen, width, height, [&](const ScaledRow& row) {
        const unsigned char* in = picture + static_cast<std::size_t>(row.src_y) * row_bytes;
        if (row.count == dest_width) {
            plan.WriteRow(in, row.out);
            return;
        }
        plan.WriteRow(in, plan.whole.data());
        std::memcpy(row.out, plan.whole.data() + row.dest_x,
                    static_cast<std::size_t>(row.count) * sizeof(std::uint32_t));
    });
}

int DrawYuv420(CVideoSurface& surface, const ScreenRect& dest_screen, int width, int height,
               const unsigned char* const planes[3], const int strides[3]) {
    if (!planes[0] || !planes[1] || !planes[2] || width <= 0 || height <= 0) return -1;
    if (dest_screen.IsEmpty()) return 0;
    const int dest_width = dest_screen.Width();
    PlanarPlan& plan = PlanOf<PlanarPlan>(width, dest_width);
    return surface.DrawScaledRows(dest_screen, width, height, [&](const ScaledRow& row) {
        const unsigned char* y = planes[0] + static_cast<std::size_t>(row.src_y) * strides[0];
        const unsigned char* u = planes[1] + static_cast<std::size_t>(row.src_y / 2) * strides[1];
        const unsigned char* v = planes[2] + static_cast<std::size_t>(row.src_y / 2) * strides[2];
        if (row.count == dest_width) {
            plan.WriteRow(y, u, v, row.out);
            return;
        }
        plan.WriteRow(y, u, v, plan.whole.data());
        std::memcpy(row.out, plan.whole.data() + row.dest_x,
                    static_cast<std::size_t>(row.count) * sizeof(std::uint32_t));
    });
}
