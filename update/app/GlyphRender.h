#pragma once

#include <QString>
#include <optional>
#include <string>
#include <vector>

#include "update/core/GlyphBitmap.h"

// The black box of a character in the given face at a cell height of 40 pixels, in its
// lightest weight, drawn without smoothing: set bits are the glyph's pixels. Nothing for a
// character that draws no pixel (a blank).
std::optional<GlyphBitmap> LoadGlyphBitmap(char32_t character, const QString& face_name);

// The families of the installed fonts, as the font list shows them.
std::vector<std::string> InstalledFaceNames();
