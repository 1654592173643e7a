#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <mutex>
#include <vector>

#include "platform/surface/ScaledRow.h"
#include "platform/surface/ScreenRect.h"

// The picture layer of one window: an image of its client area that frame threads draw
// into while the window thread owns the window. Pixels are premultiplied ARGB; 0 is
// transparent, so whatever the window paints itself shows where no picture lies.
//
// Drawing marks the rectangle dirty and asks the window thread for one paint through the
// paint request; further draws only grow the dirty rectangle until the window thread takes
// it, so a busy stream never floods the window's event queue.
class CVideoSurface {
public:
    using PaintRequest = std::function<void()>;

    // Window thread. Keeps the pixels of the overlapping area.
    void Resize(int width_px, int height_px);
    // Window thread: the client area's top-left corner in screen coordinates.
    void SetOrigin(int screen_x, int screen_y);
    // Window thread. Called with the surface lock held, so clearing it (nullptr) guarantees
    // that no frame thread calls the old request afterwards.
    void SetPaintRequest(PaintRequest request);
    // Window thread: the area drawn since the last call; re-arms the paint request.
    ScreenRect TakeDirty();
    // Makes the rectangle (client coordinates) transparent again.
    void Clear(const ScreenRect& rect);
    // Window thread: from now on pictures land only inside rect (client coordinates), and
    // whatever lies outside it is made transparent at once. Returns the area the window must
    // repaint (the surface's whole area when anything lay outside the old clip).
    ScreenRect ClipTo(const ScreenRect& rect);

    // Any thread: scales a picture of src_width x src_height nearest-neighbour into dest
    // (screen coordinates), dropping or repeating rows and columns, top row at the top.
    // write_row(const ScaledRow&) fills a row from the picture; a row that repeats the one
    // above is copied instead. Returns the number of rows written, 0 when the rectangle misses
    // the surface.
    template <class RowWriter>
    int DrawScaledRows(const ScreenRect& dest_screen, int src_width, int src_height,
                       RowWriter&& write_row);

    // Reads the pixels under the lock: f(pixels, width, height), rows of width pixels.
    template <class Reader>
    void Read(Reader&& f) const {
        std::lock_guard lock(mutex_);
        f(pixels_.data(), width_, height_);
    }

    int Width() const;
    int Height() const;

private:
    static constexpr int kUnclipped = 1 << 29;
    void MarkDirtyLocked(const ScreenRect& rect);
    // Source column of every destination column of a dest_width-wide target.
    static const std::vector<int>& ColumnMap(int src_width, int dest_width);

    mutable std::mutex mutex_;
    std::vector<std::uint32_t> pixels_;
    int width_ = 0;
    int height_ = 0;
    int origin_x_ = 0;
    int origin_y_ = 0;
    ScreenRect dirty_;
    // Everything until a window narrows it.
    ScreenRect clip_{-kUnclipped, -kUnclipped, kUnclipped, kUnclipped};
    bool paint_pending_ = false;
    PaintRequest request_;
};

template <class RowWriter>
int CVideoSurface::DrawScaledRows(const ScreenRect& dest_screen, int src_width, int src_height,
                                  RowWriter&& write_row) {
    if (src_width <= 0 || src_height <= 0 || dest_screen.IsEmpty()) return 0;
    const int dest_width = dest_screen.Width();
    const int dest_height = dest_screen.Height();
    const std::vector<int>& columns = ColumnMap(src_width, dest_width);

    std::lock_guard lock(mutex_);
    const ScreenRect dest = dest_screen.Translated(-origin_x_, -origin_y_);
    const ScreenRect visible = dest.Intersected({0, 0, width_, height_}).Intersected(clip_);
    if (visible.IsEmpty()) return 0;
    ScaledRow row;
    row.dest_x = visible.left - dest.left;
    row.count = visible.Width();
    row.columns = columns.data() + row.dest_x;
    const std::size_t row_bytes = static_cast<std::size_t>(row.count) * sizeof(std::uint32_t);
    const std::uint32_t* above = nullptr;
    const auto source_row = [&](int y) {
        return static_cast<int>(static_cast<std::int64_t>(y - dest.top) * src_height / dest_height);
    };
    for (int y = visible.top; y < visible.bottom; ++y) {
        const int src_y = source_row(y);
        std::uint32_t* out = pixels_.data() + static_cast<std::size_t>(y) * width_ + visible.left;
        if (y + 1 < visible.bottom) {
            // The next row's lines are fetched while this one is written: the surface is
            // larger than the caches, so its rows are mostly cold.
            for (int x = 0; x < row.count; x += 16)
                __builtin_prefetch(out + width_ + x, 1);
        }
        if (above != nullptr && src_y == row.src_y) {
            std::memcpy(out, above, row_bytes);
        } else {
            row.src_y = src_y;
            // Rows drawn larger repeat: the next one written comes from the next source row.
            row.next_src_y = y + 1 < visible.bottom
                                 ? std::min(std::max(source_row(y + 1), src_y + 1), src_height - 1)
                                 : -1;
            row.out = out;
            write_row(static_cast<const ScaledRow&>(row));
        }
        above = out;
    }
    MarkDirtyLocked(visible);
    return visible.Height();
}
