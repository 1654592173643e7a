#include "tools/recorder-emulator/ChannelPicture.h"

#include "tools/recorder-emulator/DigitFont.h"

#include <algorithm>
#include <string>

namespace {

// Eight hues at two brightness levels; neighbours differ in both.
constexpr YuvColour kColours[16] = {
    {82, 90, 240},   {145, 54, 34},  {41, 240, 110}, {170, 166, 16},
    {107, 202, 222}, {60, 160, 60},  {120, 200, 90}, {96, 60, 150},
    {150, 110, 200}, {70, 200, 170}, {130, 70, 80},  {55, 110, 200},
    {160, 150, 120}, {90, 128, 128}, {115, 180, 40}, {140, 40, 180},
};

constexpr uint8_t kInkY = 235;
constexpr uint8_t kNeutralChroma = 128;

void FillRect(Yuv420Picture& p, int x0, int y0, int w, int h, uint8_t y, uint8_t u, uint8_t v) {
    const int x1 = std::min(p.width, x0 + w);
    const int y1 = std::min(p.height, y0 + h);
    x0 = std::max(0, x0);
    y0 = std::max(0, y0);
    for (int row = y0; row < y1; ++row) {
        std::fill(p.y.begin() + row * p.width + x0, p.y.begin() + row * p.width + x1, y);
    }
    const int cw = p.width / 2;
    for (int row = y0 / 2; row < (y1 + 1) / 2; ++row) {
        for (int col = x0 / 2; col < (x1 + 1) / 2; ++col) {
            p.u[row * cw + col] = u;
            p.v[row * cw + col] = v;
        }
    }
}

}  // namespace

YuvColour ChannelColour(int channel) { return kColours[static_cast<unsigned>(channel) % 16]; }

Yuv420Picture DrawChannelPicture(int width, int height, int channel, int frame_index,
                                 int frame_count) {
    Yuv420Picture p;
    p.width = width;
    p.height = height;
    const YuvColour bg = ChannelColour(channel);
    p.y.assign(static_cast<size_t>(width) * height, bg.y);
    p.u.assign(static_cast<size_t>(width / 2) * (height / 2), bg.u);
    p.v.assign(static_cast<size_t>(width / 2) * (height / 2), bg.v);

    // Camera number, two digits, centred and about half the picture high.
    const std::string digits = (channel + 1 < 10 ? "0" : "") + std::to_string(channel + 1);
    const int dot = std::max(2, height / 2 / kDigitRows);
    const int glyph_w = kDigitColumns * dot;
    const int gap = dot;
    const int text_w =
        static_cast<int>(digits.size()) * glyph_w + (static_cast<int>(digits.size()) - 1) * gap;
    const int left = (width - text_w) / 2;
    const int top = (height - kDigitRows * dot) / 2;
    for (size_t i = 0; i < digits.size(); ++i) {
        const int d = digits[i] - '0';
        const int gx = left + static_cast<int>(i) * (glyph_w + gap);
        for (int r = 0; r < kDigitRows; ++r) {
            for (int c = 0; c < kDigitColumns; ++c) {
                if (DigitDot(d, c, r)) {
                    FillRect(p, gx + c * dot, top + r * dot, dot, dot, kInkY, kNeutralChroma,
                             kNeutralChroma);
                }
            }
        }
    }

    // Moving bar along the bottom edge, one step per frame of the loop.
    const int bar_h = std::max(4, height / 24);
    const int bar_w = std::max(8, width / 8);
    const int span = width - bar_w;
    const int x = frame_count > 1 ? span * frame_index / (frame_count - 1) : 0;
    FillRect(p, x, height - 2 * bar_h, bar_w, bar_h, kInkY, kNeutralChroma, kNeutralChroma);
    return p;
}
