#include "common/ui/core/SkinImageOffset.h"

int SkinImageOffset(SkinAlign align, int face_px, int image_px, int border_px) {
    switch (align) {
        case SkinAlign::kStart:
            return 0;
        case SkinAlign::kEnd:
            return face_px - image_px < 2 * border_px ? image_px - face_px : 0;
        case SkinAlign::kCenter:
            return (face_px - image_px) / 2 + border_px < 2 * border_px ? (image_px - face_px) / 2
                                                                        : 0;
    }
    return 0;
}
