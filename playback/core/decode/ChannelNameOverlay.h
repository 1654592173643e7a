#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// The channel names that recorders of type codes below 1000 leave to the client: two
// pre-rendered one-bit images holding the name strips of all 16 channels, one for 720-pixel
// and one for 352-pixel-wide pictures, blended into decoded 4:2:0 pictures in one colour.
//
// An image file is a five-byte header (width as hundreds and remainder, height likewise, a
// type byte, 2 = one bit per pixel) and the rows, top first, ceil(width / 8) bytes each, the
// leftmost pixel in the most significant bit. Loaded once, the images are read-only, so the
// decode thread blends without a lock.
class CChannelNameOverlay {
public:
    static constexpr const char* kFullWidthFile = "config/channel.yuv";
    static constexpr const char* kCifFile = "config/cif_8_channel.yuv";
    static constexpr std::uint8_t kTwoLevelType = 2;
    static constexpr std::size_t kHeaderBytes = 5;

    CChannelNameOverlay() = default;
    virtual ~CChannelNameOverlay() = default;

    // Reads both images below the program's folder. 1 when both are loaded, else -1.
    int LoadFiles(const std::string& program_folder);

    // The whole file, header included; empty when it is missing, unreadable or shorter than
    // its header announces. Bytes past the announced size are left out.
    static std::vector<std::uint8_t> ReadImageFile(const char* path);

    // Blends the name pixels of the source rectangle (the whole image when sw or sh is 0) into
    // the picture of the format code with its top-left corner at (dx, dy); colour holds Y in
    // bits 16-23, the second plane's value in bits 8-15, the third's in bits 0-7. Only the part
    // that lies inside both the image and the picture is drawn. 1 when blended; -1 for an
    // empty image or one that is not two-level; 0 for a negative code that is not a multiple
    // of 3.
    static int BlendGlyph(std::span<const std::uint8_t> image, std::uint8_t* picture, int code,
                          int dx, int dy, int sx, int sy, int sw, int sh, std::uint32_t colour);

    // Stamps the channel's name into a picture of the format code at the place
    // ChannelNamePlaceOf gives, in kChannelNameColour. BlendGlyph's result; 0 for a channel
    // outside 0..15.
    int DrawChannelName(std::uint8_t* picture, int code, int channel) const;

    std::span<const std::uint8_t> FullWidthImage() const { return full_width_; }
    std::span<const std::uint8_t> CifImage() const { return cif_; }

private:
    std::vector<std::uint8_t> full_width_;
    std::vector<std::uint8_t> cif_;
};
