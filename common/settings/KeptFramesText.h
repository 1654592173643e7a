#pragma once

#include <cstdint>
#include <string>

#include "common/settings/LanguageSelect.h"

// The texts of a recording or a backup that stopped early: why, and what it kept.

// "cannot write to <directory> (<the system's reason>)".
std::string WriteFailureReason(const LanguageSelect& texts, const std::string& directory,
                               int error_number);
// "<frames> frames were kept in <directory>.", or that none was kept.
std::string KeptFramesText(const LanguageSelect& texts, std::uint64_t frames,
                           const std::string& directory);
