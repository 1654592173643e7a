#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>

#include "common/record/QmxFile.h"
#include "common/settings/LanguageSelect.h"
#include "platform/records/NetFrameHead.h"
#include "playback/core/backup/BackupFrameCheck.h"

// The backup's file pair as the window and the decode thread share it. The window starts and
// ends backup mode; the decode thread hands every frame it receives in backup mode to Take,
// which writes the wanted ones and counts them all. Ending backup mode waits for a frame being
// written, so the pair is closed only when nothing is written into it, and no frame taken
// after the end opens another pair.
//
// A backup that cannot write (its disk is full, its folder is gone) stops writing at the first
// failure and keeps the frames written so far; so does one whose stream ends early (the link
// lost, the recorder silent). IncompleteText() then says why and what was kept.
//
// The pair is written behind: the decode thread only checks each frame, takes its room on the
// disk and buffers it, and a thread of the pair's own writes the buffers out, so the disk does
// not hold up the receiving. Closing the pair (Finish, End) waits for those writes.
class CBackupWriter {
public:
    // Why a backup ended before its span was complete, besides a failed write.
    enum class Cut { kLinkLost, kSilent };

    // Frames between two looks at whether the backup's folder is still there.
    static constexpr int kFolderCheckFrames = 64;

    // backup_mode: the window's flag, 1 while the backup dialog runs.
    explicit CBackupWriter(std::atomic<int>& backup_mode);

    // Window thread, before the backup dialog opens: closes any pair, zeroes the byte count,
    // forgets an earlier failure and turns backup mode on.
    void Begin();
    // Window thread, when the backup starts streaming: the pairs go to directory.
    void SetDirectory(const std::string& directory);
    // Window thread, when the backup starts streaming: the span's times (seconds since 1970)
    // and the recorder's announced audio channels, which the frames written must keep to.
    void SetStream(std::int64_t first_s, std::int64_t last_s, std::uint32_t audio_mask);
    // Window thread, after the dialog: backup mode off, then, once no frame is being written,
    // the pair written last is closed.
    void End();
    // Window thread, when the backup is over but its dialog not yet closed: once no frame is
    // being written the pair is closed and nothing more is written, so that the pair is
    // complete on disk before the operator is told. The cut, if any, is kept for
    // IncompleteText.
    void Finish(std::optional<Cut> cut = std::nullopt);

    // Decode thread. Empty when backup mode is off (the frame is played). Otherwise the frame
    // is counted as its length + 36 bytes, written when write is true, nothing has failed and
    // its head passes the frame check (else it counts in FramesRefused), and the result is the
    // bytes received in backup mode so far.
    std::optional<std::int64_t> Take(_NET_FRAME_HEAD_& header, const std::uint8_t* payload,
                                     bool write);

    bool BackupMode() const { return backup_mode_.load(std::memory_order_relaxed) == 1; }
    // True once a write failed or the backup was cut short.
    bool Failed() const { return failed_.load(std::memory_order_relaxed); }
    // Frames written into the backup's pairs since Begin (closed pairs hold them all).
    std::uint64_t FramesKept() const;
    // Frames since Begin left out because their head is broken.
    std::uint64_t FramesRefused() const;
    // True when no frame has come for silence_ms since the last one (or since the stream
    // began).
    bool SilentFor(int silence_ms) const;
    // "Backup incomplete: <why>. <what was kept>." in the texts' language; empty when nothing
    // failed.
    std::string IncompleteText(const LanguageSelect& texts, int silence_ms) const;

private:
    void FailLocked(int error_number);
    bool FolderGoneLocked();
    // Closes the pair; a write that fails then (the pair loses frames) fails the backup.
    void CloseLocked();
    std::uint64_t FramesKeptLocked() const;

    std::atomic<int>& backup_mode_;
    mutable std::mutex mutex_;  // held while a frame is written and while the pair is closed
    CQmxFile file_{CQmxFile::Writes::kBehind};
    std::string directory_;
    std::int64_t received_bytes_ = 0;
    int frames_since_check_ = 0;
    std::atomic<bool> failed_{false};
    std::atomic<bool> finished_{false};
    int error_number_ = 0;  // of the failed write; 0 for a cut
    std::optional<Cut> cut_;
    std::uint64_t frames_before_ = 0;  // in the file's pairs when the backup began
    std::uint64_t frames_refused_ = 0;
    CBackupFrameCheck check_;
    std::chrono::milliseconds last_frame_{};  // on the coarse clock
};
