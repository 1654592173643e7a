#pragma once

#include <QImage>
#include <QRect>
#include <string>

class QPainter;

// A window's background image, read from its skin folder once and painted edge to edge.
class CSkinBitmap {
public:
    // Stores the path; loads nothing. Returns 0.
    int SetFileName(const std::string& path);
    // Drops the current image, then, unless token is 0, reads the file. 1 on success or for
    // token 0; 0 when the file cannot be read (no image, size unchanged).
    int LoadFromFile(int token);
    // Copies of the image from (0, 0) across the rectangle's extent, whole copies only
    // clipped by the painter. 1; 0 when no image is loaded (the owner erases as usual).
    int Tile(QPainter& painter, const QRect& rect) const;

    bool IsLoaded() const { return !bitmap_.isNull(); }
    int Width() const { return width_; }
    int Height() const { return height_; }

private:
    QImage bitmap_;
    int width_ = 0;
    int height_ = 0;
    std::string path_;
};
