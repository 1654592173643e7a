#include "platform/surface/VideoSurface.h"

#include <algorithm>
#include <cstring>

#include "platform/surface/RowGather.h"

void CVideoSurface::Resize(int width_px, int height_px) {
    width_px = std::max(width_px, 0);
    height_px = std::max(height_px, 0);
    std::lock_guard lock(mutex_);
    if (width_px == width_ && height_px == height_) return;
    std::vector<std::uint32_t> resized(static_cast<std::size_t>(width_px) * height_px, 0);
    const int keep_width = std::min(width_, width_px);
    const int keep_height = std::min(height_, height_px);
    for (int y = 0; y < keep_height; ++y) {
        std::copy_n(pixels_.begin() + static_cast<std::ptrdiff_t>(y) * width_, keep_width,
                    resized.begin() + static_cast<std::ptrdiff_t>(y) * width_px);
    }
    pixels_.swap(resized);
    width_ = width_px;
    height_ = height_px;
    ++generation_;
    dirty_ = dirty_.Intersected({0, 0, width_, height_});
}

void CVideoSurface::SetOrigin(int screen_x, int screen_y) {
    std::lock_guard lock(mutex_);
    // Set again at every flush: only a move makes staged draws start again.
    if (screen_x == origin_x_ && screen_y == origin_y_) return;
    origin_x_ = screen_x;
    origin_y_ = screen_y;
    ++generation_;
}

void CVideoSurface::SetPaintRequest(PaintRequest request) {
    std::lock_guard lock(mutex_);
    request_ = std::move(request);
    paint_pending_ = false;
}

ScreenRect CVideoSurface::TakeDirty() {
    std::lock_guard lock(mutex_);
    const ScreenRect dirty = dirty_;
    dirty_ = {};
    paint_pending_ = false;
    return dirty;
}

void CVideoSurface::Clear(const ScreenRect& rect) {
    std::lock_guard lock(mutex_);
    const ScreenRect area = rect.Intersected({0, 0, width_, height_});
    if (area.IsEmpty()) return;
    for (int y = area.top; y < area.bottom; ++y) {
        auto row = pixels_.begin() + static_cast<std::ptrdiff_t>(y) * width_;
        std::fill(row + area.left, row + area.right, 0u);
    }
}

ScreenRect CVideoSurface::ClipTo(const ScreenRect& rect) {
    std::lock_guard lock(mutex_);
    if (rect != clip_) ++generation_;
    clip_ = rect;
    const ScreenRect inside = rect.Intersected({0, 0, width_, height_});
    bool wiped = false;
    for (int y = 0; y < height_; ++y) {
        auto row = pixels_.begin() + static_cast<std::ptrdiff_t>(y) * width_;
        const bool row_inside = !inside.IsEmpty() && y >= inside.top && y < inside.bottom;
        const int keep_left = row_inside ? inside.left : width_;
        const int keep_right = row_inside ? inside.right : width_;
        const auto is_picture = [](std::uint32_t pixel) { return pixel != 0u; };
        if (std::any_of(row, row + keep_left, is_picture) ||
            std::any_of(row + keep_right, row + width_, is_picture)) {
            std::fill(row, row + keep_left, 0u);
            std::fill(row + keep_right, row + width_, 0u);
            wiped = true;
        }
    }
    return wiped ? ScreenRect{0, 0, width_, height_} : ScreenRect{};
}

int CVideoSurface::Width() const {
    std::lock_guard lock(mutex_);
    return width_;
}

int CVideoSurface::Height() const {
    std::lock_guard lock(mutex_);
    return height_;
}

CVideoSurface::Placement CVideoSurface::PlaceLocked(const ScreenRect& dest_screen) const {
    Placement place;
    place.dest = dest_screen.Translated(-origin_x_, -origin_y_);
    place.visible = place.dest.Intersected({0, 0, width_, height_}).Intersected(clip_);
    place.generation = generation_;
    return place;
}

std::uint32_t* CVideoSurface::StagingBlock(std::size_t count_px) {
    thread_local std::vector<std::uint32_t> block;
    if (block.size() < count_px) block.resize(count_px);
    return block.data();
}

void CVideoSurface::CopyStagedLocked(const std::uint32_t* staged, const ScreenRect& visible) {
    const std::size_t count = static_cast<std::size_t>(visible.Width());
    const std::size_t stride = static_cast<std::size_t>(width_);
    std::uint32_t* out = pixels_.data() + static_cast<std::size_t>(visible.top) * stride +
                         static_cast<std::size_t>(visible.left);
    for (int y = visible.top; y < visible.bottom; ++y, out += stride, staged += count) {
        if (y + 1 < visible.bottom) {
            // The surface is larger than the caches, so its rows are mostly cold: the next
            // row's lines are fetched while this one is copied.
            for (std::size_t x = 0; x < count; x += 16)
                __builtin_prefetch(out + stride + x, 1);
        }
        std::memcpy(out, staged, count * sizeof(std::uint32_t));
    }
}

void CVideoSurface::MarkDirtyLocked(const ScreenRect& rect) {
    dirty_ = dirty_.United(rect);
    if (paint_pending_ || !request_) return;
    paint_pending_ = true;
    request_();
}

const std::vector<int>& CVideoSurface::ColumnMap(int src_width, int dest_width) {
    // Per thread, so frame threads reuse their table without sharing it.
    thread_local std::vector<int> columns;
    thread_local int built_src = -1;
    thread_local int built_dest = -1;
    if (built_src != src_width || built_dest != dest_width) {
        columns = NearestColumns(src_width, dest_width);
        built_src = src_width;
        built_dest = dest_width;
    }
    return columns;
}
