#include "tools/recorder-emulator/PictureSize.h"

std::optional<PictureSize> PictureSizeOf(int standard, int size_code) {
    const int full_height = standard == 1 ? 480 : 576;
    switch (size_code) {
        case 0:
            return PictureSize{720, full_height};
        case 1:
            return PictureSize{720, full_height / 2};
        case 2:
            return PictureSize{352, full_height / 2};
        default:
            return std::nullopt;
    }
}
