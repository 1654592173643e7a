// The title picture is read back from a bitmap file: any bytes are either refused with a
// message or turned into the table text without reading outside the file.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include "tests/support/FuzzScratch.h"
#include "update/core/FileBytes.h"
#include "update/core/TitleTables.h"

namespace {

const std::filesystem::path& Folder() {
    static const std::filesystem::path folder = [] {
        auto path = FuzzScratchPath("title_bitmap_fuzzer");
        std::filesystem::create_directories(path);
        return path;
    }();
    return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::filesystem::path bitmap = Folder() / "tmp.bmp";
    const std::filesystem::path table = Folder() / "tmp.h";
    std::string error;
    if (!WriteFileBytes(bitmap.string(), data, size, &error)) std::abort();
    std::filesystem::remove(table);
    bool told = false;
    TitleTables tables([&](const ToolMessage&) { told = true; });
    const int result = tables.ConvertBitmapToTables(bitmap.string(), table.string());
    if (result == 0 ? told || !std::filesystem::exists(table) : result != -1 || !told) {
        std::abort();
    }
    return 0;
}
