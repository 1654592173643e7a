#include "platform/profile/ProgramFolder.h"

#include <filesystem>
#include <system_error>

std::string ProgramFolder() {
    std::error_code error;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return ".";
    return exe.parent_path().string();
}

std::string ParentFolder(const std::string& folder) {
    const auto cut = folder.find_last_of('/');
    if (cut == std::string::npos) return ".";
    if (cut == 0) return "/";
    return folder.substr(0, cut);
}
