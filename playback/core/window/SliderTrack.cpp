#include "playback/core/window/SliderTrack.h"

#include <algorithm>
#include <cstdlib>

void CSliderTrack::SetRange(int minimum, int maximum) {
    SetMinimum(minimum);
    SetMaximum(maximum);
}

void CSliderTrack::SetPos(int position) {
    position_ = position;
    if (position_ > maximum_) position_ = maximum_;
    if (position_ < minimum_) position_ = minimum_;
}

int CSliderTrack::TrackLength() const { return channel_width_px_ - thumb_width_px_; }

int CSliderTrack::PositionToPixel(int position) const {
    // An empty range would divide by zero: every position sits at the track's start.
    const double fraction = maximum_ == minimum_ ? 0.0
                                                 : static_cast<double>(position - minimum_) /
                                                       static_cast<double>(maximum_ - minimum_);
    return static_cast<int>(TrackLength() * fraction) + thumb_width_px_ / 2;
}

int CSliderTrack::PixelToPosition(int x_px) const {
    const int length = TrackLength();
    if (length <= 0) return minimum_;
    return static_cast<int>(static_cast<double>(x_px - thumb_width_px_ / 2) / length *
                                (maximum_ - minimum_) +
                            minimum_);
}

std::optional<SliderPost> CSliderTrack::LButtonDown(int x_px) {
    if (!enabled_) return std::nullopt;
    dragging_ = true;
    const int thumb_centre = PositionToPixel(position_);
    grab_offset_px_ = std::abs(x_px - thumb_centre) > thumb_width_px_ / 2 ? 0 : x_px - thumb_centre;
    return MouseMove(x_px);
}

std::optional<SliderPost> CSliderTrack::MouseMove(int x_px) {
    if (!dragging_ || !enabled_) return std::nullopt;
    int x = x_px - grab_offset_px_;
    x = std::max(x, thumb_width_px_ / 2);
    x = std::min(x, channel_width_px_ - thumb_width_px_ / 2);
    if (x == PositionToPixel(position_)) return std::nullopt;
    SetPos(PixelToPosition(x));
    return SliderPost{WM_IMAGESLIDER_MOVING, position_};
}

std::optional<SliderPost> CSliderTrack::LButtonUp() {
    if (!enabled_) return std::nullopt;
    dragging_ = false;
    return SliderPost{WM_IMAGESLIDER_CHANGED, position_};
}

std::optional<SliderPost> CSliderTrack::KeyDown(SliderKey key) {
    if (!enabled_) return std::nullopt;
    int value = position_;
    switch (key) {
        case SliderKey::kPageUp:
            value = position_ - page_;
            break;
        case SliderKey::kPageDown:
            value = position_ + page_;
            break;
        case SliderKey::kEnd:
            value = maximum_;
            break;
        case SliderKey::kHome:
            value = minimum_;
            break;
        case SliderKey::kLeft:
        case SliderKey::kUp:
            value = position_ - 1;
            break;
        case SliderKey::kRight:
        case SliderKey::kDown:
            value = position_ + 1;
            break;
    }
    SetPos(value);
    return SliderPost{WM_IMAGESLIDER_CHANGED, position_};
}
