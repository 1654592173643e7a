#include "common/record/QmxFile.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "common/record/QmxIndexHead.h"
#include "platform/profile/HomeFolder.h"

namespace {

// Suffixes _1, _2, ... tried when a name is taken (same second, same directory).
constexpr int kNameAttempts = 1000;

bool IsDirectory(const std::string& path) {
    struct stat status;
    return ::stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

// yyyymmdd_hhmmss of the time broken down as UTC. A negative frame time has no calendar form
// on the recorder's side; the pair is then named from the time it is written.
std::string NameFromTime(int32_t frame_time) {
    const std::time_t when =
        frame_time >= 0 ? static_cast<std::time_t>(frame_time) : std::time(nullptr);
    std::tm utc{};
    if (gmtime_r(&when, &utc) == nullptr) {
        utc = std::tm{};
        utc.tm_year = 70;
        utc.tm_mday = 1;
    }
    char name[64];
    std::snprintf(name, sizeof name, "%04d%02d%02d_%02d%02d%02d", utc.tm_year + 1900,
                  utc.tm_mon + 1, utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec);
    return name;
}

std::string DataPath(const std::string& index_path) {
    const std::string extension = ".qmx";
    if (index_path.size() >= extension.size() &&
        index_path.compare(index_path.size() - extension.size(), extension.size(), extension) ==
            0) {
        return index_path.substr(0, index_path.size() - extension.size()) + ".qmd";
    }
    return index_path + ".qmd";
}

}  // namespace

CQmxFile::CQmxFile(Writes writes)
    : index_out_(writes == Writes::kBehind ? kIndexBufferBehindBytes : kIndexBufferBytes,
                 writes == Writes::kBehind ? kIndexReserveBehindBytes : kIndexReserveBytes,
                 writes == Writes::kBehind ? kBuffersWaiting : 0),
      data_out_(kDataBufferBytes,
                writes == Writes::kBehind ? kDataReserveBehindBytes : kDataReserveBytes,
                writes == Writes::kBehind ? kBuffersWaiting : 0),
      directory_(HomeFolder()) {}

CQmxFile::~CQmxFile() { CloseFilesLocked(); }

int CQmxFile::SetDirectory(const std::string& directory) {
    std::lock_guard<std::mutex> lock(mutex_);
    directory_ = directory;
    return 1;
}

int CQmxFile::SetName(const std::string& name) {
    std::lock_guard<std::mutex> lock(mutex_);
    name_ = name;
    return 1;
}

std::string CQmxFile::Directory() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return directory_;
}

bool CQmxFile::IsOpen() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return open_ != 0;
}

int CQmxFile::CheckFrameHead(const _NET_FRAME_HEAD_& header) {
    const bool type_ok = header.cType == 'V' || header.cType == 'A';
    const bool channel_ok = header.nChannel >= 0 && header.nChannel < kChannels;
    return type_ok && channel_ok && header.nLength <= kMaxRecordedFrameBytes ? 1 : kBadRecord;
}

int CQmxFile::CreatePair(const std::string& index_path, int* error) {
    CloseFilesLocked();
    *error = 0;
    // Never replaces a file: a pair never truncates another writer's files.
    if (!index_out_.Create(index_path)) {
        *error = errno;
        return kOpenFailed;
    }
    if (!data_out_.Create(DataPath(index_path))) {
        *error = errno;
        index_out_.Close();
        std::remove(index_path.c_str());  // ours, and still empty; the data file is not
        return kOpenFailed;
    }
    index_path_ = index_path;
    const _QMX_INDEX_HEAD_ head{};
    if (!index_out_.Append(&head, sizeof head)) {
        *error = errno;
        RemoveEmptyPairLocked();
        return kOpenFailed;
    }
    data_offset_ = 0;
    written_records_ = 0;
    return 1;
}

int CQmxFile::Create(const std::string& index_path) {
    std::lock_guard<std::mutex> lock(mutex_);
    int error = 0;
    const int result = CreatePair(index_path, &error);
    if (result != 1) error_number_ = error;
    return result;
}

