#pragma once

#include <string>
#include <string_view>

// The text a label of width_bytes characters shows: shorter texts whole, longer ones cut to
// width_bytes - 2 bytes (never inside a UTF-8 character) and ended with one space.
std::string CutLabelText(std::string_view text, int width_bytes);
