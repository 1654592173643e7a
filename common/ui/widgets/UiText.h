#pragma once

#include <QString>
#include <string_view>

#include "common/settings/LanguageSelect.h"

// A caption or message of the language table, as a widget takes it (the files are UTF-8).
inline QString UiText(const LanguageSelect& texts, std::string_view key) {
    return QString::fromStdString(texts.Text(key));
}
