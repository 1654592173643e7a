#pragma once

#include <optional>

#include "playback/core/window/SliderMessages.h"

enum class SliderKey { kPageUp, kPageDown, kEnd, kHome, kLeft, kUp, kRight, kDown };

// The rules of the image slider without its window: the range and position, where the thumb's
// centre lies for a position and back, and what a drag or a key does to the position and
// which message it posts. Pixels count from the control's left edge; the thumb moves
// horizontally.
class CSliderTrack {
public:
    void SetMinimum(int minimum) { minimum_ = minimum; }
    void SetMaximum(int maximum) { maximum_ = maximum; }
    // The position is not brought back into the new range.
    void SetRange(int minimum, int maximum);
    // Lowered to the maximum, then raised to the minimum.
    void SetPos(int position);
    void SetPage(int page) { page_ = page; }
    void SetChannelWidth(int width_px) { channel_width_px_ = width_px; }
    void SetThumbWidth(int width_px) { thumb_width_px_ = width_px; }
    void SetEnabled(bool enabled) { enabled_ = enabled; }

    int GetPos() const { return position_; }
    int Minimum() const { return minimum_; }
    int Maximum() const { return maximum_; }
    bool Dragging() const { return dragging_; }
    bool Enabled() const { return enabled_; }

    // Centre of the thumb at position p.
    int PositionToPixel(int position) const;
    int PixelToPosition(int x_px) const;
    // Left edge of the thumb at the present position.
    int ThumbLeft() const { return PositionToPixel(position_) - thumb_width_px_ / 2; }

    // Input on the enabled control and the message it posts, if any. A press far from the
    // thumb moves its centre to the pointer at once; a press on the thumb keeps it under the
    // pointer.
    std::optional<SliderPost> LButtonDown(int x_px);
    std::optional<SliderPost> MouseMove(int x_px);
    std::optional<SliderPost> LButtonUp();
    std::optional<SliderPost> KeyDown(SliderKey key);

private:
    int TrackLength() const;

    int maximum_ = 100;
    int minimum_ = 0;
    int position_ = 0;
    int page_ = 20;
    int channel_width_px_ = 0;
    int thumb_width_px_ = 0;
    int grab_offset_px_ = 0;
    bool dragging_ = false;
    bool enabled_ = true;
};
