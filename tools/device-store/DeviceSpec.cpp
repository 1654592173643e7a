#include "tools/device-store/DeviceSpec.h"

#include <vector>

#include "liveview/core/store/UssLayout.h"

namespace {

std::vector<std::string> Split(std::string_view text) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = text.find(',', start);
        parts.emplace_back(text.substr(start, comma - start));
        if (comma == std::string_view::npos) return parts;
        start = comma + 1;
    }
}

bool Fits(const std::string& text, std::size_t field_bytes, const char* what, std::string* error) {
    if (text.empty()) {
        *error = std::string(what) + " is empty";
        return false;
    }
    if (text.size() >= field_bytes) {
        *error = std::string(what) + " \"" + text + "\" is longer than " +
                 std::to_string(field_bytes - 1) + " bytes";
        return false;
    }
    return true;
}

}  // namespace

std::optional<_DVR_SETTINGS_> ParseDeviceSpec(std::string_view spec, std::string* error) {
    const std::vector<std::string> parts = Split(spec);
    if (parts.size() < 4) {
        *error =
            "\"" + std::string(spec) + "\" is not ADDRESS,USER,PASSWORD,SHOW NAME[,auto][,audio]";
        return std::nullopt;
    }
    const _USS_DVR_RECORD_ record{};
    _DVR_SETTINGS_ settings;
    settings.in_use = 1;
    settings.address = parts[0];
    settings.user = parts[1];
    settings.password = parts[2];
    settings.show_name = parts[3];
    if (!Fits(settings.address, sizeof record.szAddress, "the address", error) ||
        !Fits(settings.user, sizeof record.szUser, "the user", error) ||
        !Fits(settings.password, sizeof record.szPassword, "the password", error) ||
        !Fits(settings.show_name, sizeof record.szShowName, "the show name", error)) {
        return std::nullopt;
    }
    for (std::size_t i = 4; i < parts.size(); ++i) {
        if (parts[i] == "auto") {
            settings.auto_connect = 1;
        } else if (parts[i] == "audio") {
            settings.send_audio = 1;
        } else {
            *error = "unknown flag \"" + parts[i] + "\" (auto or audio)";
            return std::nullopt;
        }
    }
    return settings;
}
