#pragma once

#include <QFrame>
#include <QImage>

// The preview box: a disabled field with a sunken edge of 2 pixels, showing the last drawing
// from its client area's top-left corner (what lies beyond is cut off).
class PreviewCanvas : public QFrame {
public:
    explicit PreviewCanvas(QWidget* parent);

    void SetPicture(const QImage& picture);
    const QImage& Picture() const { return picture_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage picture_;
};
