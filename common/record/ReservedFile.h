#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "common/record/WriteBehind.h"

// A new file written through a buffer into disk space reserved ahead of it, so that bytes
// Append accepted reach the disk even when the disk fills before they are written out: Append
// fails instead, for the bytes that find no room, and keeps none of them. Where the file
// system reserves no space, every Append is written through at once.
//
// Full buffers are written out by a CWriteBehind of writes_waiting buffers (0: by the caller);
// a write that fails there (the disk failed a write it had room for) makes the next Append,
// CutTo, ReadAt or Close fail, with the file ending at what reached it.
class CReservedFile {
public:
    CReservedFile(std::size_t buffer_bytes, std::uint64_t reserve_chunk_bytes,
                  std::size_t writes_waiting = 0);
    ~CReservedFile();
    CReservedFile(const CReservedFile&) = delete;
    CReservedFile& operator=(const CReservedFile&) = delete;

    // Creates the file; an existing one is never replaced. false with errno set.
    bool Create(const std::string& path);
    // false with errno set when the bytes find no room; the file then ends as before.
    bool Append(const void* bytes, std::size_t length);
    // The file ends after its first size_bytes (at most what it holds); buffered bytes before
    // that are written out. false with errno set when they cannot be; Size() then tells where
    // the file ends.
    bool CutTo(std::uint64_t size_bytes);
    // Writes the buffer out, gives back the space reserved beyond the end and closes the file.
    // false with errno set when the buffer could not be written out.
    bool Close();

    bool IsOpen() const { return fd_ >= 0; }
    // Bytes in the file, buffered ones included.
    std::uint64_t Size() const { return size_; }
    // Reads back bytes that reached the disk (flushing first). false when they cannot be.
    bool ReadAt(std::uint64_t offset, void* bytes, std::size_t length);

private:
    bool Reserve(std::uint64_t end);
    // Hands the full buffer to the writer; false (errno set) once a write there failed.
    bool HandOver();
    // Hands the buffer over and waits until everything handed over is written.
    bool Flush();

    const std::size_t buffer_capacity_;
    const std::uint64_t reserve_chunk_;
    int fd_ = -1;
    std::vector<std::uint8_t> buffer_;
    std::uint64_t size_ = 0;      // appended
    std::uint64_t written_ = 0;   // reached the file, as of the last Flush
    std::uint64_t reserved_ = 0;  // the file's allocated length
    bool reserving_ = true;
    CWriteBehind writer_;
};
