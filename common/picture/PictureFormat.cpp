#include "common/picture/PictureFormat.h"

bool FormatPictureSize(int format_code, int& width, int& height) {
    if (format_code < 0) {
        return false;
    }
    const int full_height =
        format_code / kSizeCodes == kStandard480 ? kFullHeight480 : kFullHeight576;
    switch (format_code % kSizeCodes) {
        case 0:
            width = kFullWidth;
            height = full_height;
            break;
        case 1:
            width = kFullWidth;
            height = full_height / 2;
            break;
        default:
            width = kCifWidth;
            height = full_height / 2;
            break;
    }
    return true;
}
