#include "PictureFormat.h"

bool FormatPictureSize(int format_code, int& width, int& height) {
    if (format_code < 0) {
        return false;
    }
    const bool lines_480 = format_code / 3 == 1;
    const int full_height = lines_480 ? 480 : 576;
    switch (format_code % 3) {
        case 0:
            width = 720;
            height = full_height;
            break;
        case 1:
            width = 720;
            height = full_height / 2;
            break;
        default:
            width = 352;
            height = full_height / 2;
            break;
    }
    return true;
}
