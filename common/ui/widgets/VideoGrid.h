#pragma once

#include <QColor>
#include <QWidget>
#include <cstdint>
#include <string>

#include "common/ui/core/VideoGridLayout.h"

// The video window: draws the empty cells (frame, title band and title, fill) of the
// current layout and page and answers which cell lies under a point. Pictures are drawn
// into the cells' video rectangles by display code through the window's video surface;
// every repaint the grid asks for wipes them until the next picture arrives.
class CVideoGrid : public QWidget {
    Q_OBJECT

public:
    // How long the owner lets the frame threads settle on a new layout before it asks for the
    // layout's streams.
    static constexpr int kLayoutSettle_ms = 800;

    explicit CVideoGrid(QWidget* parent = nullptr);

    // 0; -1 when total is not a layout value. No repaint.
    int Init(int total, int layout);
    // A new layout at page 0, or the next page of the current one; repaints. 0; -1 for a
    // value that is not a layout.
    int SetLayout(int layout);
    // Between the selected cell enlarged and the remembered layout. No repaint.
    int ToggleSingle();
    // Selects the visible cell under the point and toggles single mode, then repaints; a
    // point on no visible cell changes nothing. Returns 0.
    int SelectAt(const QPoint& point);
    int HitTest(const QPoint& point) const;

    void SetChannelName(int cell, const std::string& title);
    int SetTitleMode(int mode);
    // Colours as 0x00BBGGRR: frame and title band, title text, cell fill. No repaint.
    void SetColors(std::uint32_t frame, std::uint32_t text, std::uint32_t fill);

    // Draws the whole control. Returns 0.
    int Paint(QPainter& painter);
    // Rectangles of all cells from the present client size. Returns 0.
    int ComputeCells();
    // Band, frame, fill and title of one cell. Returns 0.
    int DrawCell(int cell, QPainter& painter);

    // The cells, layout and titles; display code reads cells from any thread.
    CVideoGridLayout& Cells() { return cells_; }
    const CVideoGridLayout& Cells() const { return cells_; }
    QColor TextColour() const { return text_colour_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    // Wipes the pictures over the grid and asks for a repaint.
    void Invalidate();

    CVideoGridLayout cells_;
    QColor frame_colour_;
    QColor text_colour_;
    QColor fill_colour_;
    QFont title_font_;
};
