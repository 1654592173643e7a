#include "SandboxPath.h"

#include <string_view>

std::optional<std::filesystem::path> SandboxPathOf(const std::filesystem::path& sandbox,
                                                   const std::string& remote_path,
                                                   std::string* error) {
    if (remote_path.find('\0') != std::string::npos) {
        *error = "remote path holds a NUL byte";
        return std::nullopt;
    }
    if (remote_path.find('\\') != std::string::npos) {
        *error = "remote path holds a backslash: " + remote_path;
        return std::nullopt;
    }
    std::filesystem::path result = sandbox;
    bool has_name = false;
    std::string_view rest = remote_path;
    while (!rest.empty()) {
        const size_t slash = rest.find('/');
        const std::string_view part = rest.substr(0, slash);
        rest = slash == std::string_view::npos ? std::string_view{} : rest.substr(slash + 1);
        if (part.empty() || part == ".") continue;
        if (part == "..") {
            *error = "remote path leaves the recorder's file system: " + remote_path;
            return std::nullopt;
        }
        result /= std::string(part);
        has_name = true;
    }
    if (!has_name || remote_path.back() == '/') {
        *error = "remote path names no file: '" + remote_path + "'";
        return std::nullopt;
    }
    return result;
}
