#include "tools/recorder-emulator/SandboxPath.h"

#include <algorithm>
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

bool StaysInSandbox(const std::filesystem::path& sandbox, const std::filesystem::path& target,
                    std::string* error) {
    // The deepest part of the path below the sandbox that exists decides: what lies below it
    // is created as plain folders and a file. A dangling link counts as existing.
    std::error_code ec;
    std::filesystem::path existing = target;
    while (existing != sandbox && existing.has_relative_path() &&
           !std::filesystem::exists(std::filesystem::symlink_status(existing, ec))) {
        existing = existing.parent_path();
    }
    if (existing == sandbox) return true;
    const std::filesystem::path root = std::filesystem::weakly_canonical(sandbox, ec);
    const std::filesystem::path resolved =
        ec ? std::filesystem::path() : std::filesystem::weakly_canonical(existing, ec);
    const auto [root_end, resolved_at] =
        std::mismatch(root.begin(), root.end(), resolved.begin(), resolved.end());
    if (ec || root_end != root.end()) {
        *error = "remote path leads out of the recorder's file system through a link: " +
                 target.string();
        return false;
    }
    return true;
}
