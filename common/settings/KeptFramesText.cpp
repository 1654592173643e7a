#include "common/settings/KeptFramesText.h"

#include <cstring>

std::string WriteFailureReason(const LanguageSelect& texts, const std::string& directory,
                               int error_number) {
    return FillText(texts.Text("Reason_Write"), {directory, std::strerror(error_number)});
}

std::string KeptFramesText(const LanguageSelect& texts, std::uint64_t frames,
                           const std::string& directory) {
    if (frames == 0) return texts.Text("Frames_KeptNone");
    return FillText(texts.Text("Frames_Kept"), {std::to_string(frames), directory});
}
