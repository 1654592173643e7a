#include "platform/profile/PrivateProfile.h"

#include "platform/profile/ReplaceFile.h"
#include "platform/text/Utf8Cut.h"

#include <cstdint>
#include <fstream>
#include <optional>
#include <sstream>
#include <string_view>
#include <vector>

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f'; }

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

bool EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

// Whole file, or nothing when it cannot be read (missing file reads as no file).
std::optional<std::string> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream text;
    text << in.rdbuf();
    std::string content = text.str();
    if (content.starts_with(kUtf8Bom)) content.erase(0, kUtf8Bom.size());
    return content;
}

std::vector<std::string> SplitLines(const std::string& content) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < content.size()) {
        std::size_t end = content.find('\n', start);
        if (end == std::string::npos) end = content.size();
        lines.emplace_back(content, start, end - start);
        start = end + 1;
    }
    return lines;
}

// A section header's name, or nothing when the line is no header.
std::optional<std::string_view> SectionName(std::string_view line) {
    line = Trim(line);
    if (line.empty() || line.front() != '[') return std::nullopt;
    const auto close = line.find(']');
    return Trim(
        line.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
}

struct Entry {
    std::string_view key;
    std::string_view value;
};

std::optional<Entry> KeyLine(std::string_view line) {
    line = Trim(line);
    if (line.empty() || line.front() == ';' || line.front() == '[') return std::nullopt;
    const auto eq = line.find('=');
    if (eq == std::string_view::npos) return std::nullopt;
    return Entry{Trim(line.substr(0, eq)), Trim(line.substr(eq + 1))};
}

std::string_view Unquote(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

// Calls visit(key, value) for each key line of every section named `section`, in file order,
// until visit returns true. Lines are taken in place, so a scan costs one pass over the file.
template <typename Visit>
void ScanSection(std::string_view content, std::string_view section, Visit visit) {
    bool in_section = false;
    for (std::size_t start = 0; start < content.size();) {
        std::size_t end = content.find('\n', start);
        if (end == std::string_view::npos) end = content.size();
        const std::string_view line = content.substr(start, end - start);
        start = end + 1;
        if (const auto name = SectionName(line)) {
            in_section = EqualNoCase(*name, section);
        } else if (in_section) {
            const auto entry = KeyLine(line);
            if (entry && visit(entry->key, Unquote(entry->value))) return;
        }
    }
}

std::optional<std::string> FindValue(const std::string& content, const std::string& section,
                                     const std::string& key) {
    std::optional<std::string> value;
    ScanSection(content, section, [&](std::string_view found, std::string_view text) {
        if (!EqualNoCase(found, key)) return false;
        value = std::string(text);
        return true;
    });
    return value;
}

std::string LowerCase(std::string_view s) {
    std::string lower(s);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return lower;
}

// The value as a caller gets it: the default when absent, cut to the buffer.
std::string ValueOrDefault(const std::optional<std::string>& value,
                           const std::string& default_value, std::size_t max_bytes) {
    if (max_bytes == 0) return {};
    if (value) return std::string(Utf8Cut(*value, max_bytes - 1));
    // The Windows function drops trailing blanks of the default, not leading ones.
    std::string_view def = default_value;
    while (!def.empty() && IsBlank(def.back()))
        def.remove_suffix(1);
    return std::string(Utf8Cut(def, max_bytes - 1));
}

bool HasLineBreak(std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; }

// Names the reader finds again: it trims names, takes lines starting with ';' or '[' for
// comments and sections, ends a key at '=' and a section name at its first ']'.
bool FindableKey(std::string_view key) {
    return !key.empty() && Trim(key) == key && !HasLineBreak(key) &&
           key.find('=') == std::string_view::npos && key.front() != ';' && key.front() != '[';
}

bool FindableSection(std::string_view section) {
    return Trim(section) == section && !HasLineBreak(section) &&
           section.find(']') == std::string_view::npos;
}

// content with key = value set in section: the key's line replaced, or a line added at the end
// of the section, or the section added at the end of the file.
std::string WithEntry(std::string_view content, const std::string& section, const std::string& key,
                      const std::string& value) {
    if (content.starts_with(kUtf8Bom)) content.remove_prefix(kUtf8Bom.size());
    std::vector<std::string> lines = SplitLines(std::string(content));
    // Lines the write adds end as most of the file's lines do, so a file keeps one ending even
    // when a stray line ends otherwise.
    std::ptrdiff_t crlf_lines = 0;
    for (const std::string& line : lines)
        crlf_lines += line.ends_with('\r') ? 1 : -1;
    const std::string eol = crlf_lines > 0 ? "\r" : "";
    const std::string entry = key + "=" + value + eol;

    std::optional<std::size_t> section_line;
    std::size_t insert_at = lines.size();
    bool done = false;
    for (std::size_t i = 0; i < lines.size() && !done; ++i) {
        if (const auto name = SectionName(lines[i])) {
            if (section_line) break;  // end of our section
            if (EqualNoCase(*name, section)) {
                section_line = i;
                insert_at = i + 1;
            }
        } else if (section_line) {
            const auto found = KeyLine(lines[i]);
            if (found && EqualNoCase(found->key, key)) {
                lines[i] = entry;
                done = true;
            } else if (!Trim(lines[i]).empty()) {
                insert_at = i + 1;
            }
        }
    }
    if (!done) {
        if (section_line) {
            lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(insert_at), entry);
        } else {
            lines.push_back("[" + section + "]" + eol);
            lines.push_back(entry);
        }
    }
    std::string out;
    for (const std::string& line : lines)
        out += line + "\n";
    return out;
}

}  // namespace

