// Settings and language files are edited by hand: no content may crash the reader or give a
// value over its buffer, a section read at once answers as single reads, and a key the writer
// accepts reads back as written.
//
// Input: file content, then section, key and value, each ended by a zero byte.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "common/settings/LanguageSelect.h"
#include "platform/profile/PrivateProfile.h"
#include "tests/support/FuzzScratch.h"

namespace {

const std::filesystem::path& Folder() {
    static const std::filesystem::path folder = [] {
        auto path = FuzzScratchPath("settings_fuzzer");
        std::filesystem::create_directories(path / "language");
        return path;
    }();
    return folder;
}

std::string_view NextPart(std::string_view& rest) {
    const std::size_t end = rest.find('\0');
    const std::string_view part = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 1);
    return part;
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f'; }

// A value the reader gives back unchanged: no surrounding blanks, no enclosing quotes.
bool ReadsBackAsWritten(std::string_view value) {
    if (value.empty()) return true;
    if (IsBlank(value.front()) || IsBlank(value.back())) return false;
    return !(value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
             value.back() == value.front());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    const std::string content(NextPart(rest));
    const std::string section(NextPart(rest));
    const std::string key(NextPart(rest));
    const std::string value(NextPart(rest));

    const std::string path = (Folder() / "language" / "english.txt").string();
    std::ofstream(path, std::ios::binary | std::ios::trunc) << content;

    LanguageSelect texts;
    texts.Load(Folder().string(), "language/english.txt");
    for (int m = 0; m < texts.Count(); ++m) {
        if (texts.Text(m).size() >= LanguageSelect::kValueBuffer) std::abort();
    }
    const std::string single = GetPrivateProfileString(section, key, value, 260, path);
    if (single.size() > 259) std::abort();
    // A table's read of the whole section answers as the read of the key alone.
    if (PrivateProfileSection(section, path).GetString(key, value, 260) != single) std::abort();
    GetPrivateProfileInt(section, key, 0, path);

    if (WritePrivateProfileString(section, key, value, path) && value.size() <= 259 &&
        ReadsBackAsWritten(value) &&
        GetPrivateProfileString(section, key, "\x01", 260, path) != value) {
        std::abort();
    }
    return 0;
}
