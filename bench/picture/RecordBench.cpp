// CQmxFile::WriteFrame against plain buffered writes of the same bytes.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "BenchPairs.h"
#include "QmxFile.h"

namespace {

constexpr int kFrames = 500;
constexpr uint32_t kFrameBytes = 20000;

std::filesystem::path Folder() {
    static const std::filesystem::path folder = [] {
        auto path =
            std::filesystem::temp_directory_path() / ("qmx_bench_" + std::to_string(::getpid()));
        std::filesystem::create_directories(path);
        return path;
    }();
    return folder;
}

_NET_FRAME_HEAD_ Head(int i) {
    _NET_FRAME_HEAD_ head{};
    head.nLength = kFrameBytes;
    head.nKeyFrame = i % 25 == 0;
    head.nTime = 1700000000 + i / 25;
    head.cType = 'V';
    return head;
}

void WriteFrame(benchmark::State& state) {
    const std::vector<uint8_t> payload(kFrameBytes, 0x42);
    for (auto _ : state) {
        CQmxFile writer;
        writer.SetDirectory(Folder().string());
        for (int i = 0; i < kFrames; ++i) {
            _NET_FRAME_HEAD_ head = Head(i);
            writer.WriteFrame(&head, payload.data());
        }
        writer.Close();
        state.PauseTiming();
        std::filesystem::remove_all(Folder());
        std::filesystem::create_directories(Folder());
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * kFrames * (kFrameBytes + 36));
}

void PlainWrites(benchmark::State& state) {
    const std::vector<uint8_t> payload(kFrameBytes, 0x42);
    const std::string base = (Folder() / "plain").string();
    for (auto _ : state) {
        std::FILE* index = std::fopen((base + ".qmx").c_str(), "wb");
        std::FILE* data = std::fopen((base + ".qmd").c_str(), "wb");
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
        state.PauseTiming();
        std::filesystem::remove_all(Folder());
        std::filesystem::create_directories(Folder());
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * kFrames * (kFrameBytes + 36));
}

const bool registered = [] {
    using Function = void (*)(benchmark::State&);
    const std::pair<const char*, Function> benchmarks[] = {
        {"CQmxFile::WriteFrame/ours", WriteFrame}, {"CQmxFile::WriteFrame/fwrite", PlainWrites}};
    for (const auto& [name, function] : benchmarks) {
        Repeated(benchmark::RegisterBenchmark(name, function))->Unit(benchmark::kMillisecond);
    }
    AddBenchPair("CQmxFile::WriteFrame vs plain fwrite", "CQmxFile::WriteFrame/ours",
                 "CQmxFile::WriteFrame/fwrite");
    return true;
}();

}  // namespace
