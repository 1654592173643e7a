#pragma once

#include <cstdint>
#include <cstdio>
#include <mutex>
#include <string>
#include <vector>

#include "common/record/ReservedFile.h"
#include "platform/records/NetFrameHead.h"

// A local recording file pair: the index .qmx (a 56-byte head, then one 36-byte frame header
// per frame with its payload's offset in the data file) and the data .qmd (payloads back to
// back). The writer names a pair from its first frame's UTC time and starts a new pair once
// the data file passes 128 MiB. Every call is serialised, so one thread may close the pair
// while another writes to it.
class CQmxFile {
public:
    // Who writes the buffered bytes out: the caller of WriteFrame, or a thread of the pair's
    // own, for a pair written at the speed the network brings it (a backup).
    enum class Writes { kInline, kBehind };

    static constexpr uint32_t kIndexHeadBytes = 56;
    static constexpr uint32_t kRecordBytes = 36;
    static constexpr uint64_t kRollOverBytes = 134217728;  // 128 MiB
    static constexpr long kMinIndexBytes = 300;

    // Results besides 1 (and ReadFrame's lengths and its 0 at the end).
    static constexpr int kOpenFailed = -1;  // a file cannot be opened or begun, or too short
    static constexpr int kBadRecord = -30;  // a record the format does not take; a write cut short
    static constexpr int kPayloadUnread = -20;  // a payload that cannot be positioned, read or fit

    explicit CQmxFile(Writes writes = Writes::kInline);
    virtual ~CQmxFile();
    CQmxFile(const CQmxFile&) = delete;
    CQmxFile& operator=(const CQmxFile&) = delete;

    // Record directory of the next pair. Returns 1.
    int SetDirectory(const std::string& directory);
    // Name (without extension) of the next pair instead of the frame time. Returns 1.
    int SetName(const std::string& name);
    // Appends one frame (payload of header->nLength bytes) and stores its data offset in the
    // header. Returns 1, kOpenFailed when no pair can be opened, kBadRecord when a write fails
    // (the pair is closed; the next frame opens a new one) or when CheckFrameHead refuses the
    // header (the frame is not written and counts in RefusedFrames; the pair stays as it is).
    // Every frame for which it returned 1 is in the pair and reads back, also after a failed
    // write (a full disk): the pair then ends with the frame before the failure, and a pair
    // left without any frame is removed. Only a disk that fails a write it had room for takes
    // frames out again (FramesInPairs tells).
    int WriteFrame(_NET_FRAME_HEAD_* header, const uint8_t* payload);
    // Frames in the pairs this object has written: those WriteFrame wrote, less those a later
    // failed write took out of their pair again.
    uint64_t FramesInPairs() const;
    // Frames WriteFrame did not write because the pair's reader would refuse their header.
    int RefusedFrames() const;
    // The system's error number of the last failed WriteFrame or Create, 0 when none failed.
    int ErrorNumber() const;
    // Closes the pair; the next frame opens a new one. Returns 1.
    int Close();
    // Opens a new pair at index_path (and the same path with .qmd). Never replaces an existing
    // file. Returns 1 or kOpenFailed.
    int Create(const std::string& index_path);
    // Closes both files and forgets the reading state, the data offset and the open flag.
    void CloseFiles();

    // 1 for a 'V' or 'A' header of channel 0 to 15 and at most kMaxRecordedFrameBytes, else
    // kBadRecord.
    static int CheckFrameHead(const _NET_FRAME_HEAD_& header);

    // Reading a pair. OpenForRead returns 1, or kOpenFailed for a missing or short (below
    // kMinIndexBytes) index or a missing data file.
    int OpenForRead(const std::string& index_path);
    // n = 1 to 16 reads only that channel's video (1 if present, else -1); -1 reads all
    // channels (result -1).
    int SelectChannel(int n);
    // Moves to the last key video frame at or before percent of the records.
    void SeekPercent(double percent);
    // Copies the next record and its payload out. Returns the payload length, 0 at the end,
    // kBadRecord for a skipped invalid record, kPayloadUnread when the payload cannot be read
    // or does not fit payload_size_bytes (the position stays).
    int ReadFrame(_NET_FRAME_HEAD_* header, uint8_t* payload, uint32_t payload_size_bytes);
    // Percent of the records read.
    int GetProgress() const;
    // 1 once reading has reached the last seek target (which is then forgotten), else 0.
    int IsSeekTargetReached();

    std::string Directory() const;
    bool IsOpen() const;
    int RecordCount() const;
    int CurrentChannel() const;
    bool ChannelPresent(int channel) const;
    int ChannelFrames(int channel) const;
    bool AudioPresent() const;

private:
    static constexpr int kChannels = 16;

    int OpenPair(const _NET_FRAME_HEAD_& first_frame);
    int CreatePair(const std::string& index_path, int* error);
    void CloseFilesLocked();
    // Writes the pair out and closes it; false when the disk failed a write (the pair then
    // ends with the last frame that reached it whole).
    bool ClosePairLocked();
    int FailWriteLocked(int error);
    void KeepWholeFramesLocked();
    void RemoveEmptyPairLocked();
    _NET_FRAME_HEAD_ RecordAt(uint32_t position) const;
    uint32_t IndexEnd() const;
    void ScanIndex();

    mutable std::mutex mutex_;
    // Writing goes into space reserved on the disk, so that what WriteFrame accepted gets there.
    // Written behind, the pair takes its space in larger steps and keeps a few buffers waiting
    // for the disk.
    static constexpr std::size_t kDataBufferBytes = 256 * 1024;
    static constexpr uint64_t kDataReserveBytes = 2 * 1024 * 1024;
    static constexpr uint64_t kDataReserveBehindBytes = 16 * 1024 * 1024;
    static constexpr std::size_t kIndexBufferBytes = 8 * 1024;
    static constexpr std::size_t kIndexBufferBehindBytes = 64 * 1024;
    static constexpr uint64_t kIndexReserveBytes = 16 * 1024;
    static constexpr uint64_t kIndexReserveBehindBytes = 256 * 1024;
    static constexpr std::size_t kBuffersWaiting = 8;
    CReservedFile index_out_;
    CReservedFile data_out_;
    std::string index_path_;        // of the pair being written
    uint64_t written_records_ = 0;  // frames in the pair being written
    uint64_t frames_in_pairs_ = 0;
    std::FILE* data_file_ = nullptr;  // reading
    std::vector<uint8_t> index_buffer_;
    uint32_t read_position_ = kIndexHeadBytes;
    int record_count_ = 0;
    int current_channel_ = 0;
    int selected_channel_ = -1;
    int channel_present_[kChannels] = {};
    int channel_frames_[kChannels] = {};
    int audio_present_ = 0;
    uint32_t seek_target_ = 0;
    std::string name_;
    std::string directory_;
    uint64_t data_offset_ = 0;
    int open_ = 0;
    int refused_frames_ = 0;
    int error_number_ = 0;
};
