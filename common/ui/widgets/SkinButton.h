#pragma once

#include <QPushButton>
#include <QTimer>
#include <string>

#include "common/ui/core/SkinImageOffset.h"

// The push button of the skinned windows: its face is one of four bitmap files chosen by
// state (normal, hover, pressed, disabled), read from disk at every draw, and once skinned
// it is clipped to the ellipse of its size. A state whose file is missing shows the normal
// image; without that too the button draws a plain face, so the window stays usable.
class CSkinButton : public QPushButton {
    Q_OBJECT

public:
    // One system border, in pixels; the face is the button less two borders on each side.
    static constexpr int kBorder_px = 1;
    static constexpr int kHoverDelay_ms = 1;

    explicit CSkinButton(QWidget* parent = nullptr);

    // Full paths of the state images. Returns 0; draws nothing.
    int SetImages(const std::string& normal, const std::string& pressed,
                  const std::string& disabled, const std::string& hover);
    // A null text is ignored; a second text replaces the first. activate 0 silences it.
    void SetToolTipText(const char* text, int activate);
    // Clips the button to the ellipse of its present size. Owners call it once the button
    // has its final geometry; a later resize keeps the earlier ellipse.
    void PreSubclassWindow();
    // Which part of an image larger than the face is shown (centre by default).
    void SetImageAlignment(Qt::Alignment alignment);

    // Path of the image the present state shows.
    const std::string& StateImage() const;
    bool IsHover() const { return hover_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void DrawItem(QPainter& painter);
    void DrawFallback(QPainter& painter);
    void OnMouseHover();

    bool hover_ = false;
    bool tracking_ = false;
    QTimer hover_timer_;
    std::string normal_;
    std::string pressed_;
    std::string disabled_;
    std::string hover_image_;
    SkinAlign align_x_ = SkinAlign::kCenter;
    SkinAlign align_y_ = SkinAlign::kCenter;
};