int CQmxFile::ErrorNumber() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return error_number_;
}

int CQmxFile::OpenPair(const _NET_FRAME_HEAD_& first_frame) {
    std::string base;
    if (!name_.empty()) {
        base = name_;
    } else {
        if (directory_.size() > 1 && directory_.back() == '/') {
            directory_.pop_back();
        }
        if (!IsDirectory(directory_)) {
            directory_ = HomeFolder();
        }
        base = NameFromTime(first_frame.nTime);
    }
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        std::string path = directory_ + "/" + base;
        if (attempt > 0) {
            path += '_';
            path += std::to_string(attempt);
        }
        path += ".qmx";
        int error = 0;
        if (CreatePair(path, &error) == 1) {
            return 1;
        }
        if (error != EEXIST) {
            error_number_ = error;
            return kOpenFailed;
        }
    }
    error_number_ = EEXIST;
    return kOpenFailed;
}

int CQmxFile::WriteFrame(_NET_FRAME_HEAD_* header, const uint8_t* payload) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (header == nullptr || (header->nLength > 0 && payload == nullptr)) {
        return kOpenFailed;
    }
    // The live check admits channels up to 255; a record the reader refuses would break the
    // pair for every reader, so such a frame is left out.
    if (CheckFrameHead(*header) != 1) {
        ++refused_frames_;
        return kBadRecord;
    }
    if (open_ == 0) {
        if (OpenPair(*header) != 1) {
            return kOpenFailed;
        }
        open_ = 1;
    }
    // Both files hold room for the frame before it counts as written: a frame that returned 1
    // is in the pair even when the disk fills with the next one.
    if (!data_out_.Append(payload, header->nLength)) {
        return FailWriteLocked(errno);
    }
    header->nOffset = static_cast<uint32_t>(data_offset_);
    if (!index_out_.Append(header, sizeof *header)) {
        return FailWriteLocked(errno);
    }
    data_offset_ += header->nLength;
    ++written_records_;
    ++frames_in_pairs_;
    if (data_offset_ > kRollOverBytes) {
        if (!ClosePairLocked()) return kBadRecord;
    }
    return 1;
}

uint64_t CQmxFile::FramesInPairs() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return frames_in_pairs_;
}

int CQmxFile::RefusedFrames() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return refused_frames_;
}

int CQmxFile::FailWriteLocked(int error) {
    error_number_ = error;
    // The frame that failed leaves no part of itself behind: the pair ends with the last frame
    // written whole.
    const bool data_whole = data_out_.CutTo(data_offset_);
    const bool index_whole = index_out_.CutTo(kIndexHeadBytes + written_records_ * kRecordBytes);
    if (!data_whole || !index_whole) KeepWholeFramesLocked();
    if (written_records_ == 0) {
        RemoveEmptyPairLocked();
    } else {
        CloseFilesLocked();
    }
    return kBadRecord;
}

// After a write the disk failed (not one it had no room for): the index is cut back to the
// records whose payloads lie whole in the data file.
void CQmxFile::KeepWholeFramesLocked() {
    const uint64_t index_bytes = index_out_.Size();
    uint64_t records =
        index_bytes < kIndexHeadBytes ? 0 : (index_bytes - kIndexHeadBytes) / kRecordBytes;
    while (records > 0) {
        _NET_FRAME_HEAD_ record;
        if (!index_out_.ReadAt(kIndexHeadBytes + (records - 1) * kRecordBytes, &record,
                               sizeof record)) {
            records = 0;
            break;
        }
        if (uint64_t{record.nOffset} + record.nLength <= data_out_.Size()) break;
        --records;
    }
    index_out_.CutTo(kIndexHeadBytes + records * kRecordBytes);
    frames_in_pairs_ -= written_records_ - std::min(records, written_records_);
    written_records_ = records;
}

