#include "liveview/core/streaming/WindowMap.h"

namespace {

bool IsCell(int cell) { return cell >= 0 && cell < CWindowMap::kCells; }

}  // namespace

int CWindowMap::SetWindowChannel(int cell, int32_t key) {
    if (!IsCell(cell)) return -1;
    keys_[cell].store(key, std::memory_order_relaxed);
    return 1;
}

int32_t CWindowMap::GetWindowChannel(int cell) const {
    if (!IsCell(cell)) return kNoChannel;
    return keys_[cell].load(std::memory_order_relaxed);
}

void CWindowMap::ClearWindowMap() {
    for (auto& key : keys_)
        key.store(kNoChannel, std::memory_order_relaxed);
}

int CWindowMap::FindWindowOfChannel(int32_t key) const {
    for (int cell = 0; cell < kCells; ++cell) {
        if (keys_[cell].load(std::memory_order_relaxed) == key) return cell;
    }
    return -1;
}

CWindowMap::Keys CWindowMap::Snapshot() const {
    Keys keys;
    for (int cell = 0; cell < kCells; ++cell)
        keys[cell] = keys_[cell].load(std::memory_order_relaxed);
    return keys;
}

void CWindowMap::Assign(const Keys& keys) {
    for (int cell = 0; cell < kCells; ++cell)
        keys_[cell].store(keys[cell], std::memory_order_relaxed);
}

CWindowMap::Keys CWindowMap::EmptyKeys() {
    Keys keys;
    keys.fill(kNoChannel);
    return keys;
}
