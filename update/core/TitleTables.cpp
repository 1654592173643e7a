#include "update/core/TitleTables.h"

#include "update/core/FileBytes.h"
#include "update/core/YCbCr.h"

namespace {

constexpr std::size_t kFileHeader_bytes = 14;
constexpr std::size_t kInfoHeader_bytes = 40;
constexpr std::uint64_t kMaxBitmap_bytes = 64ull << 20;
constexpr std::uint16_t kColorInUse = 0x100;
constexpr std::uint8_t kFirstColorAddress = 0x80;

constexpr char kFailure[] = "Failure";
constexpr char kReadFailure[] = "File reading failure !!!";

std::uint32_t Get32(const std::uint8_t* at) {
    return static_cast<std::uint32_t>(at[0]) | static_cast<std::uint32_t>(at[1]) << 8 |
           static_cast<std::uint32_t>(at[2]) << 16 | static_cast<std::uint32_t>(at[3]) << 24;
}

std::uint16_t Get16(const std::uint8_t* at) {
    return static_cast<std::uint16_t>(at[0] | at[1] << 8);
}

// "0x" and the two lower-case hexadecimal digits of a byte.
void AppendHexByte(std::string& text, unsigned value) {
    static constexpr char kDigits[] = "0123456789abcdef";
    text += "0x";
    text += kDigits[(value >> 4) & 0xF];
    text += kDigits[value & 0xF];
}

bool IsTransparent(const std::uint8_t* bgr) {
    return bgr[0] == 0xFF && bgr[1] == 0xFF && bgr[2] == 0xFF;
}

}  // namespace

TitleTables::TitleTables(ToolMessageSink show) : show_(std::move(show)) { ResetColors(); }

void TitleTables::Fail(const std::string& text, const std::string& caption) const {
    show_({text, caption, true});
}

void TitleTables::ResetColors() {
    colors_.fill(Bgr{});
    color_flags_.fill(0);
    used_color_count_ = 0;
}

std::size_t TitleTables::RowBytes() const {
    return (static_cast<std::size_t>(width_px_) * 3 + 3) / 4 * 4;
}

const std::uint8_t* TitleTables::FileRow(int row) const {
    return bitmap_.data() + pixel_offset_ + static_cast<std::size_t>(row) * RowBytes();
}

int TitleTables::ReadBitmapFile(const std::string& path) {
    std::string error;
    auto file = ReadFileBytes(path, &error);
    if (!file || file->size() < kFileHeader_bytes || (*file)[0] != 'B' || (*file)[1] != 'M') {
        Fail("The file is not bitmap image !!!", kFailure);
        return 0;
    }
    const std::uint32_t file_bytes = Get32(file->data() + 2);
    if (file_bytes < kFileHeader_bytes + kInfoHeader_bytes || file_bytes > file->size()) {
        Fail(kReadFailure, kFailure);
        return 0;
    }
    bitmap_.assign(file->begin() + kFileHeader_bytes, file->begin() + file_bytes);
    width_px_ = height_px_ = 0;

    const std::uint32_t info_bytes = Get32(bitmap_.data());
    const auto width = static_cast<std::int32_t>(Get32(bitmap_.data() + 4));
    const auto height = static_cast<std::int32_t>(Get32(bitmap_.data() + 8));
    const std::uint16_t bits = Get16(bitmap_.data() + 14);
    if (bits == 8) {
        Fail("The input file should be 24bit colors bitmap.\n Current file is 256 colors bitmap.",
             kFailure);
        return 0;
    }
    if (bits == 4) {
        Fail("The input file should be 24bit colors bitmap.\n Current file is 16 colors bitmap.",
             kFailure);
        return 0;
    }
    if (bits != 24) {
        Fail("The input file should be 24bit colors bitmap.\n Current file has " +
                 std::to_string(bits) + " bits per pixel.",
             kFailure);
        return 0;
    }
    // Rows bottom first only; every row the header promises must be in the file.
    const std::uint64_t row_bytes =
        (static_cast<std::uint64_t>(width < 0 ? 0 : width) * 3 + 3) / 4 * 4;
    if (info_bytes < kInfoHeader_bytes || info_bytes > bitmap_.size() || width < 0 || height < 0 ||
        row_bytes * static_cast<std::uint64_t>(height) > kMaxBitmap_bytes ||
        row_bytes * static_cast<std::uint64_t>(height) > bitmap_.size() - info_bytes) {
        Fail(kReadFailure, kFailure);
        return 0;
    }
    pixel_offset_ = info_bytes;
    width_px_ = width;
    height_px_ = height;
    return 1;
}

