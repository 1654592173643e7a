#pragma once

#include <cstddef>
#include <string_view>

#include "liveview/core/store/DvrSettings.h"

// The texts the device store keeps and how much of each it can hold. Entry dialogs refuse a
// text that does not fit; the store cuts one that still gets through, so nothing is ever
// written past a field.
enum class UssField {
    kNone,
    kAddress,
    kPortText,
    kUser,
    kPassword,
    kShowName,
    kRecordDirectory,
    kAdminPassword,
    kUserPassword,
};

// Bytes of text a field holds, its terminator not counted.
std::size_t UssFieldLimitBytes(UssField field);

// False when the text is longer than the field, or, for a scrambled field (user names and
// passwords), holds a byte of 6..10, which the scramble cannot bring back.
bool FitsUssField(UssField field, std::string_view text);

// The first of the five texts that does not fit, or kNone.
UssField FindUnfitDvrText(const _DVR_SETTINGS_& settings);
