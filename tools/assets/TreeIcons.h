#pragma once

#include <QImage>
#include <vector>

namespace skinart {

// A 16 x 16 icon of the device tree with its transparency (the image list's mask).
struct TreeIconArt {
    int resource_id;  // the number the tree's image list adds it by
    QImage image;
};

// In image-list order: the root, a device that logged in as an ordinary user, a device that
// is not connected, a device connected as the super user.
std::vector<TreeIconArt> PaintTreeIcons();

}  // namespace skinart
