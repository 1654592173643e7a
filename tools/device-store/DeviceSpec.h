#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "liveview/core/store/DvrSettings.h"

// A device of the live view's store as one command-line word:
//   ADDRESS,USER,PASSWORD,SHOW NAME[,auto][,audio]
// "auto" connects it on its own, "audio" asks the recorder for sound. Texts longer than the
// store's fields are refused, never cut. Nothing, with error set, for a word that is wrong.
std::optional<_DVR_SETTINGS_> ParseDeviceSpec(std::string_view spec, std::string* error);
