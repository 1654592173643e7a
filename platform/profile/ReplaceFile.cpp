#include "platform/profile/ReplaceFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

namespace {

constexpr int kMaxLinks = 40;  // the kernel's own limit on a chain of links

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

std::optional<std::string> ReadAll(int fd) {
    std::string content;
    char buffer[16384];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return std::nullopt;
        if (got == 0) return content;
        content.append(buffer, static_cast<std::size_t>(got));
    }
}

// Makes the rename itself survive a power cut; the file is already complete either way.
void SyncFolderOf(const std::string& path) {
    const std::string folder = std::filesystem::path(path).parent_path().string();
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

// The file a chain of symbolic links ends at (the path itself when it is no link), so the
// rename replaces the target and the link stays.
std::optional<std::string> FollowLinks(std::string path) {
    for (int hops = 0; hops < kMaxLinks; ++hops) {
        std::error_code error;
        if (!std::filesystem::is_symlink(std::filesystem::symlink_status(path, error))) {
            return path;
        }
        const std::filesystem::path target = std::filesystem::read_symlink(path, error);
        if (error) return std::nullopt;
        path = target.is_absolute() ? target.string()
                                    : (std::filesystem::path(path).parent_path() / target).string();
    }
    return std::nullopt;
}

struct LockedFile {
    int fd = -1;
    bool created = false;  // missing before: made empty to have something to lock
};

// The file at path, opened and locked. The lock is on the file itself, which a writer replaces,
// so a writer that waited checks the path still names the file it locked and retries when not.
LockedFile OpenLocked(const std::string& path, mode_t new_file_mode) {
    for (;;) {
        LockedFile file{::open(path.c_str(), O_RDONLY | O_CLOEXEC), false};
        if (file.fd < 0 && errno == ENOENT) {
            file = {::open(path.c_str(), O_RDONLY | O_CREAT | O_EXCL | O_CLOEXEC, new_file_mode),
                    true};
            if (file.fd < 0 && errno == EEXIST) continue;
            if (file.fd >= 0 && ::fchmod(file.fd, new_file_mode) != 0) {
                ::unlink(path.c_str());
                ::close(file.fd);
                return {};
            }
        }
        if (file.fd < 0) return {};
        int locked;
        do {
            locked = ::flock(file.fd, LOCK_EX);
        } while (locked != 0 && errno == EINTR);
        struct stat held {};
        struct stat named {};
        if (locked != 0 || ::fstat(file.fd, &held) != 0) {
            ::close(file.fd);
            return {};
        }
        if (::stat(path.c_str(), &named) == 0 && named.st_dev == held.st_dev &&
            named.st_ino == held.st_ino) {
            return file;
        }
        ::close(file.fd);  // replaced or removed while we waited
    }
}

// Read-only as the file's attributes say: no write bit, or none for us.
bool IsReadOnly(const std::string& path, const struct stat& info) {
    return (info.st_mode & 0222) == 0 || ::access(path.c_str(), W_OK) != 0;
}

// Writes the new content under a fixed temporary name beside target and renames it over target.
// Only the lock holder uses that name, so one left by a writer that died is removed here.
bool ReplaceLocked(const std::string& target, std::string_view bytes, mode_t mode) {
    const std::string temp = target + ".tmp";
    if (::unlink(temp.c_str()) != 0 && errno != ENOENT) return false;
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    bool ok = ::fchmod(fd, mode) == 0 && WriteAll(fd, bytes) && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    if (ok) ok = ::rename(temp.c_str(), target.c_str()) == 0;
    if (!ok) {
        ::unlink(temp.c_str());
        return false;
    }
    SyncFolderOf(target);
    return true;
}

}  // namespace

bool UpdateFile(const std::string& path, const FileChange& change, mode_t new_file_mode) {
    const auto target = FollowLinks(path);
    if (!target) return false;
    const LockedFile file = OpenLocked(*target, new_file_mode);
    if (file.fd < 0) return false;
    bool ok = false;
    struct stat info {};
    if (::fstat(file.fd, &info) == 0 && S_ISREG(info.st_mode) && !IsReadOnly(*target, info)) {
        const auto current = ReadAll(file.fd);
        const auto next = current ? change(*current) : std::nullopt;
        ok = next && ReplaceLocked(*target, *next, info.st_mode & 07777);
    }
    if (!ok && file.created) ::unlink(target->c_str());
    ::close(file.fd);  // releases the lock
    return ok;
}

bool ReplaceFile(const std::string& path, std::string_view bytes, mode_t new_file_mode) {
    return UpdateFile(
        path, [bytes](const std::string&) { return std::string(bytes); }, new_file_mode);
}
