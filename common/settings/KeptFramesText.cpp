#include "common/settings/KeptFramesText.h"

#include <cstring>

namespace {

const std::string& Text(const LanguageSelect& texts, const char* key) {
    return texts.Text(texts.MemberOf(key));
}

}  // namespace

std::string WriteFailureReason(const LanguageSelect& texts, const std::string& directory,
                               int error_number) {
    return FillText(Text(texts, "Reason_Write"), {directory, std::strerror(error_number)});
}

std::string KeptFramesText(const LanguageSelect& texts, std::uint64_t frames,
                           const std::string& directory) {
    if (frames == 0) return Text(texts, "Frames_KeptNone");
    return FillText(Text(texts, "Frames_Kept"), {std::to_string(frames), directory});
}
