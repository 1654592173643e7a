#pragma once

#include <array>
#include <cstddef>

struct LanguageKey {
    const char* key;
    const char* english;
};

inline constexpr std::size_t kLanguageKeyCount = 190;
// The keys every program's table draws from; the client's own texts follow them.
inline constexpr std::size_t kSharedLanguageKeyCount = 182;
// The update tool's own texts come last.
inline constexpr std::size_t kUpdateToolLanguageKeyFirst = 189;
extern const std::array<LanguageKey, kLanguageKeyCount> kLanguageKeys;
