#pragma once

#include <filesystem>
#include <optional>
#include <string>

// Where a file sent to the recorder's remote path lands below the sandbox folder:
// "/mnt/mtd/bin/app" becomes <sandbox>/mnt/mtd/bin/app. Refuses, with a message, every path
// that could reach outside the sandbox or name no file: empty, "..", a NUL, a backslash
// (another system's separator, which could hide a ".."), or only separators and ".".
std::optional<std::filesystem::path> SandboxPathOf(const std::filesystem::path& sandbox,
                                                   const std::string& remote_path,
                                                   std::string* error);

// True when target, as the file system stands, stays below the sandbox: neither a folder on its
// way nor the file itself is a symbolic link that leads out. Checked before anything is created
// there. False with a message otherwise.
bool StaysInSandbox(const std::filesystem::path& sandbox, const std::filesystem::path& target,
                    std::string* error);