std::string GetPrivateProfileString(const std::string& section, const std::string& key,
                                    const std::string& default_value, std::size_t max_bytes,
                                    const std::string& path) {
    if (max_bytes == 0) return {};
    std::optional<std::string> value;
    if (const auto content = ReadFile(path)) value = FindValue(*content, section, key);
    return ValueOrDefault(value, default_value, max_bytes);
}

PrivateProfileSection::PrivateProfileSection(const std::string& section, const std::string& path) {
    const auto content = ReadFile(path);
    if (!content) return;
    ScanSection(*content, section, [&](std::string_view key, std::string_view value) {
        values_.try_emplace(LowerCase(key), value);  // the first of equal keys holds
        return false;
    });
}

std::string PrivateProfileSection::GetString(const std::string& key,
                                             const std::string& default_value,
                                             std::size_t max_bytes) const {
    const auto found = values_.find(LowerCase(key));
    return ValueOrDefault(found == values_.end() ? std::nullopt : std::optional(found->second),
                          default_value, max_bytes);
}

int GetPrivateProfileInt(const std::string& section, const std::string& key, int default_value,
                         const std::string& path) {
    const std::string text = GetPrivateProfileString(section, key, "", 260, path);
    if (text.empty()) return default_value;
    std::size_t i = 0;
    while (i < text.size() && static_cast<unsigned char>(text[i]) <= ' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    unsigned base = 10;
    if (i + 1 < text.size() && text[i] == '0') {
        const char prefix = text[i + 1];
        if (prefix == 'x' || prefix == 'X') base = 16;
        if (prefix == 'o' || prefix == 'O') base = 8;
        if (prefix == 'b' || prefix == 'B') base = 2;
        if (base != 10) i += 2;
    }
    uint32_t result = 0;  // wraps on overflow, as the Windows parser does
    for (; i < text.size(); ++i) {
        const char c = text[i];
        unsigned digit;
        if (c >= '0' && c <= '9') {
            digit = static_cast<unsigned>(c - '0');
        } else if (c >= 'a' && c <= 'f') {
            digit = static_cast<unsigned>(c - 'a' + 10);
        } else if (c >= 'A' && c <= 'F') {
            digit = static_cast<unsigned>(c - 'A' + 10);
        } else {
            break;
        }
        if (digit >= base) break;
        result = result * base + digit;
    }
    if (negative) result = 0u - result;
    return static_cast<int>(result);
}

bool WritePrivateProfileString(const std::string& section, const std::string& key,
                               const std::string& value, const std::string& path) {
    // A line break would split the entry and corrupt the file for every reader; a name the
    // reader cannot find would be written again and again and read as missing.
    if (!FindableSection(section) || !FindableKey(key) || HasLineBreak(value)) return false;
    return UpdateFile(
        path,
        [&](const std::string& content) -> std::optional<std::string> {
            return WithEntry(content, section, key, value);
        },
        0644);
}
