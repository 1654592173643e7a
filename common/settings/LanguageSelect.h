#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

// Which programs' key list a table holds: the live view and playback take the shared keys and
// their own, the launcher the first 179, the update tool 155: 152 shared (its member numbers
// differ after member 77) and its own.
enum class LanguageTable { kClient, kLauncher, kUpdateTool };

// The UI texts of one dialog: one string per key of its table, in key-list order, each the
// language file's value or the key's English default. Callers take texts by key, or by member
// position where the table's numbering is the rule.
class LanguageSelect {
public:
    static constexpr std::size_t kValueBuffer = 260;  // values hold at most 259 bytes

    explicit LanguageSelect(LanguageTable table = LanguageTable::kClient);
    virtual ~LanguageSelect() = default;

    // file is relative to the program's folder, e.g. LanguageFileFor(config.GetLanguage()).
    void Load(const std::string& file);
    void Load(const std::string& program_folder, const std::string& file);
    // Every text its key's English default, as with no language file.
    void UseDefaults();

    int Count() const { return static_cast<int>(keys_.size()); }
    // Text of a member; empty for a member outside the table.
    const std::string& Text(int member) const;
    // Text of a key; empty when the table has no such key.
    const std::string& Text(std::string_view key) const { return Text(MemberOf(key)); }
    // Member number of a key in this table, -1 when the table has no such key.
    int MemberOf(std::string_view key) const;
    const char* KeyAt(int member) const;

private:
    std::vector<int> keys_;  // this table's members as positions in the full key list
    std::vector<std::string> texts_;
};

// The text with %1 to %9 replaced by the values in order; a mark without a value stays.
std::string FillText(std::string_view text, std::initializer_list<std::string_view> values);

// "language/chinese.txt" when the settings value is exactly "chinese", else the English file.
std::string LanguageFileFor(const std::string& language);
