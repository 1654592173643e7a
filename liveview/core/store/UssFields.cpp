#include "liveview/core/store/UssFields.h"

#include <algorithm>

#include "liveview/core/store/UssLayout.h"

namespace {

bool IsScrambled(UssField field) {
    return field == UssField::kUser || field == UssField::kPassword ||
           field == UssField::kAdminPassword || field == UssField::kUserPassword;
}

bool IsLostByScramble(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 6 && byte <= 10;
}

}  // namespace

std::size_t UssFieldLimitBytes(UssField field) {
    switch (field) {
        case UssField::kNone:
            return 0;
        case UssField::kAddress:
            return sizeof(_USS_DVR_RECORD_::szAddress) - 1;
        case UssField::kPortText:
            return sizeof(_USS_DVR_RECORD_::szPort) - 1;
        case UssField::kUser:
            return sizeof(_USS_DVR_RECORD_::szUser) - 1;
        case UssField::kPassword:
            return sizeof(_USS_DVR_RECORD_::szPassword) - 1;
        case UssField::kShowName:
            return sizeof(_USS_DVR_RECORD_::szShowName) - 1;
        case UssField::kRecordDirectory:
            return sizeof(_USS_FILE_::szRecordDirectory) - 1;
        case UssField::kAdminPassword:
            return sizeof(_USS_FILE_::szAdminPassword) - 1;
        case UssField::kUserPassword:
            return sizeof(_USS_FILE_::szUserPassword) - 1;
    }
    return 0;
}

bool FitsUssField(UssField field, std::string_view text) {
    if (text.size() > UssFieldLimitBytes(field)) return false;
    // A zero byte would end the text early in the file.
    if (text.find('\0') != std::string_view::npos) return false;
    return !IsScrambled(field) || std::none_of(text.begin(), text.end(), IsLostByScramble);
}

UssField FindUnfitDvrText(const _DVR_SETTINGS_& settings) {
    if (!FitsUssField(UssField::kAddress, settings.address)) return UssField::kAddress;
    if (!FitsUssField(UssField::kPortText, settings.port_text)) return UssField::kPortText;
    if (!FitsUssField(UssField::kUser, settings.user)) return UssField::kUser;
    if (!FitsUssField(UssField::kPassword, settings.password)) return UssField::kPassword;
    if (!FitsUssField(UssField::kShowName, settings.show_name)) return UssField::kShowName;
    return UssField::kNone;
}
