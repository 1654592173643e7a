#pragma once

#include <array>
#include <atomic>
#include <cstdint>

// A channel key names one camera: device slot x 100 + channel, both from 0.
constexpr int32_t MakeChannelKey(int slot, int channel) { return slot * 100 + channel; }
constexpr int KeyDevice(int32_t key) { return key / 100; }
constexpr int KeyChannel(int32_t key) { return key % 100; }

// Which camera each video cell shows in the all-devices view: a channel key per cell, -1 for
// an unassigned cell. Frame threads read it while the window thread changes it, so every cell
// is an atomic; a reader sees each cell either before or after a change.
class CWindowMap {
public:
    static constexpr int kCells = 256;
    static constexpr int32_t kNoChannel = -1;
    using Keys = std::array<int32_t, kCells>;

    CWindowMap() { ClearWindowMap(); }
    CWindowMap(const CWindowMap&) = delete;
    CWindowMap& operator=(const CWindowMap&) = delete;

    // 1, or -1 for a cell outside 0..255 (nothing changes then).
    int SetWindowChannel(int cell, int32_t key);
    // The cell's key; -1 for a cell outside 0..255.
    int32_t GetWindowChannel(int cell) const;
    void ClearWindowMap();
    // The lowest cell showing key, or -1.
    int FindWindowOfChannel(int32_t key) const;

    // Whole-map copies for the device store.
    Keys Snapshot() const;
    void Assign(const Keys& keys);
    static Keys EmptyKeys();

private:
    std::array<std::atomic<int32_t>, kCells> keys_;
};
