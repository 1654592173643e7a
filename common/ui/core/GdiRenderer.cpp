#include "common/ui/core/GdiRenderer.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "common/picture/PlanarRows.h"
#include "common/ui/core/BgrRow.h"
#include "platform/ddraw/Yuy2Picture.h"
#include "platform/surface/PixelSpread.h"
#include "platform/surface/RowGather.h"

namespace {

// What drawing a 24-bit picture width pixels wide into dest_width needs, built once per size
// pair and thread. Smaller: the bytes of the kept pixels are picked out of the row first, then
// spread to 32 bits. Larger: each source row is converted once and its pixels spread over the
// wider row.
struct BgrPlan {
    int width = -1;
    int dest_width = -1;
    RowGather picks;
    std::vector<unsigned char> picked;  // padded as the picks ask
    PixelSpread spread;
    std::vector<std::uint32_t> converted;
    std::vector<std::uint32_t> whole;  // a row cut by the surface's edge, made whole first

    void Build(int source_width, int target_width) {
        width = source_width;
        dest_width = target_width;
        std::vector<int> columns = NearestColumns(width, dest_width);
        if (dest_width < width) {
            std::vector<int> bytes;
            bytes.reserve(columns.size() * 3);
            for (int column : columns) {
                for (int c = 0; c < 3; ++c)
                    bytes.push_back(3 * column + c);
            }
            picks.Build(std::move(bytes), 3 * width);
            picked.assign(static_cast<std::size_t>(picks.PaddedCount()), 0);
        } else if (dest_width > width) {
            spread.Build(std::move(columns), width);
            converted.assign(static_cast<std::size_t>(width), 0);
        }
        whole.assign(static_cast<std::size_t>(dest_width), 0);
    }

    // The whole row of a source row into out (dest_width pixels).
    void WriteRow(const unsigned char* row, std::uint32_t* out) {
        if (dest_width < width) {
            picks.Gather(row, picked.data());
            BgrRowToArgb(picked.data(), out, dest_width);
        } else if (dest_width > width) {
            BgrRowToArgb(row, converted.data(), width);
            spread.Spread(converted.data(), out);
        } else {
            BgrRowToArgb(row, out, width);
        }
    }
};

BgrPlan& PlanFor(int width, int dest_width) {
    thread_local BgrPlan plan;
    if (plan.width != width || plan.dest_width != dest_width) plan.Build(width, dest_width);
    return plan;
}

}  // namespace

void CGdiRenderer::SetDC(std::shared_ptr<CVideoSurface> surface) {
    std::lock_guard lock(target_mutex_);
    surface_ = std::move(surface);
}

std::shared_ptr<CVideoSurface> CGdiRenderer::Target() {
    std::lock_guard lock(target_mutex_);
    return surface_;
}

int CGdiRenderer::Draw(int left, int top, int right, int bottom, int width, int height,
                       const unsigned char* pixels) {
    std::shared_ptr<CVideoSurface> surface = Target();
    if (!surface || !pixels || width <= 0 || height <= 0 || right <= left) return 0;
    const std::size_t row_bytes = static_cast<std::size_t>(width) * 3;
    const int dest_width = right - left;
    BgrPlan& plan = PlanFor(width, dest_width);
    return surface->DrawScaledRows(
        {left, top, right, bottom}, width, height, [&](const ScaledRow& row) {
            const unsigned char* in = pixels + row.src_y * row_bytes;
            if (row.count == dest_width) {
                plan.WriteRow(in, row.out);
                return;
            }
            plan.WriteRow(in, plan.whole.data());
            std::memcpy(row.out, plan.whole.data() + row.dest_x,
                        static_cast<std::size_t>(row.count) * sizeof(std::uint32_t));
        });
}

int CGdiRenderer::DrawPlanes(const ScreenRect& dest, int width, int height,
                             const DecodedPicture& planes) {
    std::shared_ptr<CVideoSurface> surface = Target();
    if (!surface || width <= 0 || height <= 0 || !Covers(planes, width, height) ||
        dest.right <= dest.left) {
        return 0;
    }
    return surface->DrawScaledRows(dest, width, height,
                                   PlanarRows(planes, width, dest.right - dest.left));
}

int CGdiRenderer::DrawBgr24(const ScreenRect& dest, int width, int height,
                            const std::uint8_t* pixels) {
    return Draw(dest.left, dest.top, dest.right, dest.bottom, width, height, pixels);
}

int CGdiRenderer::DrawYuy2(const ScreenRect& dest, int width, int height, std::uint8_t* picture) {
    std::shared_ptr<CVideoSurface> surface = Target();
    if (!surface) return 0;
    return std::max(::DrawYuy2(*surface, dest, width, height, picture), 0);
}
