#pragma once

#include <cstddef>
#include <string_view>

// Longest prefix of text that fits max_bytes and does not end inside a UTF-8 character.
// Texts are UTF-8 on Linux where the original system counted bytes of a code page, so every
// byte limit of a field goes through here.
std::string_view Utf8Cut(std::string_view text, std::size_t max_bytes);
