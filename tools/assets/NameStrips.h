#pragma once

#include <QRect>
#include <QString>
#include <array>

#include "tools/assets/OneBitImage.h"

namespace skinart {

constexpr int kChannelCount = 16;

// One overlay file: the strip of each channel's name, where the playback program cuts it out.
struct NameStripSheet {
    const char* file_name;  // below the client programs' config folder
    int width_px, height_px;
    std::array<QRect, kChannelCount> strips;
};

const NameStripSheet& FullWidthSheet();  // 720-pixel-wide pictures
const NameStripSheet& CifSheet();        // 352-pixel-wide pictures

// The name stamped into pictures of channel (from 0).
QString ChannelName(int channel);

// The sheet with each channel's name drawn in its strip, left-aligned and upright; no ink
// falls outside the strips.
OneBitImage DrawNameStrips(const NameStripSheet& sheet);

}  // namespace skinart
