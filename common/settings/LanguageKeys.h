#pragma once

#include <array>
#include <cstddef>

struct LanguageKey {
    const char* key;
    const char* english;
};

inline constexpr std::size_t kLanguageKeyCount = 194;
// The keys every program's table draws from; the client's own texts follow them, then the
// update tool's own.
inline constexpr std::size_t kSharedLanguageKeyCount = 182;
inline constexpr std::size_t kClientLanguageKeyEnd = 191;
extern const std::array<LanguageKey, kLanguageKeyCount> kLanguageKeys;
