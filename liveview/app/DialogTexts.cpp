#include "liveview/app/DialogTexts.h"

void DialogTexts::Load() { texts_.Load(LanguageFileFor(config_.GetLanguage())); }

QString DialogTexts::Text(std::string_view key) const {
    return QString::fromStdString(texts_.Text(key));
}
