#include "liveview/core/store/UserStore.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string_view>
#include <vector>

#include "liveview/core/store/UssLayout.h"
#include "platform/profile/ProgramFolder.h"
#include "platform/profile/ReplaceFile.h"

namespace {

std::string DefaultStorePath() {
    std::string folder = ParentFolder(ProgramFolder());
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder + "uss.dat";
}

// The bytes after the store in the existing file (none when there is no file); nothing when
// the file exists but cannot be read, since replacing it then would lose them.
std::optional<std::vector<uint8_t>> ReadTail(const std::string& path) {
    std::error_code error;
    const auto type = std::filesystem::status(path, error).type();
    if (type == std::filesystem::file_type::not_found) return std::vector<uint8_t>{};
    if (type != std::filesystem::file_type::regular) return std::nullopt;
    const std::uintmax_t size_bytes = std::filesystem::file_size(path, error);
    if (error) return std::nullopt;
    if (size_bytes <= kUssFileBytes) return std::vector<uint8_t>{};
    std::ifstream in(path, std::ios::binary);
    std::vector<uint8_t> tail(size_bytes - kUssFileBytes);
    in.seekg(static_cast<std::streamoff>(kUssFileBytes));
    in.read(reinterpret_cast<char*>(tail.data()), static_cast<std::streamsize>(tail.size()));
    if (!in || in.gcount() != static_cast<std::streamsize>(tail.size())) return std::nullopt;
    return tail;
}

// True when source is gone or now has a copy at copy_path.
bool KeepCopy(const std::string& source, const std::string& copy_path) {
    std::error_code error;
    if (!std::filesystem::exists(source, error)) return !error;
    std::filesystem::copy_file(source, copy_path, std::filesystem::copy_options::overwrite_existing,
                               error);
    return !error;
}

}  // namespace

CUserStore::CUserStore() : path_(DefaultStorePath()) {}

CUserStore::CUserStore(std::string path) : path_(std::move(path)) {}

UssLoadStatus CUserStore::Load(UserStoreContent& out) {
    std::error_code error;
    const auto type = std::filesystem::status(path_, error).type();
    if (type == std::filesystem::file_type::not_found) return UssLoadStatus::kNoFile;
    if (type != std::filesystem::file_type::regular) return UssLoadStatus::kReadError;
    std::ifstream in(path_, std::ios::binary);
    if (!in) return UssLoadStatus::kReadError;
    std::vector<uint8_t> bytes(kUssFileBytes);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (in.bad()) return UssLoadStatus::kReadError;
    bytes.resize(static_cast<std::size_t>(in.gcount()));

    const UssLoadStatus status = DecodeUserStore(bytes, out);
    keep_damaged_ = status == UssLoadStatus::kShortFile || status == UssLoadStatus::kRepaired;
    return status;
}

std::string CUserStore::KeepDamagedCopy() {
    std::error_code error;
    if (!keep_damaged_ || !std::filesystem::exists(path_, error)) return {};
    if (!KeepCopy(path_, DamagedPath())) return {};
    keep_damaged_ = false;
    return DamagedPath();
}

int CUserStore::Save(const UserStoreContent& content) {
    std::vector<uint8_t> bytes = EncodeUserStore(content);
    const std::optional<std::vector<uint8_t>> tail = ReadTail(path_);
    if (!tail) return -1;
    bytes.insert(bytes.end(), tail->begin(), tail->end());

    if (keep_damaged_ && !KeepCopy(path_, DamagedPath())) return -1;
    // The store holds passwords: a new store is private, an existing one keeps its mode.
    const std::string_view view(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (!ReplaceFile(path_, view, 0600)) return -1;
    keep_damaged_ = false;
    return 1;
}
