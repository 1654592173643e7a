#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "update/core/ToolMessage.h"

// One table of the table text read back as bytes.
struct TableValues {
    std::vector<std::uint8_t> bytes;  // empty when the table has no closing brace
    std::size_t brace = 0;            // position of the closing brace
    bool bad_number = false;          // a value above 255 or not a number of the writer's forms
};

// Reads the values of the first table in text: after its "{", each number of 1 to 4
// characters (decimal, or "0x" and two hexadecimal digits) that a "," or a line end follows,
// up to the "}". A value of 2 is stored as 3, and a 0 from the sixth value on as 255.
TableValues ParseTableValues(std::string_view text);

// The table text (path of "tmp.h") into "color.yuv" (first table) and "date.yuv" (second
// table) in the same folder: 1, or -1 after a message.
int ConvertTablesToBinary(const std::string& table_path, const ToolMessageSink& show);
