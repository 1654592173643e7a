#pragma once

#include <QImage>
#include <QRectF>
#include <QSize>
#include <vector>

#include "tools/assets/ButtonFace.h"

namespace skinart {

// One skinned button: its images are <stem>1.bmp .. <stem><image_count>.bmp, drawn at the size
// the window gives the button before it skins it.
struct SkinButtonArt {
    const char* stem;
    QSize size_px;
    int image_count;  // 3 when the window shows image 1 for the disabled button
    GlyphPainter glyph;
    // The pad's cover plate is shown at twice its skinned size, where the source offset falls
    // away: its face is the plain ellipse of the image.
    bool drawn_without_offset = false;

    QRectF Face() const;
};

// A window's skin folder: BACKGROUND.bmp and the images of its buttons.
struct SkinFolderArt {
    const char* folder;  // below the client programs' folder
    QImage (*background)();
    std::vector<SkinButtonArt> buttons;
};

const std::vector<SkinFolderArt>& SkinFolders();

}  // namespace skinart