bool CQmxFile::ClosePairLocked() {
    if (!index_out_.IsOpen() && !data_out_.IsOpen()) return true;
    const bool data_flushed = data_out_.CutTo(data_out_.Size());
    const bool index_flushed = index_out_.CutTo(index_out_.Size());
    if (!data_flushed || !index_flushed) {
        error_number_ = errno;
        KeepWholeFramesLocked();
    }
    data_out_.Close();
    index_out_.Close();
    index_path_.clear();
    written_records_ = 0;
    data_offset_ = 0;
    open_ = 0;
    return data_flushed && index_flushed;
}

// A pair that holds no frame is no recording; a full disk would otherwise collect one empty
// pair per attempt.
void CQmxFile::RemoveEmptyPairLocked() {
    const std::string index_path = index_path_;
    data_out_.Close();
    index_out_.Close();
    CloseFilesLocked();
    std::remove(index_path.c_str());
    std::remove(DataPath(index_path).c_str());
}

int CQmxFile::Close() {
    CloseFiles();
    return 1;
}

void CQmxFile::CloseFiles() {
    std::lock_guard<std::mutex> lock(mutex_);
    CloseFilesLocked();
}

void CQmxFile::CloseFilesLocked() {
    ClosePairLocked();
    if (data_file_ != nullptr) {
        std::fclose(data_file_);
        data_file_ = nullptr;
    }
    index_path_.clear();
    written_records_ = 0;
    index_buffer_.clear();
    index_buffer_.shrink_to_fit();
    read_position_ = kIndexHeadBytes;
    record_count_ = 0;
    seek_target_ = 0;
    selected_channel_ = -1;
    data_offset_ = 0;
    open_ = 0;
}

int CQmxFile::OpenForRead(const std::string& index_path) {
    std::lock_guard<std::mutex> lock(mutex_);
    CloseFilesLocked();
    std::FILE* index = std::fopen(index_path.c_str(), "rb");
    if (index == nullptr) {
        return kOpenFailed;
    }
    long length = -1;
    if (std::fseek(index, 0, SEEK_END) == 0) {
        length = std::ftell(index);
    }
    if (length < kMinIndexBytes || length > INT_MAX || std::fseek(index, 0, SEEK_SET) != 0) {
        std::fclose(index);
        return kOpenFailed;
    }
    index_buffer_.resize(static_cast<size_t>(length));
    const size_t got = std::fread(index_buffer_.data(), 1, index_buffer_.size(), index);
    std::fclose(index);
    if (got != index_buffer_.size()) {
        CloseFilesLocked();
        return kOpenFailed;
    }
    data_file_ = std::fopen(DataPath(index_path).c_str(), "rb");
    if (data_file_ == nullptr) {
        CloseFilesLocked();
        return kOpenFailed;
    }
    record_count_ = static_cast<int>((length - kIndexHeadBytes) / kRecordBytes);
    read_position_ = kIndexHeadBytes;
    ScanIndex();
    return 1;
}

_NET_FRAME_HEAD_ CQmxFile::RecordAt(uint32_t position) const {
    _NET_FRAME_HEAD_ record;
    std::memcpy(&record, index_buffer_.data() + position, sizeof record);
    return record;
}

uint32_t CQmxFile::IndexEnd() const {
    return kIndexHeadBytes + static_cast<uint32_t>(record_count_) * kRecordBytes;
}

void CQmxFile::ScanIndex() {
    std::memset(channel_present_, 0, sizeof channel_present_);
    std::memset(channel_frames_, 0, sizeof channel_frames_);
    audio_present_ = 0;
    current_channel_ = kChannels - 1;
    selected_channel_ = -1;
    for (uint32_t position = kIndexHeadBytes; position < IndexEnd(); position += kRecordBytes) {
        const _NET_FRAME_HEAD_ record = RecordAt(position);
        if (record.cType == 'V') {
            // Channels outside the per-channel tables are not counted.
            if (record.nChannel >= 0 && record.nChannel < kChannels) {
                channel_present_[record.nChannel] = 1;
                ++channel_frames_[record.nChannel];
                if (record.nChannel < current_channel_) {
                    current_channel_ = record.nChannel;
                }
            }
        } else if (record.cType == 'A') {
            audio_present_ = 1;
        }
    }
}

