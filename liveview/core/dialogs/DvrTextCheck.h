#pragma once

#include <string>
#include <string_view>

#include "liveview/core/store/DvrSettings.h"
#include "liveview/core/store/UssFields.h"

// Why the texts typed into a device's dialog can not be taken as they stand.
enum class DvrTextProblem { kNone, kEmpty, kUnfit };

struct DvrTextVerdict {
    DvrTextProblem problem = DvrTextProblem::kNone;
    UssField field = UssField::kNone;  // the first text at fault

    bool operator==(const DvrTextVerdict&) const = default;
};

// Which texts a dialog edits: the address dialog the first four (address, port text, user,
// password), the settings dialog the show name as well. Every text must be there; then every
// text must fit its field of the device store, so nothing is cut when the store is written.
DvrTextVerdict CheckDvrTexts(const _DVR_SETTINGS_& settings, bool with_show_name);

// The text of one of the five device fields; empty for any other field.
const std::string& DvrTextOf(const _DVR_SETTINGS_& settings, UssField field);

// What the operator is told about a text that the device store can not hold as it stands.
std::string UnfitTextMessage(UssField field, std::string_view text);

// The user name as the recorder takes it: ASCII letters upper-cased, every other byte kept (a
// UTF-8 character's bytes too), so its length in bytes stays the same.
std::string UpperCaseUser(std::string_view user);
