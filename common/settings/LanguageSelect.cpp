#include "common/settings/LanguageSelect.h"

#include "common/settings/LanguageKeys.h"
#include "platform/profile/PrivateProfile.h"
#include "platform/profile/ProgramFolder.h"

#include <algorithm>

namespace {

constexpr int kLauncherCount = 179;

bool UpdateToolHasKey(std::string_view key) {
    if (key == "frame_lowest" || key == "Valid_Time" || key == "DleInfo" || key == "Rec") {
        return false;
    }
    auto numbered = [&](std::string_view stem, int first, int last) {
        if (!key.starts_with(stem)) return false;
        const std::string_view digits = key.substr(stem.size());
        if (digits.empty() || digits.size() > 2) return false;
        int n = 0;
        for (char c : digits) {
            if (c < '0' || c > '9') return false;
            n = n * 10 + (c - '0');
        }
        return n >= first && n <= last;
    };
    return !numbered("NetUserEdit_Word", 4, 20) && !numbered("Start_Word", 1, 9);
}

}  // namespace

LanguageSelect::LanguageSelect(LanguageTable table) {
    for (int i = 0; i < static_cast<int>(kLanguageKeyCount); ++i) {
        const bool shared = i < static_cast<int>(kSharedLanguageKeyCount);
        const bool update_own = i >= static_cast<int>(kClientLanguageKeyEnd);
        const bool present =
            (table == LanguageTable::kClient && !update_own) ||
            (table == LanguageTable::kLauncher && i < kLauncherCount) ||
            (table == LanguageTable::kUpdateTool &&
             (update_own ||
              (shared && UpdateToolHasKey(kLanguageKeys[static_cast<std::size_t>(i)].key))));
        if (present) keys_.push_back(i);
    }
    texts_.resize(keys_.size());
}

void LanguageSelect::Load(const std::string& file) { Load(ProgramFolder(), file); }

void LanguageSelect::Load(const std::string& program_folder, const std::string& file) {
    // Read once for the whole table: a load costs one pass over the file, whatever its size.
    const PrivateProfileSection strings("StringInfo", program_folder + "/" + file);
    for (std::size_t m = 0; m < keys_.size(); ++m) {
        const LanguageKey& key = kLanguageKeys[static_cast<std::size_t>(keys_[m])];
        texts_[m] = strings.GetString(key.key, key.english, kValueBuffer);
    }
}

void LanguageSelect::UseDefaults() {
    for (std::size_t m = 0; m < keys_.size(); ++m) {
        texts_[m] = kLanguageKeys[static_cast<std::size_t>(keys_[m])].english;
    }
}

const std::string& LanguageSelect::Text(int member) const {
    static const std::string kEmpty;
    if (member < 0 || member >= Count()) return kEmpty;
    return texts_[static_cast<std::size_t>(member)];
}

int LanguageSelect::MemberOf(std::string_view key) const {
    const auto it = std::find_if(keys_.begin(), keys_.end(), [&](int i) {
        return key == kLanguageKeys[static_cast<std::size_t>(i)].key;
    });
    return it == keys_.end() ? -1 : static_cast<int>(it - keys_.begin());
}

const char* LanguageSelect::KeyAt(int member) const {
    if (member < 0 || member >= Count()) return "";
    return kLanguageKeys[static_cast<std::size_t>(keys_[static_cast<std::size_t>(member)])].key;
}

std::string LanguageFileFor(const std::string& language) {
    return language == "chinese" ? "language/chinese.txt" : "language/english.txt";
}

std::string FillText(std::string_view text, std::initializer_list<std::string_view> values) {
    std::string filled;
    filled.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char next = i + 1 < text.size() ? text[i + 1] : '\0';
        const std::size_t n = static_cast<std::size_t>(next - '1');
        if (text[i] == '%' && next >= '1' && next <= '9' && n < values.size()) {
            filled += values.begin()[n];
            ++i;
        } else {
            filled += text[i];
        }
    }
    return filled;
}
