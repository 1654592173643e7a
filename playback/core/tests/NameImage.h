#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <vector>

// A two-level name image in the overlay file form.
class NameImage {
public:
    NameImage(int width_px, int height_px)
        : width_px_(width_px), height_px_(height_px), bytes_(5 + RowBytes() * height_px) {
        bytes_[0] = static_cast<uint8_t>(width_px / 100);
        bytes_[1] = static_cast<uint8_t>(width_px % 100);
        bytes_[2] = static_cast<uint8_t>(height_px / 100);
        bytes_[3] = static_cast<uint8_t>(height_px % 100);
        bytes_[4] = 2;
    }
    void Ink(int x, int y) { bytes_[5 + y * RowBytes() + x / 8] |= 0x80 >> (x % 8); }
    bool Inked(int x, int y) const {
        return bytes_[5 + y * RowBytes() + x / 8] & (0x80 >> (x % 8));
    }
    // Ink at every third pixel: ink and gaps in every rectangle.
    NameImage& Patterned() {
        for (int y = 0; y < height_px_; ++y)
            for (int x = 0; x < width_px_; ++x)
                if ((x + 2 * y) % 3 == 0) Ink(x, y);
        return *this;
    }
    void Write(const std::filesystem::path& path) const {
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes_.data()),
                   static_cast<std::streamsize>(bytes_.size()));
    }
    std::vector<uint8_t>& Bytes() { return bytes_; }

private:
    int RowBytes() const { return (width_px_ + 7) / 8; }

    int width_px_;
    int height_px_;
    std::vector<uint8_t> bytes_;
};