int TitleTables::CollectUsedColors() {
    for (int row = 0; row < height_px_; ++row) {
        const std::uint8_t* p = FileRow(row);
        for (int x = 0; x < width_px_; ++x, p += 3) {
            if (IndexOf(p) >= 0) continue;
            if (used_color_count_ >= kMaxColors) {
                Fail("The number of used color is great than 63.", "Number of color violation");
                return 0;
            }
            colors_[used_color_count_] = Bgr{p[0], p[1], p[2]};
            color_flags_[used_color_count_] = kColorInUse;
            ++used_color_count_;
        }
    }
    return 1;
}

int TitleTables::IndexOf(const std::uint8_t* bgr) const {
    const Bgr colour{bgr[0], bgr[1], bgr[2]};
    for (int i = 0; i < kMaxColors; ++i) {
        if (!(color_flags_[static_cast<std::size_t>(i)] & kColorInUse)) return -1;
        if (colors_[static_cast<std::size_t>(i)] == colour) return i;
    }
    return -1;
}

void TitleTables::WriteColorTable(std::string& text) const {
    text += "code unsigned char ct_1[]={\n";
    text += std::to_string(used_color_count_) + ",\t// used color\n//\tY,\tCb,\tCr,\taddr\n";
    for (int d = 0; d < used_color_count_; ++d) {
        const Bgr c = colors_[static_cast<std::size_t>(d)];
        const auto ycbcr = RgbToYCbCr(c.blue, c.green, c.red);
        for (int i = 0; i < 3; ++i) {
            AppendHexByte(text, ycbcr[static_cast<std::size_t>(i)]);
            text += ",\t";
        }
        AppendHexByte(text, kFirstColorAddress + static_cast<unsigned>(d));
        text += d + 1 < used_color_count_ ? ",\n" : "\n};\n\n";
    }
}

void TitleTables::WriteBitmapTableHeader(std::string& text) const {
    const unsigned lines = static_cast<unsigned>(Lines());
    const unsigned width = static_cast<unsigned>(width_px_);
    text += "code unsigned char gt_1_tmp[]={\n";
    text += std::to_string(lines / 256) + ",\t//... bit[15:8] of vertical size\n";
    text += std::to_string(lines % 256) + ",\t//... bit[7:0] of vertical size\n";
    text += std::to_string(width / 256) + ",\t//... bit[15:8] of horizontal size\n";
    text += std::to_string(width % 256) + ",\t//... bit[7:0] of horizontal size\n";
    text += "1,\t\t//... column number of table in each bitmap unit\n";
}

void TitleTables::WritePixelTable(std::string& text) const {
    const int lines = Lines();
    for (int y = 0; y < height_px_; ++y) {
        const int from_bottom = height_px_ - 1 - y;
        const std::uint8_t* p = FileRow(from_bottom);
        for (int x = 0; x < width_px_; ++x, p += 3) {
            if (x > 0) text += ',';
            AppendHexByte(text, IsTransparent(p) ? 0xFFu : static_cast<unsigned>(IndexOf(p)));
        }
        if (from_bottom == 0) {
            text += '\n';
        } else {
            text += ",\n";
            if (lines > 0 && from_bottom % lines == 0) text += '\n';
        }
    }
    text += "};\n\n";
}

int TitleTables::ConvertBitmapToTables(const std::string& bitmap_path,
                                       const std::string& table_path) {
    // Every conversion starts from an empty colour table, so a second one in the same dialog
    // finds the same colours at the same addresses.
    ResetColors();
    if (!ReadBitmapFile(bitmap_path)) return -1;
    if (width_px_ == 0 || height_px_ == 0) {
        Fail("Image size is 0 !!", kFailure);
        return -1;
    }
    if (width_px_ % 4 != 0) {
        Fail("Number of horizontal pixel of image is not multiple of 4.",
             "Number of pixel violation");
        return -1;
    }
    // A picture of fewer than 16 rows has units of no line at all.
    if (Lines() == 0) {
        Fail("Image size is 0 !!", kFailure);
        return -1;
    }
    if (Lines() % 2 != 0) {
        Fail("Number of vertical line of image is not multiple of 2.", "Number of line violation");
        return -1;
    }
    if (!CollectUsedColors()) return -1;

    std::string text;
    WriteColorTable(text);
    text += "\n\n";
    WriteBitmapTableHeader(text);
    WritePixelTable(text);
    std::string error;
    if (!WriteFileBytes(table_path, text, &error)) {
        Fail("open file error!\n" + error, kFailure);
        return -1;
    }
    return 0;
}
