#pragma once

#include <QImage>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "common/ui/core/WindowGate.h"
#include "playback/core/window/SliderTrack.h"

// A slider drawn from bitmaps: a thumb image moves along the control, dragged with the mouse
// or moved with the keys, and its window is told by posted messages while the thumb is dragged
// (WM_IMAGESLIDER_MOVING) and when a move is complete (WM_IMAGESLIDER_CHANGED), with the
// control's id and the new position. The track shows what lies under the control.
class CImageSlider : public QWidget {
    Q_OBJECT

public:
    // Transparent colour meaning "the colour of the bitmap's pixel at (x, y)".
    static constexpr std::uint32_t kColourOfPixel = 0xFF000000u;

    CImageSlider(int control_id, std::string program_folder, QWidget* parent = nullptr);

    void SetMinimum(int minimum, bool redraw);
    void SetMaximum(int maximum, bool redraw);
    void SetRange(int minimum, int maximum, bool redraw = false);
    void SetPos(int position);
    int GetPos() const { return track_.GetPos(); }
    void SetFocusRectOption(bool draw, bool redraw);
    // Thumb and pressed thumb from the program's bitmap resources (pressed_id 0: none); with
    // transparent set, the pixels of the transparent colour (a COLORREF, or kColourOfPixel)
    // are left unpainted. 1; 0 when a bitmap cannot be loaded; thumb_id 0 unloads the thumb.
    int SetBitmaps(int thumb_id, int pressed_id, bool transparent, std::uint32_t colour, int x,
                   int y);

    // Where the messages go: the handler runs through the window's gate, after what is
    // already queued. A slider without one posts nothing.
    using MessageHandler = std::function<void(int message, int control_id, int position)>;
    void SetMessageTarget(std::shared_ptr<CWindowGate> gate, MessageHandler handler);

    const CSliderTrack& Track() const { return track_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // The bitmap with its transparent pixels cleared, or as it is when not transparent.
    static QImage MaskedThumb(const QImage& bitmap, bool transparent, std::uint32_t colour, int x,
                              int y);
    void Post(const std::optional<SliderPost>& post);

    const int control_id_;
    const std::string program_folder_;
    std::shared_ptr<CWindowGate> gate_;
    MessageHandler handler_;
    CSliderTrack track_;
    QImage thumb_;
    QImage pressed_thumb_;
    bool draw_focus_rect_ = true;
};
