// A language table's load from a language file swollen by hand (1 MiB and 10 MiB of comment
// lines appended), against the load of the installed file in the same run.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "common/settings/LanguageSelect.h"

namespace {

namespace fs = std::filesystem;

// A program folder whose english.txt is the installed one with extra_bytes of comments after.
fs::path FolderWith(std::size_t extra_bytes) {
    const fs::path folder =
        fs::temp_directory_path() /
        ("language_load_bench_" + std::to_string(getpid()) + "_" + std::to_string(extra_bytes));
    fs::create_directories(folder / "language");
    fs::copy_file(SUITE_TREE_DIR "/ClientSoftware/language/english.txt",
                  folder / "language" / "english.txt", fs::copy_options::overwrite_existing);
    std::ofstream out(folder / "language" / "english.txt", std::ios::app);
    const std::string line = "; " + std::string(60, '-') + "\n";
    for (std::size_t written = 0; written < extra_bytes; written += line.size())
        out << line;
    return folder;
}

void LoadTable(benchmark::State& state) {
    const fs::path folder = FolderWith(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        LanguageSelect table;
        table.Load(folder.string(), "language/english.txt");
        benchmark::DoNotOptimize(table.Text(0));
    }
    fs::remove_all(folder);
}

}  // namespace

BENCHMARK(LoadTable)->Arg(0)->Arg(1 << 20)->Arg(10 << 20)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
