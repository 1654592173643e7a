#include "playback/core/decode/ChannelNameOverlay.h"

#include <algorithm>
#include <cstdio>
#include <memory>

#include "common/picture/PictureFormat.h"
#include "playback/core/decode/ChannelNamePlace.h"

namespace {

struct ImageHeader {
    int width = 0;
    int height = 0;
    int type = 0;
    std::size_t data_bytes = 0;
};

ImageHeader ParseHeader(const std::uint8_t* bytes) {
    ImageHeader header;
    header.width = bytes[0] * 100 + bytes[1];
    header.height = bytes[2] * 100 + bytes[3];
    header.type = bytes[4];
    const std::size_t width = static_cast<std::size_t>(header.width);
    const std::size_t height = static_cast<std::size_t>(header.height);
    header.data_bytes = header.type == CChannelNameOverlay::kTwoLevelType ? (width + 7) / 8 * height
                                                                          : width * height * 3 / 2;
    return header;
}

// Picture size of the format code, the remainder taken with the code's sign: a negative
// multiple of 3 counts as remainder 0, any other negative code has no size.
bool BlendPictureSize(int code, int& width, int& height) {
    const int remainder = code % kSizeCodes;
    if (remainder < 0) return false;
    const int full_height = code / kSizeCodes == kStandard480 ? kFullHeight480 : kFullHeight576;
    width = remainder == kSizeCodeCif ? kCifWidth : kFullWidth;
    height = remainder == 0 ? full_height : full_height / 2;
    return true;
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

int CChannelNameOverlay::LoadFiles(const std::string& program_folder) {
    full_width_ = ReadImageFile((program_folder + "/" + kFullWidthFile).c_str());
    if (full_width_.empty()) return -1;
    cif_ = ReadImageFile((program_folder + "/" + kCifFile).c_str());
    return cif_.empty() ? -1 : 1;
}

std::vector<std::uint8_t> CChannelNameOverlay::ReadImageFile(const char* path) {
    if (path == nullptr) {
        std::printf(" file_name is NULL!\n");
        return {};
    }
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path, "rb"));
    if (!file) {
        std::printf("open %s error!\n", path);
        return {};
    }
    std::uint8_t head[kHeaderBytes];
    if (std::fread(head, 1, kHeaderBytes, file.get()) != kHeaderBytes) {
        std::printf(" ret = %d total_bytes=%d\n", 0, static_cast<int>(kHeaderBytes));
        return {};
    }
    const ImageHeader header = ParseHeader(head);
    if (header.type == kTwoLevelType) {
        std::printf(" buf_width = %d buf_height = %d width=%d\n", (header.width + 7) / 8,
                    header.height, header.width);
    }
    const std::size_t total_bytes = header.data_bytes + kHeaderBytes;
    std::vector<std::uint8_t> block(total_bytes);
    std::rewind(file.get());
    const std::size_t read_bytes = std::fread(block.data(), 1, total_bytes, file.get());
    if (read_bytes < total_bytes) {
        std::printf(" ret = %d total_bytes=%d\n", static_cast<int>(read_bytes),
                    static_cast<int>(total_bytes));
        return {};
    }
    return block;
}

int CChannelNameOverlay::BlendGlyph(std::span<const std::uint8_t> image, std::uint8_t* picture,
                                    int code, int dx, int dy, int sx, int sy, int sw, int sh,
                                    std::uint32_t colour) {
    if (image.size() < kHeaderBytes) {
        std::printf(" yuv_buf is NULL!\n");
        return -1;
    }
    const ImageHeader header = ParseHeader(image.data());
    if (header.type != kTwoLevelType) {
        std::printf(" pic is not 2bit\n");
        return -1;
    }
    int width = 0;
    int height = 0;
    if (!BlendPictureSize(code, width, height)) return 0;
    if (picture == nullptr || image.size() < kHeaderBytes + header.data_bytes) return -1;
    if (sw == 0 || sh == 0) {
        sx = 0;
        sy = 0;
        sw = header.width;
        sh = header.height;
    }
    // The rectangle as far as it lies inside the image, and inside the picture once moved.
    const int x_begin = std::max({sx, 0, sx - dx});
    const int x_end = std::min({sx + sw, header.width, sx - dx + width});
    const int y_begin = std::max({sy, 0, sy - dy});
    const int y_end = std::min({sy + sh, header.height, sy - dy + height});

    const std::uint8_t y_value = static_cast<std::uint8_t>(colour >> 16);
    const std::uint8_t u_value = static_cast<std::uint8_t>(colour >> 8);
    const std::uint8_t v_value = static_cast<std::uint8_t>(colour);
    const std::size_t row_bytes = (static_cast<std::size_t>(header.width) + 7) / 8;
    const std::size_t luma_bytes = static_cast<std::size_t>(width) * height;
    std::uint8_t* u_plane = picture + luma_bytes;
    std::uint8_t* v_plane = picture + luma_bytes * 5 / 4;
    for (int y = y_begin; y < y_end; ++y) {
        const std::uint8_t* row = image.data() + kHeaderBytes + row_bytes * y;
        const int py = dy + y - sy;
        for (int x = x_begin; x < x_end; ++x) {
            if ((row[x / 8] & (0x80 >> (x % 8))) == 0) continue;
            const int px = dx + x - sx;
            picture[static_cast<std::size_t>(py) * width + px] = y_value;
            const std::size_t chroma = static_cast<std::size_t>(py / 2) * (width / 2) + px / 2;
            u_plane[chroma] = u_value;
            v_plane[chroma] = v_value;
        }
    }
    return 1;
}

int CChannelNameOverlay::DrawChannelName(std::uint8_t* picture, int code, int channel) const {
    const auto place = ChannelNamePlaceOf(code, channel);
    if (!place) return 0;
    return BlendGlyph(place->cif ? cif_ : full_width_, picture, code, place->x, place->y,
                      place->source_x, place->source_y, place->source_width, place->source_height,
                      kChannelNameColour);
}
