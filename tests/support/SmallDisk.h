#pragma once

#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>

// A disk of a few kilobytes or megabytes that a test can fill: a tmpfs mounted in the process's
// own mount namespace, which no other process sees and which goes with the process.
//
// The namespace can only be entered while the process has one thread, so a test binary that
// uses SmallDisk enters it from a static initializer:
//     const bool kPrivateMounts = SmallDisk::EnterPrivateMounts();
class SmallDisk {
public:
    // Enters a user namespace of its own (the same user, mapped to its root) and a private
    // mount namespace. Keeps the reason of a failure for Error().
    static bool EnterPrivateMounts() {
        const uid_t uid = ::getuid();
        const gid_t gid = ::getgid();
        if (::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0) {
            EntryError() = std::string("unshare: ") + std::strerror(errno);
            return false;
        }
        const bool mapped = WriteProc("/proc/self/setgroups", "deny") &&
                            WriteProc("/proc/self/uid_map", "0 " + std::to_string(uid) + " 1") &&
                            WriteProc("/proc/self/gid_map", "0 " + std::to_string(gid) + " 1");
        if (!mapped) {
            EntryError() = std::string("id map: ") + std::strerror(errno);
            return false;
        }
        EntryError().clear();
        return true;
    }

    SmallDisk(const std::filesystem::path& where, std::size_t size_bytes) : where_(where) {
        std::error_code ignored;
        std::filesystem::create_directories(where_, ignored);
        const std::string options = "size=" + std::to_string(size_bytes);
        if (!EntryError().empty()) {
            error_ = EntryError();
        } else if (::mount("smalldisk", where_.c_str(), "tmpfs", MS_NOSUID | MS_NODEV,
                           options.c_str()) != 0) {
            error_ = std::string("mount tmpfs: ") + std::strerror(errno);
        } else {
            mounted_ = true;
        }
    }
    ~SmallDisk() {
        if (mounted_) ::umount2(where_.c_str(), MNT_DETACH);
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool Mounted() const { return mounted_; }
    const std::string& Error() const { return error_; }
    const std::filesystem::path& Path() const { return where_; }

private:
    static std::string& EntryError() {
        static std::string error = "the test binary did not enter its private mounts";
        return error;
    }
    static bool WriteProc(const char* file, const std::string& text) {
        const int fd = ::open(file, O_WRONLY | O_CLOEXEC);
        if (fd < 0) return false;
        const bool written =
            ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
        ::close(fd);
        return written;
    }

    std::filesystem::path where_;
    bool mounted_ = false;
    std::string error_;
};
