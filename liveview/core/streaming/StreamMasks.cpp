#include "liveview/core/streaming/StreamMasks.h"

namespace {

uint32_t ChannelBit(int channel) { return uint32_t{1} << (channel % 32); }

}  // namespace

uint32_t VisibleCellMask(const VisibleCells& visible) {
    uint32_t mask = 0;
    for (int cell = 0; cell < CWindowMap::kCells; ++cell) {
        if (visible[cell]) mask |= ChannelBit(cell);
    }
    return mask;
}

std::array<uint32_t, CDvrList::kMaxDvrs> MappedMasks(const VisibleCells& visible,
                                                     const CWindowMap& window_map) {
    std::array<uint32_t, CDvrList::kMaxDvrs> masks{};
    for (int cell = 0; cell < CWindowMap::kCells; ++cell) {
        if (!visible[cell]) continue;
        const int32_t key = window_map.GetWindowChannel(cell);
        // A key naming no slot (only a foreign store could hold one) would index past the masks.
        if (key < 0 || KeyDevice(key) >= CDvrList::kMaxDvrs) continue;
        masks[KeyDevice(key)] |= ChannelBit(KeyChannel(key));
    }
    return masks;
}
