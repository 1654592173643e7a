#pragma once

#include <array>
#include <atomic>
#include <string>

// One cell of the video grid in the grid's client coordinates, as read at one moment.
struct VideoCell {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    int video_x = 0;
    int video_y = 0;
    int video_width = 0;
    int video_height = 0;
    int visible = 0;
};

// The rules of the video window: 256 cells shown in square layouts with paging, one cell
// enlarged in single mode, rectangles from the client size, hit testing and cell titles.
// The window thread changes it; display code on frame threads reads cells through Cell()
// without a lock, which is why every shared field is atomic.
class CVideoGridLayout {
public:
    static constexpr int kCellCount = 256;
    static constexpr int kTitleBand_px = 14;

    // One of the layouts 4, 9, 16, 25, 36, 64, 144, 256.
    static bool IsLayout(int cells_per_screen);
    // Cells per row and column of a layout; 0 for other values.
    static int CellsPerRow(int cells_per_screen);

    // 0; -1 when total is not a layout value (then nothing changes).
    int Init(int total, int layout);
    // A new layout at page 0, or the next page of the current one (wrapping). 0; -1 for a
    // value that is not a layout (nothing changes).
    int SetLayout(int layout);
    // Between the selected cell enlarged and the remembered layout and page. 0; -1 when
    // single mode would be entered without a selected cell (nothing changes).
    int ToggleSingle();
    // Index of the first visible cell whose rectangle holds the point (edges included),
    // or -1.
    int HitTest(int x, int y) const;
    // Selects the visible cell under the point and toggles single mode. The cell, or -1
    // when none is there (nothing changes).
    int SelectAt(int x, int y);
    // Recomputes every cell's rectangles from the client rectangle. Later layout, page and
    // single-mode changes recompute them from the same rectangle before any cell turns
    // visible, so display code never draws a newly shown cell at an old place.
    void ComputeCells(int left, int top, int right, int bottom);

    VideoCell Cell(int index) const;
    bool IsVisible(int index) const;

    int Layout() const { return layout_.load(std::memory_order_relaxed); }
    int Page() const { return page_.load(std::memory_order_relaxed); }
    int Selected() const { return selected_; }
    int PreviousLayout() const { return previous_layout_; }
    int Total() const { return total_.load(std::memory_order_relaxed); }
    // The owner rewrites the total as its view changes; it bounds paging only.
    void SetTotal(int total) { total_.store(total, std::memory_order_relaxed); }
    void SetSelected(int index) { selected_ = index; }

    // Layouts 1 to 36 have a title band above each picture; 64 and more have none.
    bool HasTitleBand() const;

    void SetChannelName(int index, const std::string& title);
    // 1. Mode 0: the cell's title, or "CH%02d" while empty; 1: "%02d"; 2: no text.
    int SetTitleMode(int mode);
    const std::string& ChannelName(int index) const;
    std::string TitleText(int index) const;

private:
    struct SharedCell {
        std::atomic<int> x{0}, y{0}, width{0}, height{0};
        std::atomic<int> video_x{0}, video_y{0}, video_width{0}, video_height{0};
        std::atomic<int> visible{0};
    };

    void HideAll();
    void Recompute();
    void ShowPage(int layout, int page);
    static bool InRange(int index) { return index >= 0 && index < kCellCount; }

    std::array<SharedCell, kCellCount> cells_;
    std::array<std::string, kCellCount> titles_;
    std::atomic<int> layout_{0};
    std::atomic<int> page_{0};
    std::atomic<int> total_{0};
    std::array<int, 4> client_{};  // left, top, right, bottom of the last ComputeCells
    bool has_client_ = false;
    int selected_ = -1;
    int previous_layout_ = 1;
    int title_mode_ = 0;
};
