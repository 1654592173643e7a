#include "playback/core/backup/BackupWriter.h"

#include <sys/stat.h>

#include <cstring>

namespace {

bool IsDirectory(const std::string& path) {
    struct stat status;
    return ::stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

}  // namespace

CBackupWriter::CBackupWriter(std::atomic<int>& backup_mode)
    : backup_mode_(backup_mode), directory_(file_.Directory()) {}

void CBackupWriter::Begin() {
    std::lock_guard lock(mutex_);
    file_.CloseFiles();
    received_bytes_ = 0;
    frames_since_check_ = 0;
    failed_.store(false, std::memory_order_relaxed);
    failure_.clear();
    backup_mode_.store(1, std::memory_order_relaxed);
}

void CBackupWriter::SetDirectory(const std::string& directory) {
    std::lock_guard lock(mutex_);
    directory_ = directory;
    file_.SetDirectory(directory);
}

void CBackupWriter::End() {
    std::lock_guard lock(mutex_);
    backup_mode_.store(0, std::memory_order_relaxed);
    file_.Close();
}

std::optional<std::int64_t> CBackupWriter::Take(_NET_FRAME_HEAD_& header,
                                                const std::uint8_t* payload, bool write) {
    if (backup_mode_.load(std::memory_order_relaxed) != 1) return std::nullopt;
    std::lock_guard lock(mutex_);
    // Backup mode may have ended while this thread waited for the lock.
    if (backup_mode_.load(std::memory_order_relaxed) != 1) return std::nullopt;
    received_bytes_ += std::int64_t{header.nLength} + sizeof header;
    if (write && !failed_.load(std::memory_order_relaxed) && !FolderGoneLocked()) {
        if (file_.WriteFrame(&header, payload) != 1) {
            FailLocked(std::strerror(file_.ErrorNumber()));
        }
    }
    return received_bytes_;
}

// A pair whose folder is gone writes into files nobody will find; a new pair would land in
// the home folder instead of the chosen one.
bool CBackupWriter::FolderGoneLocked() {
    if (file_.IsOpen() && ++frames_since_check_ < kFolderCheckFrames) return false;
    frames_since_check_ = 0;
    if (IsDirectory(directory_)) return false;
    file_.Close();
    FailLocked("the folder is gone");
    return true;
}

void CBackupWriter::FailLocked(const std::string& why) {
    failure_ = "Backup stopped: cannot write to " + directory_ + " (" + why +
               "). The frames written before are kept.";
    failed_.store(true, std::memory_order_relaxed);
}

std::string CBackupWriter::Failure() const {
    std::lock_guard lock(mutex_);
    return failure_;
}
