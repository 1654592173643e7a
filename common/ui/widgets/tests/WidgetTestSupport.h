#pragma once

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <string>

// A private folder for the images a test writes.
class SkinFolderTest : public ::testing::Test {
protected:
    std::string Path(const QString& name) const { return folder_.filePath(name).toStdString(); }

    std::string WriteBmp(const QString& name, const QImage& image) const {
        const std::string path = Path(name);
        EXPECT_TRUE(
            image.convertToFormat(QImage::Format_RGB32).save(QString::fromStdString(path), "BMP"));
        return path;
    }

    static QImage Solid(int width, int height, const QColor& colour) {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(colour);
        return image;
    }

    QTemporaryDir folder_;
};

inline bool Near(QRgb a, const QColor& b, int tolerance = 2) {
    return std::abs(qRed(a) - b.red()) <= tolerance &&
           std::abs(qGreen(a) - b.green()) <= tolerance &&
           std::abs(qBlue(a) - b.blue()) <= tolerance;
}

// A 24-bit picture (B, G, R rows, top first) of width x height, filled by f(x, y) -> QColor.
template <class F>
std::vector<unsigned char> Bgr24Picture(int width, int height, F&& f) {
    std::vector<unsigned char> picture(static_cast<std::size_t>(width) * height * 3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const QColor c = f(x, y);
            unsigned char* p = &picture[(static_cast<std::size_t>(y) * width + x) * 3];
            p[0] = static_cast<unsigned char>(c.blue());
            p[1] = static_cast<unsigned char>(c.green());
            p[2] = static_cast<unsigned char>(c.red());
        }
    }
    return picture;
}
