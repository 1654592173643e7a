#include "update/core/ScratchFolder.h"

#include <stdlib.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <vector>

ScratchFolder::ScratchFolder() {
    std::error_code failed;
    const std::string base = std::filesystem::temp_directory_path(failed).string();
    std::string pattern = (failed ? std::string("/tmp") : base) + "/firmora-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    if (::mkdtemp(name.data()) == nullptr) {
        error_ = pattern + ": " + std::strerror(errno);
        return;
    }
    path_ = name.data();
}

ScratchFolder::~ScratchFolder() {
    if (path_.empty()) return;
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}
