#include "update/core/RemotePath.h"

#include <filesystem>

int FindUpdateDir(const std::string& path) {
    const std::size_t at = path.find(kUpdateMarker);
    return at == std::string::npos ? -1 : static_cast<int>(at);
}

std::string MakeRemotePath(const std::string& local_path, const std::string& folder) {
    const int marker = FindUpdateDir(local_path);
    if (marker >= 0) {
        return kRemoteRoot + local_path.substr(static_cast<std::size_t>(marker) +
                                               std::char_traits<char>::length(kUpdateMarker));
    }
    return kRemoteRoot +
           std::filesystem::path(local_path).lexically_relative(folder).generic_string();
}
