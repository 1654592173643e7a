// CQmxFile::WriteFrame against plain buffered writes of the same bytes.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/support/BenchPairs.h"
#include "common/record/QmxFile.h"

namespace {

constexpr int kFrames = 500;
constexpr uint32_t kFrameBytes = 20000;

_NET_FRAME_HEAD_ Head(int i) {
    _NET_FRAME_HEAD_ head{};
    head.nLength = kFrameBytes;
    head.nKeyFrame = i % 25 == 0;
    head.nTime = 1700000000 + i / 25;
    head.cType = 'V';
    return head;
}

void WriteFrames(benchmark::State& state) {
    // In memory where there is a memory file system: disk write-back would swamp the
    // difference being measured.
    const std::filesystem::path base = std::filesystem::is_directory("/dev/shm")
                                           ? std::filesystem::path("/dev/shm")
                                           : std::filesystem::temp_directory_path();
    const std::filesystem::path folder = base / ("qmx_bench_" + std::to_string(::getpid()));
    const std::vector<uint8_t> payload(kFrameBytes, 0x42);
    const auto ours = [&] {
        CQmxFile writer;
        writer.SetDirectory(folder.string());
        for (int i = 0; i < kFrames; ++i) {
            _NET_FRAME_HEAD_ head = Head(i);
            writer.WriteFrame(&head, payload.data());
        }
        writer.Close();
    };
    const auto plain = [&] {
        const std::string name = (folder / "plain").string();
        std::FILE* index = std::fopen((name + ".qmx").c_str(), "wb");
        std::FILE* data = std::fopen((name + ".qmd").c_str(), "wb");
        const char head[56] = {};
        std::fwrite(head, sizeof head, 1, index);
        uint32_t offset = 0;
        for (int i = 0; i < kFrames; ++i) {
            _NET_FRAME_HEAD_ record = Head(i);
            std::fwrite(payload.data(), 1, kFrameBytes, data);
            record.nOffset = offset;
            std::fwrite(&record, sizeof record, 1, index);
            offset += kFrameBytes;
        }
        std::fclose(index);
        std::fclose(data);
    };
    const auto fresh_folder = [&] {
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
    };
    RunPaired(state, "CQmxFile::WriteFrame vs plain fwrite", ours, plain, fresh_folder);
    std::filesystem::remove_all(folder);
    state.SetBytesProcessed(state.iterations() * 2 * kFrames * (kFrameBytes + 36));
}

const bool kRegistered = [] {
    benchmark::RegisterBenchmark("CQmxFile::WriteFrame/paired", WriteFrames)
        ->Unit(benchmark::kMillisecond)
        ->MinTime(2);
    return true;
}();

}  // namespace
