#pragma once

#include <QString>
#include <string_view>

#include "common/settings/ConfigFile.h"
#include "common/settings/LanguageSelect.h"

// A dialog's own texts: the settings file and the language table it loads when it starts, in
// the language the settings name.
class DialogTexts {
public:
    void Load();
    // The text of a language key; empty for a key the table lacks.
    QString Text(std::string_view key) const;
    const LanguageSelect& Table() const { return texts_; }

private:
    CConfigFile config_;
    LanguageSelect texts_;
};
