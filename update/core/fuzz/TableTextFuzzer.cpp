// The table text is a file the operator can edit: any text either is refused with a message
// or gives the two tables as the parser reads them, in values of the writer's forms.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include "tests/support/FuzzScratch.h"
#include "update/core/FileBytes.h"
#include "update/core/TableValues.h"

namespace {

const std::filesystem::path& Folder() {
    static const std::filesystem::path folder = [] {
        auto path = FuzzScratchPath("table_text_fuzzer");
        std::filesystem::create_directories(path);
        return path;
    }();
    return folder;
}

void CheckTable(std::string_view text, const TableValues& table) {
    if (table.bad_number && !table.bytes.empty()) std::abort();
    if (table.bytes.empty()) return;
    if (table.brace >= text.size() || text[table.brace] != '}') std::abort();
    for (std::size_t i = 0; i < table.bytes.size(); ++i) {
        if (table.bytes[i] == 2 || (i >= 5 && table.bytes[i] == 0)) std::abort();
    }
}

bool FileHolds(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::string error;
    const auto content = ReadFileBytes(path.string(), &error);
    return content && *content == bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const TableValues colors = ParseTableValues(text);
    CheckTable(text, colors);
    const std::string_view rest =
        colors.brace < text.size() ? text.substr(colors.brace + 1) : std::string_view{};
    const TableValues bitmap = ParseTableValues(rest);
    CheckTable(rest, bitmap);

    const std::filesystem::path table = Folder() / "tmp.h";
    std::string error;
    if (!WriteFileBytes(table.string(), text, &error)) std::abort();
    std::filesystem::remove(Folder() / "color.yuv");
    std::filesystem::remove(Folder() / "date.yuv");
    bool told = false;
    const int result =
        ConvertTablesToBinary(table.string(), [&](const ToolMessage&) { told = true; });
    if (result == 1) {
        if (told || !FileHolds(Folder() / "color.yuv", colors.bytes) ||
            !FileHolds(Folder() / "date.yuv", bitmap.bytes)) {
            std::abort();
        }
    } else if (result != -1 || !told) {
        std::abort();
    }
    return 0;
}
