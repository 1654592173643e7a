#pragma once

#include <QFont>
#include <QStringList>

// A font asked for the way the skinned windows size theirs: by the height of a character
// cell and the average character width in pixels (0 keeps the face's natural width). The
// first installed family of the list is used; the style hint picks a last resort.
QFont CellFont(const QStringList& families, QFont::StyleHint hint, int cell_height_px,
               int char_width_px, int weight);
