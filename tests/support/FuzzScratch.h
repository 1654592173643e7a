#pragma once

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

// A path of this fuzz process's own for the files a target writes, on a memory file system where
// there is one: the writes flush, and a disk would slow each input down. Whatever lies there is
// removed when the process exits, so bounded runs leave nothing behind.
inline std::filesystem::path FuzzScratchPath(const std::string& name) {
    static std::vector<std::filesystem::path> paths;
    if (paths.empty()) {
        std::atexit([] {
            std::error_code ignored;
            for (const auto& path : paths)
                std::filesystem::remove_all(path, ignored);
        });
    }
    const std::filesystem::path base = std::filesystem::is_directory("/dev/shm")
                                           ? "/dev/shm"
                                           : std::filesystem::temp_directory_path();
    paths.push_back(base / (name + "_" + std::to_string(::getpid())));
    return paths.back();
}
