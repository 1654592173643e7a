#pragma once

#include <QColor>
#include <cstdint>

// Colours reach the widgets as 0x00BBGGRR words, the form the owners' tables give them in.
inline QColor ColorFromRef(std::uint32_t colorref) {
    return QColor(static_cast<int>(colorref & 0xFF), static_cast<int>((colorref >> 8) & 0xFF),
                  static_cast<int>((colorref >> 16) & 0xFF));
}
