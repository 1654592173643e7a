#pragma once

#include <cstddef>
#include <string_view>

// Length of a UTF-8 text as the double-byte code page the original system counted in: one
// byte for an ASCII character, two for any other character (a Chinese character among them).
// A byte that belongs to no whole character counts as a character of its own.
std::size_t CodePageLength(std::string_view utf8);
