#pragma once

#include <QPixmap>
#include <QSlider>
#include <cstdint>

// A flat trackbar: its channel drawn over a copy of what the parent shows behind it, a flat
// thumb that changes colour while pressed, and a click anywhere on the channel moves the
// thumb there.
class CTransparentSlider : public QSlider {
    Q_OBJECT

public:
    static constexpr std::uint32_t kThumbColour = 0xF0987F;  // COLORREF
    static constexpr std::uint32_t kPressedColour = 0xE1E1E1;
    static constexpr int kThumbWidth_px = 8;

    explicit CTransparentSlider(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    int ValueAt(int x_px) const;

    QPixmap background_;  // the parent's pixels behind the control, taken when shown
};
