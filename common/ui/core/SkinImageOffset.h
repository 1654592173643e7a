#pragma once

// Where a skin button starts reading its state image, along one axis.
enum class SkinAlign { kStart, kEnd, kCenter };

// face_px: the button's extent less two borders on each side; image_px: the image's extent;
// border_px: one system border. Images larger than the face are read from their middle (or
// their far end) so the face shows the centre of the art; smaller images start at 0.
int SkinImageOffset(SkinAlign align, int face_px, int image_px, int border_px);
