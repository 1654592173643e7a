// Feeds arbitrary bytes to the pair reader as both index and data file.
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "QmxFile.h"

namespace {

bool WriteFile(const std::string& path, const uint8_t* data, size_t size) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    const bool ok = std::fwrite(data, 1, size, file) == size;
    return std::fclose(file) == 0 && ok;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string base = "/tmp/qmx_fuzz_" + std::to_string(::getpid());
    static std::vector<uint8_t> payload(CQmxFile::kMaxFrameBytes);
    if (!WriteFile(base + ".qmx", data, size) || !WriteFile(base + ".qmd", data, size)) {
        return 0;
    }
    CQmxFile reader;
    if (reader.OpenForRead(base + ".qmx") != 1) {
        return 0;
    }
    const int channel = size > 0 ? data[0] % 18 - 1 : -1;
    const double percent = size > 1 ? data[1] % 110 : 0;
    reader.SelectChannel(channel);
    _NET_FRAME_HEAD_ head;
    for (int pass = 0; pass < 2; ++pass) {
        for (int i = 0; i <= reader.RecordCount(); ++i) {
            const uint32_t room = size > 2 && data[2] % 2 ? 16 : CQmxFile::kMaxFrameBytes;
            const int result = reader.ReadFrame(&head, payload.data(), room);
            if (result == 0 || result == -20) {
                break;
            }
            reader.IsSeekTargetReached();
        }
        reader.GetProgress();
        reader.SeekPercent(percent);
    }
    return 0;
}
