#include "update/core/TableValues.h"

#include <filesystem>
#include <system_error>

#include "update/core/FileBytes.h"

namespace {

constexpr std::uintmax_t kMaxTableText_bytes = 2u << 20;
constexpr std::size_t kMaxToken_chars = 4;
constexpr std::size_t kFirstBlankValue = 5;  // zeros from here on mean "nothing drawn"

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsHexLetter(char c) { return c >= 'a' && c <= 'f'; }

// Length of the number token at `at`, 0 for none, or kMaxToken_chars + 1 when it runs longer.
std::size_t TokenLength(std::string_view text, std::size_t at) {
    std::size_t length = 0;
    while (at + length < text.size()) {
        const char c = text[at + length];
        const bool hex = length >= 2 && text[at] == '0' && text[at + 1] == 'x';
        const bool fits = IsDigit(c) || (c == 'x' && length > 0 && text[at + length - 1] == '0') ||
                          (hex && IsHexLetter(c));
        if (!fits) break;
        if (++length > kMaxToken_chars) break;
    }
    return length;
}

// Value of a token, or -1 for a token of neither writer's form.
int TokenValue(std::string_view token) {
    auto digit = [](char c) { return IsDigit(c) ? c - '0' : c - 'a' + 10; };
    if (token.size() == 4 && token[0] == '0' && token[1] == 'x' && token[2] != 'x' &&
        token[3] != 'x') {
        return digit(token[2]) * 16 + digit(token[3]);
    }
    int value = 0;
    for (char c : token) {
        if (!IsDigit(c)) return -1;
        value = value * 10 + (c - '0');
    }
    return value;
}

// Carriage return or line feed: the table text may come with either line end.
bool EndsValue(char c) { return c == ',' || c == '\r' || c == '\n'; }

bool WriteTable(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes,
                const ToolMessageSink& show) {
    std::string error;
    if (WriteFileBytes(path.string(), bytes.data(), bytes.size(), &error)) return true;
    show({"open file error!\n" + error, "", true});
    return false;
}

}  // namespace

TableValues ParseTableValues(std::string_view text) {
    TableValues result;
    std::size_t at = text.find('{');
    if (at == std::string_view::npos) return result;
    for (++at; at < text.size();) {
        if (text[at] == '}') {
            result.brace = at;
            return result;
        }
        const std::size_t length = TokenLength(text, at);
        if (length == 0 || length > kMaxToken_chars || at + length >= text.size() ||
            !EndsValue(text[at + length])) {
            ++at;  // not a value here: try the next position
            continue;
        }
        const int value = TokenValue(text.substr(at, length));
        if (value < 0 || value > 255) {
            result.bytes.clear();
            result.bad_number = true;
            return result;
        }
        std::uint8_t byte = static_cast<std::uint8_t>(value);
        if (byte == 2) byte = 3;
        if (byte == 0 && result.bytes.size() >= kFirstBlankValue) byte = 255;
        result.bytes.push_back(byte);
        at += length;
    }
    result.bytes.clear();  // no closing brace
    result.brace = text.size();
    return result;
}

int ConvertTablesToBinary(const std::string& table_path, const ToolMessageSink& show) {
    std::error_code failed;
    const std::uintmax_t size = std::filesystem::file_size(table_path, failed);
    if (failed) {
        show({"open file error!\n" + table_path + ": " + failed.message(), "", true});
        return -1;
    }
    if (size > kMaxTableText_bytes) {
        show({"file too bigger!\n", "", false});
        return -1;
    }
    std::string error;
    const auto content = ReadFileBytes(table_path, &error);
    if (!content) {
        show({"open file error!\n" + error, "", true});
        return -1;
    }
    const std::string_view text(reinterpret_cast<const char*>(content->data()), content->size());
    const std::filesystem::path folder = std::filesystem::path(table_path).parent_path();

    const TableValues colors = ParseTableValues(text);
    if (colors.bad_number) {
        show({"change num error!", "", false});
        return -1;
    }
    if (colors.bytes.empty()) {
        show({"The colour table of " + table_path + " holds no values.", "", true});
        return -1;
    }
    if (!WriteTable(folder / "color.yuv", colors.bytes, show)) return -1;

    const TableValues bitmap = ParseTableValues(text.substr(colors.brace + 1));
    if (bitmap.bad_number) {
        show({"change num error!", "", false});
        return -1;
    }
    if (bitmap.bytes.empty()) {
        show({"The bitmap table of " + table_path + " holds no values.", "", true});
        return -1;
    }
    if (!WriteTable(folder / "date.yuv", bitmap.bytes, show)) return -1;
    return 1;
}
