#include "Yuy2Picture.h"

#include <vector>

#include "VideoSurface.h"

namespace {

// Written with conditional moves in mind: chroma noise makes branches mispredict.
inline std::uint32_t Clamp8(int value) {
    value = value < 0 ? 0 : value;
    return static_cast<std::uint32_t>(value > 255 ? 255 : value);
}

}  // namespace

namespace {

// One pixel from its luma and the chroma terms of its pair.
inline std::uint32_t Argb(int luma, int red, int green, int blue) {
    const int c = 298 * (luma - 16) + 128;
    return 0xFF000000u | (Clamp8((c + red) >> 8) << 16) | (Clamp8((c + green) >> 8) << 8) |
           Clamp8((c + blue) >> 8);
}

inline std::uint32_t PairPixel(const unsigned char* pair, int half) {
    const int d = pair[1] - 128;
    const int e = pair[3] - 128;
    return Argb(pair[half * 2], 409 * e, -100 * d - 208 * e, 516 * d);
}

// Enlarging: converts a whole source row the first time the stretch asks for a pixel of
// it, so each source pixel and each pair's chroma terms are worked out once.
class RowConverter {
public:
    RowConverter(const unsigned char* picture, int width) : picture_(picture), width_(width) {
        row_.resize(static_cast<std::size_t>(width));
    }

    std::uint32_t operator()(int x, int y) {
        if (y != converted_y_) Convert(y);
        return row_[x];
    }

private:
    void Convert(int y) {
        const unsigned char* in = picture_ + static_cast<std::size_t>(y) * width_ * 2;
        for (int x = 0; x < width_; x += 2, in += 4) {
            const int d = in[1] - 128;
            const int e = in[3] - 128;
            const int red = 409 * e;
            const int green = -100 * d - 208 * e;
            const int blue = 516 * d;
            row_[x] = Argb(in[0], red, green, blue);
            row_[x + 1] = Argb(in[2], red, green, blue);
        }
        converted_y_ = y;
    }

    const unsigned char* picture_;
    int width_;
    int converted_y_ = -1;
    std::vector<std::uint32_t> row_;
};

}  // namespace

int DrawYuy2(CVideoSurface& surface, const ScreenRect& dest_screen, int width, int height,
             const unsigned char* picture) {
    if (!picture || width <= 0 || height <= 0 || width % 2 != 0) return -1;
    if (dest_screen.Width() >= width) {
        return surface.DrawScaled(dest_screen, width, height, RowConverter(picture, width));
    }
    // Shrinking: only the pixels kept are converted.
    const std::size_t row_bytes = static_cast<std::size_t>(width) * 2;
    return surface.DrawScaled(dest_screen, width, height, [=](int x, int y) {
        return PairPixel(picture + y * row_bytes + (x & ~1) * 2, x & 1);
    });
}
