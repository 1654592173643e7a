#pragma once

#include <array>
#include <cstddef>

struct LanguageKey {
    const char* key;
    const char* english;
};

inline constexpr std::size_t kLanguageKeyCount = 189;
// The keys every program's table draws from; the client's own texts follow them.
inline constexpr std::size_t kSharedLanguageKeyCount = 182;
extern const std::array<LanguageKey, kLanguageKeyCount> kLanguageKeys;
