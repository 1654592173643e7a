// Feeds arbitrary records to the pair reader: the input follows a 56-byte index head and is
// padded to the shortest index a reader accepts; the data file holds the input itself.
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "common/record/QmxFile.h"
#include "tests/support/FuzzScratch.h"

namespace {

bool WriteFile(const std::string& path, const uint8_t* data, size_t size) {
    // A fresh file each time: rewriting a truncated file makes some file systems flush it.
    ::unlink(path.c_str());
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    const bool ok = std::fwrite(data, 1, size, file) == size;
    return std::fclose(file) == 0 && ok;
}

// The pair's files, removed when the fuzzer exits.
class FuzzPair {
public:
    FuzzPair() { base_ = FuzzScratchPath("qmx_fuzz").string(); }
    ~FuzzPair() {
        ::unlink(Index().c_str());
        ::unlink(Data().c_str());
    }
    FuzzPair(const FuzzPair&) = delete;
    FuzzPair& operator=(const FuzzPair&) = delete;

    std::string Index() const { return base_ + ".qmx"; }
    std::string Data() const { return base_ + ".qmd"; }

private:
    std::string base_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const FuzzPair pair;
    static std::vector<uint8_t> payload(kMaxRecordedFrameBytes);
    std::vector<uint8_t> index(CQmxFile::kIndexHeadBytes, 0);
    index.insert(index.end(), data, data + size);
    if (index.size() < static_cast<size_t>(CQmxFile::kMinIndexBytes)) {
        index.resize(CQmxFile::kMinIndexBytes, 0);
    }
    if (!WriteFile(pair.Index(), index.data(), index.size()) ||
        !WriteFile(pair.Data(), data, size)) {
        return 0;
    }
    CQmxFile reader;
    if (reader.OpenForRead(pair.Index()) != 1) {
        return 0;
    }
    // The last bytes steer the channel, the seek and the payload room.
    const uint8_t steer = size > 0 ? data[size - 1] : 0;
    reader.SelectChannel(steer % 18 - 1);
    _NET_FRAME_HEAD_ head;
    for (int pass = 0; pass < 2; ++pass) {
        for (int i = 0; i <= reader.RecordCount(); ++i) {
            const uint32_t room = steer & 0x80 ? 16 : kMaxRecordedFrameBytes;
            const int result = reader.ReadFrame(&head, payload.data(), room);
            if (result == 0 || result == -20) {
                break;
            }
            reader.IsSeekTargetReached();
        }
        reader.GetProgress();
        reader.SeekPercent(steer % 110);
    }
    return 0;
}
