#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>

#include "common/record/QmxFile.h"
#include "platform/records/NetFrameHead.h"

// The backup's file pair as the window and the decode thread share it. The window starts and
// ends backup mode; the decode thread hands every frame it receives in backup mode to Take,
// which writes the wanted ones and counts them all. Ending backup mode waits for a frame being
// written, so the pair is closed only when nothing is written into it, and no frame taken
// after the end opens another pair.
//
// A backup that cannot write (its disk is full, its folder is gone) stops writing at the first
// failure and keeps the frames written so far; Failure() then says why.
class CBackupWriter {
public:
    // Frames between two looks at whether the backup's folder is still there.
    static constexpr int kFolderCheckFrames = 64;

    // backup_mode: the window's flag, 1 while the backup dialog runs.
    explicit CBackupWriter(std::atomic<int>& backup_mode);

    // Window thread, before the backup dialog opens: closes any pair, zeroes the byte count,
    // forgets an earlier failure and turns backup mode on.
    void Begin();
    // Window thread, when the backup starts streaming: the pairs go to directory.
    void SetDirectory(const std::string& directory);
    // Window thread, after the dialog: backup mode off, then, once no frame is being written,
    // the pair written last is closed.
    void End();

    // Decode thread. Empty when backup mode is off (the frame is played). Otherwise the frame
    // is counted as its length + 36 bytes, written when write is true and nothing has failed,
    // and the result is the bytes received in backup mode so far.
    std::optional<std::int64_t> Take(_NET_FRAME_HEAD_& header, const std::uint8_t* payload,
                                     bool write);

    bool BackupMode() const { return backup_mode_.load(std::memory_order_relaxed) == 1; }
    // The message that says why the backup stopped writing; empty while it writes.
    std::string Failure() const;
    bool Failed() const { return failed_.load(std::memory_order_relaxed); }

private:
    void FailLocked(const std::string& why);
    bool FolderGoneLocked();

    std::atomic<int>& backup_mode_;
    mutable std::mutex mutex_;  // held while a frame is written and while the pair is closed
    CQmxFile file_;
    std::string directory_;
    std::int64_t received_bytes_ = 0;
    int frames_since_check_ = 0;
    std::atomic<bool> failed_{false};
    std::string failure_;
};
