#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "UserStoreContent.h"

enum class UssLoadStatus {
    kLoaded,     // read as it was
    kRepaired,   // read, but some of it had to be mended (see DecodeUserStore)
    kNoFile,     // first start
    kShortFile,  // fewer than 43977 bytes: nothing taken from it
    kReadError,  // the file exists but cannot be read
};

inline bool IsLoaded(UssLoadStatus status) {
    return status == UssLoadStatus::kLoaded || status == UssLoadStatus::kRepaired;
}

// The 43977 bytes of the store for content. Texts too long for their fields are cut on a
// character boundary; nothing is written past a field.
std::vector<uint8_t> EncodeUserStore(const UserStoreContent& content);

// Reads the first 43977 bytes of a store into out, all or nothing: a short store leaves out as
// it was. A store that this program did not write whole is mended rather than refused (status
// kRepaired): a text without its terminator is cut to its field, devices are packed from slot
// 0 with the window map following them, and window-map keys naming no device are cleared.
UssLoadStatus DecodeUserStore(std::span<const uint8_t> bytes, UserStoreContent& out);
