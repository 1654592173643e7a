#include "common/ui/core/VideoGridLayout.h"

#include <cstdio>

namespace {

constexpr auto kRelaxed = std::memory_order_relaxed;
// A cell is published visible only after its rectangles are stored.
constexpr auto kPublish = std::memory_order_release;
constexpr auto kObserve = std::memory_order_acquire;

}  // namespace

bool CVideoGridLayout::IsLayout(int cells_per_screen) { return CellsPerRow(cells_per_screen) != 0; }

int CVideoGridLayout::CellsPerRow(int cells_per_screen) {
    switch (cells_per_screen) {
        case 4:
            return 2;
        case 9:
            return 3;
        case 16:
            return 4;
        case 25:
            return 5;
        case 36:
            return 6;
        case 64:
            return 8;
        case 144:
            return 12;
        case 256:
            return 16;
        default:
            return 0;
    }
}

int CVideoGridLayout::Init(int total, int layout) {
    if (!IsLayout(total)) return -1;
    total_.store(total, kRelaxed);
    selected_ = -1;
    layout_.store(layout, kRelaxed);
    page_.store(0, kRelaxed);
    previous_layout_ = 1;
    for (SharedCell& cell : cells_) {
        cell.x.store(0, kRelaxed);
        cell.y.store(0, kRelaxed);
        cell.visible.store(0, kRelaxed);
    }
    for (std::string& title : titles_)
        title.clear();
    if (IsLayout(layout)) ShowPage(layout, 0);
    return 0;
}

int CVideoGridLayout::SetLayout(int layout) {
    if (!IsLayout(layout)) return -1;
    HideAll();
    int page = 0;
    if (layout == Layout()) {
        page = Page() + 1;
        const int pages_bound = Total() / layout;
        // Layouts that do not divide 256 keep one more page for the cells left over.
        const bool even = layout == 4 || layout == 16 || layout == 64 || layout == 256;
        if (even ? page >= pages_bound : page > pages_bound) page = 0;
    }
    layout_.store(layout, kRelaxed);
    page_.store(page, kRelaxed);
    Recompute();
    ShowPage(layout, page);
    return 0;
}

int CVideoGridLayout::ToggleSingle() {
    const int layout = Layout();
    if (IsLayout(layout)) {
        if (!InRange(selected_)) return -1;
        HideAll();
        previous_layout_ = layout;
        layout_.store(1, kRelaxed);
        Recompute();
        cells_[selected_].visible.store(1, kPublish);
    } else if (layout == 1) {
        HideAll();
        layout_.store(previous_layout_, kRelaxed);
        Recompute();
        if (previous_layout_ == kCellCount) {
            ShowPage(kCellCount, 0);
        } else if (IsLayout(previous_layout_)) {
            ShowPage(previous_layout_, Page());
        }
    } else {
        HideAll();
    }
    return 0;
}

int CVideoGridLayout::HitTest(int x, int y) const {
    for (int i = 0; i < kCellCount; ++i) {
        const SharedCell& cell = cells_[i];
        if (!cell.visible.load(kRelaxed)) continue;
        const int left = cell.x.load(kRelaxed);
        const int top = cell.y.load(kRelaxed);
        if (left <= x && x <= left + cell.width.load(kRelaxed) && top <= y &&
            y <= top + cell.height.load(kRelaxed)) {
            return i;
        }
    }
    return -1;
}

int CVideoGridLayout::SelectAt(int x, int y) {
    const int hit = HitTest(x, y);
    if (hit < 0) return -1;
    selected_ = hit;
    ToggleSingle();
    return hit;
}

void CVideoGridLayout::ComputeCells(int left, int top, int right, int bottom) {
    client_ = {left, top, right, bottom};
    has_client_ = true;
    const int layout = Layout();
    const int width = right - left;
    const int height = bottom - top;
    const int per_row = CellsPerRow(layout);
    if (layout != 1 && per_row == 0) return;
    const bool band = HasTitleBand();
    const int page = Page();
    for (int i = 0; i < kCellCount; ++i) {
        int x = left, y = top, w = width, h = height;
        if (layout != 1) {
            w = width / per_row;
            h = height / per_row;
            const int j = i - page * layout;
            // Cells before the page get negative positions; they are never visible.
            const int column = j % per_row;
            const int row = j / per_row;
            x = left + column * w;
            y = top + row * h;
        }
        SharedCell& cell = cells_[i];
        cell.x.store(x, kRelaxed);
        cell.y.store(y, kRelaxed);
        cell.width.store(w, kRelaxed);
        cell.height.store(h, kRelaxed);
        cell.video_x.store(x + 2, kRelaxed);
        cell.video_width.store(w - 4, kRelaxed);
        cell.video_y.store(band ? y + kTitleBand_px : y, kRelaxed);
        cell.video_height.store(band ? h - (kTitleBand_px + 2) : h - 2, kRelaxed);
    }
}

VideoCell CVideoGridLayout::Cell(int index) const {
    if (!InRange(index)) return {};
    const SharedCell& c = cells_[index];
    const int visible = c.visible.load(kObserve);
    return {c.x.load(kRelaxed),
            c.y.load(kRelaxed),
            c.width.load(kRelaxed),
            c.height.load(kRelaxed),
            c.video_x.load(kRelaxed),
            c.video_y.load(kRelaxed),
            c.video_width.load(kRelaxed),
            c.video_height.load(kRelaxed),
            visible};
}

bool CVideoGridLayout::IsVisible(int index) const {
    return InRange(index) && cells_[index].visible.load(kObserve) != 0;
}

bool CVideoGridLayout::HasTitleBand() const {
    const int layout = Layout();
    return layout == 1 || (IsLayout(layout) && layout <= 36);
}

void CVideoGridLayout::SetChannelName(int index, const std::string& title) {
    if (InRange(index)) titles_[index] = title;
}

int CVideoGridLayout::SetTitleMode(int mode) {
    title_mode_ = mode;
    return 1;
}

const std::string& CVideoGridLayout::ChannelName(int index) const {
    static const std::string kNone;
    return InRange(index) ? titles_[index] : kNone;
}

std::string CVideoGridLayout::TitleText(int index) const {
    if (!InRange(index)) return {};
    char number[16];
    switch (title_mode_) {
        case 0:
            if (!titles_[index].empty()) return titles_[index];
            std::snprintf(number, sizeof number, "CH%02d", index + 1);
            return number;
        case 1:
            std::snprintf(number, sizeof number, "%02d", index + 1);
            return number;
        default:
            return {};
    }
}

void CVideoGridLayout::HideAll() {
    for (SharedCell& cell : cells_)
        cell.visible.store(0, kRelaxed);
}

void CVideoGridLayout::ShowPage(int layout, int page) {
    const int first = page * layout;
    for (int i = first; i < first + layout && i < kCellCount; ++i) {
        cells_[i].visible.store(1, kPublish);
    }
}

void CVideoGridLayout::Recompute() {
    if (has_client_) ComputeCells(client_[0], client_[1], client_[2], client_[3]);
}