int CQmxFile::SelectChannel(int n) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (n >= 1 && n <= kChannels && channel_present_[n - 1] != 0) {
        current_channel_ = n - 1;
        selected_channel_ = n - 1;
        return 1;
    }
    if (n == -1) {
        selected_channel_ = -1;
    }
    return -1;
}

void CQmxFile::SeekPercent(double percent) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (record_count_ <= 0) {
        return;
    }
    if (!(percent >= 0)) {
        percent = 0;
    } else if (percent > 100) {
        percent = 100;
    }
    // The format's readers hold one percent in single precision: 50 percent of 200 records
    // is record 99.
    const double one_percent = 0.01f;
    long target = static_cast<long>(percent * one_percent * record_count_);
    if (target >= record_count_) {
        target = record_count_ - 1;
    }
    uint32_t position = kIndexHeadBytes;
    for (long k = target; k >= 0; --k) {
        const uint32_t at = kIndexHeadBytes + static_cast<uint32_t>(k) * kRecordBytes;
        const _NET_FRAME_HEAD_ record = RecordAt(at);
        const bool channel_ok = selected_channel_ < 0 || record.nChannel == current_channel_;
        if (record.cType == 'V' && record.nKeyFrame == 1 && channel_ok) {
            position = at;
            break;
        }
    }
    read_position_ = position;
    seek_target_ = kIndexHeadBytes + static_cast<uint32_t>(target) * kRecordBytes;
}

int CQmxFile::ReadFrame(_NET_FRAME_HEAD_* header, uint8_t* payload, uint32_t payload_size_bytes) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (header == nullptr || data_file_ == nullptr || index_buffer_.empty()) {
        return 0;
    }
    const uint32_t end = IndexEnd();
    for (;;) {
        if (read_position_ + kRecordBytes > end) {
            return 0;
        }
        const _NET_FRAME_HEAD_ record = RecordAt(read_position_);
        if (selected_channel_ >= 0 && record.cType == 'V' && record.nChannel != selected_channel_) {
            read_position_ += kRecordBytes;
            continue;
        }
        if (CheckFrameHead(record) != 1) {
            read_position_ += kRecordBytes;
            return read_position_ + kRecordBytes > end ? 0 : kBadRecord;
        }
        *header = record;
        if (record.nLength > payload_size_bytes || (record.nLength > 0 && payload == nullptr)) {
            return kPayloadUnread;
        }
        if (std::fseek(data_file_, static_cast<long>(record.nOffset), SEEK_SET) != 0 ||
            std::fread(payload, 1, record.nLength, data_file_) != record.nLength) {
            return kPayloadUnread;
        }
        read_position_ += kRecordBytes;
        return static_cast<int>(record.nLength);
    }
}

int CQmxFile::GetProgress() const {
    std::lock_guard<std::mutex> lock(mutex_);
    if (data_file_ == nullptr || record_count_ <= 0) {
        return 0;
    }
    const long records_read = (read_position_ - kIndexHeadBytes) / kRecordBytes;
    return static_cast<int>(records_read * 100 / record_count_);
}

int CQmxFile::IsSeekTargetReached() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (seek_target_ != 0 && read_position_ >= seek_target_) {
        seek_target_ = 0;
        return 1;
    }
    return 0;
}

int CQmxFile::RecordCount() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return record_count_;
}

int CQmxFile::CurrentChannel() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return current_channel_;
}

bool CQmxFile::ChannelPresent(int channel) const {
    std::lock_guard<std::mutex> lock(mutex_);
    return channel >= 0 && channel < kChannels && channel_present_[channel] != 0;
}

int CQmxFile::ChannelFrames(int channel) const {
    std::lock_guard<std::mutex> lock(mutex_);
    return channel >= 0 && channel < kChannels ? channel_frames_[channel] : 0;
}

bool CQmxFile::AudioPresent() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return audio_present_ != 0;
}
