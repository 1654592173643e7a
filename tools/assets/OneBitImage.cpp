#include "tools/assets/OneBitImage.h"

#include <algorithm>
#include <stdexcept>

namespace skinart {

OneBitImage::OneBitImage(int width_px, int height_px) : width_px_(width_px), height_px_(height_px) {
    if (width_px < 1 || height_px < 1 || width_px > kMaxSide_px || height_px > kMaxSide_px) {
        throw std::invalid_argument("overlay image side outside 1..9999 pixels");
    }
    rows_.assign(static_cast<std::size_t>(RowBytes()) * height_px, 0);
}

void OneBitImage::SetInk(int x_px, int y_px) {
    if (x_px < 0 || y_px < 0 || x_px >= width_px_ || y_px >= height_px_) {
        return;
    }
    rows_[static_cast<std::size_t>(y_px) * RowBytes() + x_px / 8] |=
        static_cast<std::uint8_t>(0x80u >> (x_px % 8));
}

bool OneBitImage::Ink(int x_px, int y_px) const {
    if (x_px < 0 || y_px < 0 || x_px >= width_px_ || y_px >= height_px_) {
        return false;
    }
    return (rows_[static_cast<std::size_t>(y_px) * RowBytes() + x_px / 8] &
            (0x80u >> (x_px % 8))) != 0;
}

std::vector<std::uint8_t> OneBitImage::Encode() const {
    std::vector<std::uint8_t> file(5 + rows_.size());
    file[0] = static_cast<std::uint8_t>(width_px_ / 100);
    file[1] = static_cast<std::uint8_t>(width_px_ % 100);
    file[2] = static_cast<std::uint8_t>(height_px_ / 100);
    file[3] = static_cast<std::uint8_t>(height_px_ % 100);
    file[4] = kTwoLevelType;
    std::copy(rows_.begin(), rows_.end(), file.begin() + 5);
    return file;
}

}  // namespace skinart
