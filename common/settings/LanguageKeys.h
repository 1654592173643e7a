#pragma once

#include <array>
#include <cstddef>

struct LanguageKey {
    const char* key;
    const char* english;
};

inline constexpr std::size_t kLanguageKeyCount = 183;
extern const std::array<LanguageKey, kLanguageKeyCount> kLanguageKeys;
