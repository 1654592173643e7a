#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "liveview/core/store/UserStoreContent.h"

enum class UssLoadStatus {
    kLoaded,     // read as it was
    kRepaired,   // read, but some of it had to be mended (see DecodeUserStore)
    kNoFile,     // first start
    kShortFile,  // fewer than 43977 bytes: only the parts that lie whole before the cut
    kReadError,  // the file exists but cannot be read
};

inline bool IsLoaded(UssLoadStatus status) {
    return status == UssLoadStatus::kLoaded || status == UssLoadStatus::kRepaired;
}

// The 43977 bytes of the store for content. Texts too long for their fields are cut on a
// character boundary; nothing is written past a field.
std::vector<uint8_t> EncodeUserStore(const UserStoreContent& content);

// Reads the first 43977 bytes of a store into out. Records stay in their slots and the
// device count is the number of records in use, so a store comes back unchanged. A short
// store (kShortFile) gives the parts that lie whole before the cut, in their order: the 64
// device records, record directory, passwords, flag, window map. A store
// that this program did not write is mended rather than refused (status kRepaired): a text
// without its terminator is cut to its field, an in-use byte other than 0 and 1 becomes 0.
UssLoadStatus DecodeUserStore(std::span<const uint8_t> bytes, UserStoreContent& out);
