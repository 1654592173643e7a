#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "update/core/TitlePicture.h"
#include "update/core/ToolMessage.h"

// The file the title snapshot ("tmp.bmp") holds for the top-left width x height pixels of the
// preview picture. Series 7: the 16-bit RGB title image (8-byte header: 0, 0, width, height as
// little-endian 16-bit words; then the rows top first, white 0x0000 and every other pixel
// 0xFF7F). Other series: a 24-bit Windows bitmap, rows bottom first.
std::vector<std::uint8_t> EncodePreviewBitmap(const TitlePicture& picture, int width_px,
                                              int height_px, int series);

// Writes EncodePreviewBitmap of the box's client area to path; false after a message.
bool SavePreviewBitmap(const TitlePicture& picture, const PreviewBox& box, int series,
                       const std::string& path, const ToolMessageSink& show);
