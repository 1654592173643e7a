#pragma once

#include <string>

#include "update/core/ToolMessage.h"

// The 240 x 384 title snapshot turned into three colours: the drawn glyphs grey, the
// background a fixed colour, and a black outline one pixel wide around the glyphs. Written to
// MakeOutlineFileName(path). 0, or -1 after a message.
int OutlineGlyphBitmap(const std::string& path, const ToolMessageSink& show);

// Every ".bmp" of the path replaced by "_1.bmp".
std::string MakeOutlineFileName(const std::string& path);
