#include "liveview/core/dialogs/DvrTextCheck.h"

#include <array>

namespace {

const char* FieldName(UssField field) {
    switch (field) {
        case UssField::kNone:
            break;
        case UssField::kAddress:
            return "The server address";
        case UssField::kPortText:
            return "The port";
        case UssField::kUser:
            return "The user name";
        case UssField::kPassword:
            return "The password";
        case UssField::kShowName:
            return "The display name";
        case UssField::kRecordDirectory:
            return "The save directory";
        case UssField::kAdminPassword:
            return "The admin password";
        case UssField::kUserPassword:
            return "The user password";
    }
    return "The text";
}

}  // namespace

const std::string& DvrTextOf(const _DVR_SETTINGS_& settings, UssField field) {
    static const std::string kNone;
    switch (field) {
        case UssField::kAddress:
            return settings.address;
        case UssField::kPortText:
            return settings.port_text;
        case UssField::kUser:
            return settings.user;
        case UssField::kPassword:
            return settings.password;
        case UssField::kShowName:
            return settings.show_name;
        default:
            return kNone;
    }
}

DvrTextVerdict CheckDvrTexts(const _DVR_SETTINGS_& settings, bool with_show_name) {
    constexpr std::array<UssField, 5> kFields = {UssField::kAddress, UssField::kPortText,
                                                 UssField::kUser, UssField::kPassword,
                                                 UssField::kShowName};
    const std::size_t count = with_show_name ? 5 : 4;
    for (std::size_t i = 0; i < count; ++i) {
        if (DvrTextOf(settings, kFields[i]).empty()) return {DvrTextProblem::kEmpty, kFields[i]};
    }
    for (std::size_t i = 0; i < count; ++i) {
        if (!FitsUssField(kFields[i], DvrTextOf(settings, kFields[i])))
            return {DvrTextProblem::kUnfit, kFields[i]};
    }
    return {};
}

std::string UnfitTextMessage(UssField field, std::string_view text) {
    const std::size_t limit = UssFieldLimitBytes(field);
    if (text.size() > limit) {
        return std::string(FieldName(field)) + " is too long: it can hold at most " +
               std::to_string(limit) + " bytes, and " + std::to_string(text.size()) +
               " were typed.";
    }
    return std::string(FieldName(field)) +
           " holds a control character that can not be stored. Type it again without it.";
}

std::string UpperCaseUser(std::string_view user) {
    std::string upper(user);
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return upper;
}
