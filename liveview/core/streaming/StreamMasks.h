#pragma once

#include <array>
#include <bitset>
#include <cstdint>

#include "liveview/core/store/DvrList.h"
#include "liveview/core/streaming/WindowMap.h"

// Channel masks a device is asked to stream. Cell i of the grid stands for channel bit
// (i mod 32), so in layouts above 32 cells later cells repeat the bits of earlier ones.
using VisibleCells = std::bitset<CWindowMap::kCells>;

// The bits of all visible cells: what the current device streams in the single-device view.
uint32_t VisibleCellMask(const VisibleCells& visible);

// Per device slot, the channels that visible cells of the all-devices view show.
std::array<uint32_t, CDvrList::kMaxDvrs> MappedMasks(const VisibleCells& visible,
                                                     const CWindowMap& window_map);
