#include "playback/core/backup/BackupWriter.h"

#include <sys/stat.h>

#include <cerrno>

#include "common/settings/KeptFramesText.h"
#include "playback/core/backup/CoarseClock.h"

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
    frames_before_ = file_.FramesInPairs();
    received_bytes_ = 0;
    frames_since_check_ = 0;
    failed_.store(false, std::memory_order_relaxed);
    finished_.store(false, std::memory_order_relaxed);
    error_number_ = 0;
    cut_.reset();
    frames_refused_ = 0;
    check_.Restart();
    last_frame_ = CoarseMilliseconds();
    backup_mode_.store(1, std::memory_order_relaxed);
}

void CBackupWriter::SetDirectory(const std::string& directory) {
    std::lock_guard lock(mutex_);
    directory_ = directory;
    file_.SetDirectory(directory);
    last_frame_ = CoarseMilliseconds();  // the stream begins
}

void CBackupWriter::SetStream(std::int64_t first_s, std::int64_t last_s, std::uint32_t audio_mask) {
    std::lock_guard lock(mutex_);
    check_.Begin(first_s, last_s, audio_mask);
}

void CBackupWriter::Finish(std::optional<Cut> cut) {
    std::lock_guard lock(mutex_);
    finished_.store(true, std::memory_order_relaxed);
    CloseLocked();
    if (cut && !failed_.load(std::memory_order_relaxed)) {
        cut_ = cut;
        failed_.store(true, std::memory_order_relaxed);
    }
}

void CBackupWriter::End() {
    std::lock_guard lock(mutex_);
    backup_mode_.store(0, std::memory_order_relaxed);
    CloseLocked();
}

void CBackupWriter::CloseLocked() {
    const std::uint64_t frames = file_.FramesInPairs();
    file_.Close();
    if (file_.FramesInPairs() < frames && !failed_.load(std::memory_order_relaxed)) {
        FailLocked(file_.ErrorNumber());
    }
}

std::optional<std::int64_t> CBackupWriter::Take(_NET_FRAME_HEAD_& header,
                                                const std::uint8_t* payload, bool write) {
    if (backup_mode_.load(std::memory_order_relaxed) != 1) return std::nullopt;
    std::lock_guard lock(mutex_);
    // Backup mode may have ended while this thread waited for the lock.
    if (backup_mode_.load(std::memory_order_relaxed) != 1) return std::nullopt;
    received_bytes_ += std::int64_t{header.nLength} + sizeof header;
    last_frame_ = CoarseMilliseconds();
    const bool writing =
        !failed_.load(std::memory_order_relaxed) && !finished_.load(std::memory_order_relaxed);
    if (write && !check_.Accept(header)) {
        ++frames_refused_;
    } else if (write && writing && !FolderGoneLocked()) {
        if (file_.WriteFrame(&header, payload) != 1) FailLocked(file_.ErrorNumber());
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
    frames_before_ = file_.FramesInPairs();  // they went with the folder
    FailLocked(ENOENT);
    return true;
}

void CBackupWriter::FailLocked(int error_number) {
    error_number_ = error_number;
    failed_.store(true, std::memory_order_relaxed);
}

std::uint64_t CBackupWriter::FramesKept() const {
    std::lock_guard lock(mutex_);
    return FramesKeptLocked();
}

std::uint64_t CBackupWriter::FramesKeptLocked() const {
    return file_.FramesInPairs() - frames_before_;
}

std::uint64_t CBackupWriter::FramesRefused() const {
    std::lock_guard lock(mutex_);
    return frames_refused_;
}

bool CBackupWriter::SilentFor(int silence_ms) const {
    std::lock_guard lock(mutex_);
    return CoarseMilliseconds() - last_frame_ >= std::chrono::milliseconds(silence_ms);
}

std::string CBackupWriter::IncompleteText(const LanguageSelect& texts, int silence_ms) const {
    std::lock_guard lock(mutex_);
    if (!failed_.load(std::memory_order_relaxed)) return {};
    std::string why;
    if (!cut_) {
        why = WriteFailureReason(texts, directory_, error_number_);
    } else if (*cut_ == Cut::kLinkLost) {
        why = texts.Text("Reason_LinkLost");
    } else {
        why = FillText(texts.Text("Reason_Silent"), {std::to_string(silence_ms / 1000)});
    }
    return FillText(texts.Text("Backup_Incomplete"), {why}) + " " +
           KeptFramesText(texts, FramesKeptLocked(), directory_);
}
