#include "playback/core/decode/ChannelNamePlace.h"

#include <array>

#include "common/picture/PictureFormat.h"

namespace {

constexpr int kChannels = 16;
constexpr int kNarrowChannels = 9;  // 0..8 on the first row of strips, 9..15 on the second

constexpr std::array<int, kChannels - kNarrowChannels> kWideX = {30, 122, 216, 308, 402, 494, 588};
constexpr std::array<int, kChannels - kNarrowChannels> kCifWideX = {20,  80,  140, 202,
                                                                    264, 326, 388};

}  // namespace

std::optional<ChannelNamePlace> ChannelNamePlaceOf(int format_code, int channel) {
    if (channel < 0 || channel >= kChannels) return std::nullopt;
    const bool narrow = channel < kNarrowChannels;
    ChannelNamePlace place;
    if (format_code % kSizeCodes == kSizeCodeCif) {
        place.cif = true;
        place.source_x = narrow ? 12 + 50 * channel : kCifWideX[channel - kNarrowChannels];
        place.source_y = narrow ? 14 : 51;
        place.source_width = narrow ? 50 : 55;
        place.source_height = 18;
        place.x = 20;
        place.y = 230 - 40 * (format_code / kSizeCodes);
        return place;
    }
    place.source_x = narrow ? 18 + 74 * channel : kWideX[channel - kNarrowChannels];
    place.source_y = narrow ? 62 : 121;
    place.source_width = narrow ? 65 : 88;
    place.source_height = 30;
    place.x = 20;
    place.y = 10;
    return place;
}
