#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <mutex>
#include <vector>

#include "platform/surface/DrawLock.h"
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
    //
    // Frame threads of bursts arriving together draw at once, so a picture of up to
    // kStagingCap_px visible pixels is converted without the lock into this thread's staging
    // block and copied in under it: each draw still lands whole with respect to other draws,
    // Clear and Read. A Resize, SetOrigin or ClipTo between the two makes the draw start again
    // under the lock. write_row itself must not call the surface.
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
    // A quarter of a core's second-level cache (1 MiB here): the block stays there between
    // conversion and copy, next to the picture's planes. A full-screen cell (6.5 MB) would
    // only be written out and read back, and kept per thread.
    static constexpr std::size_t kStagingCap_px = 64 * 1024;

    // Where a draw lands, as the geometry of a given generation places it.
    struct Placement {
        ScreenRect dest;     // client coordinates
        ScreenRect visible;  // inside the surface and the clip
        std::uint64_t generation = 0;
    };
    Placement PlaceLocked(const ScreenRect& dest_screen) const;
    // This thread's staging block of at least count_px pixels.
    static std::uint32_t* StagingBlock(std::size_t count_px);
    // Rows of visible.Width() pixels, top first, into the visible rectangle.
    void CopyStagedLocked(const std::uint32_t* staged, const ScreenRect& visible);
    // The rows of the visible part, the first at first_row, stride_px apart.
    template <class RowWriter>
    static void WriteRows(const Placement& place, int src_height, const int* columns,
                          std::uint32_t* first_row, std::size_t stride_px, bool prefetch,
                          RowWriter& write_row);
    void MarkDirtyLocked(const ScreenRect& rect);
    // Source column of every destination column of a dest_width-wide target.
    static const std::vector<int>& ColumnMap(int src_width, int dest_width);

    // Held for a draw's placement and its copy; frame threads of a burst meet here.
    mutable CDrawLock mutex_;
    std::vector<std::uint32_t> pixels_;
    int width_ = 0;
    int height_ = 0;
    int origin_x_ = 0;
    int origin_y_ = 0;
    ScreenRect dirty_;
    // Everything until a window narrows it.
    ScreenRect clip_{-kUnclipped, -kUnclipped, kUnclipped, kUnclipped};
    // Bumped by every change of size, origin or clip: a staged draw placed by an older one
    // is drawn again.
    std::uint64_t generation_ = 0;
    bool paint_pending_ = false;
    PaintRequest request_;
};

template <class RowWriter>
void CVideoSurface::WriteRows(const Placement& place, int src_height, const int* columns,
                              std::uint32_t* first_row, std::size_t stride_px, bool prefetch,
                              RowWriter& write_row) {
    const ScreenRect& dest = place.dest;
    const ScreenRect& visible = place.visible;
    const int dest_height = dest.Height();
    ScaledRow row;
    row.dest_x = visible.left - dest.left;
    row.count = visible.Width();
    row.columns = columns + row.dest_x;
    const std::size_t row_bytes = static_cast<std::size_t>(row.count) * sizeof(std::uint32_t);
    const std::uint32_t* above = nullptr;
    const auto source_row = [&](int y) {
        return static_cast<int>(static_cast<std::int64_t>(y - dest.top) * src_height / dest_height);
    };
    std::uint32_t* out = first_row;
    for (int y = visible.top; y < visible.bottom; ++y, out += stride_px) {
        const int src_y = source_row(y);
        if (prefetch && y + 1 < visible.bottom) {
            // The next row's lines are fetched while this one is written: the surface is
            // larger than the caches, so its rows are mostly cold.
            for (int x = 0; x < row.count; x += 16)
                __builtin_prefetch(out + stride_px + x, 1);
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
}

template <class RowWriter>
int CVideoSurface::DrawScaledRows(const ScreenRect& dest_screen, int src_width, int src_height,
                                  RowWriter&& write_row) {
    if (src_width <= 0 || src_height <= 0 || dest_screen.IsEmpty()) return 0;
    const std::vector<int>& columns = ColumnMap(src_width, dest_screen.Width());

    std::unique_lock lock(mutex_);
    Placement place = PlaceLocked(dest_screen);
    if (place.visible.IsEmpty()) return 0;
    const std::size_t visible_width = static_cast<std::size_t>(place.visible.Width());
    const std::size_t visible_px = visible_width * static_cast<std::size_t>(place.visible.Height());
    if (visible_px <= kStagingCap_px) {
        lock.unlock();
        std::uint32_t* staged = StagingBlock(visible_px);
        WriteRows(place, src_height, columns.data(), staged, visible_width, false, write_row);
        lock.lock();
        if (place.generation == generation_) {
            CopyStagedLocked(staged, place.visible);
            MarkDirtyLocked(place.visible);
            return place.visible.Height();
        }
        // The window changed meanwhile: the rows may now lie elsewhere or outside the clip.
        place = PlaceLocked(dest_screen);
        if (place.visible.IsEmpty()) return 0;
    }
    std::uint32_t* first_row =
        pixels_.data() + static_cast<std::size_t>(place.visible.top) * width_ + place.visible.left;
    WriteRows(place, src_height, columns.data(), first_row, static_cast<std::size_t>(width_), true,
              write_row);
    MarkDirtyLocked(place.visible);
    return place.visible.Height();
}
