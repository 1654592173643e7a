#pragma once

#include <array>
#include <functional>
#include <optional>

#include "platform/records/NetMacSetPara.h"

// The recorder's parameter record as the settings dialog's three parameter pages edit it, in
// place while the dialog is open. Each page shows one camera at a time and caches what it
// shows: switching the camera only shows that camera's values; changing a value stores it for
// the camera shown. Selections are list positions, -1 for none; a value of the record that no
// list entry stands for shows as none and is never written back. Only the cameras of the list
// are read or written, and never more than the 16 the record holds.
class CDvrSetParameters {
public:
    static constexpr int kPictureValues = 7;

    struct PtzShown {
        int camera = -1;
        int baud = -1;
        int address = -1;
        int protocol = -1;
        bool operator==(const PtzShown&) const = default;
    };
    // Brightness, hue, contrast, saturation, horizontal and vertical delay, spot time.
    struct PictureShown {
        int camera = -1;
        std::array<int, kPictureValues> values{-1, -1, -1, -1, -1, -1, -1};
        bool operator==(const PictureShown&) const = default;
    };
    struct EncodeShown {
        int camera = -1;
        int resolution = -1;  // position in the resolution list
        int quality = -1;
        int frame_rate = -1;
        bool operator==(const EncodeShown&) const = default;
    };

    // The record as read from the recorder; the pages start at the first camera and the
    // changed flag is cleared.
    void Start(const NET_MAC_SET_PARA& para, int series_code, int channel_count);

    const NET_MAC_SET_PARA& Para() const { return para_; }
    int CameraCount() const { return camera_count_; }
    // 1 after any change on a parameter page, a switch of camera included.
    int Changed() const { return changed_; }

    // What each page shows now.
    PtzShown Ptz() const { return ptz_; }
    PictureShown Picture() const { return picture_; }
    EncodeShown Encode() const;

    // A combo of a page changed; `shown` is what the page's combos show now. When the camera
    // was switched, the result is what the page must show for it.
    std::optional<PtzShown> OnPtzChange(const PtzShown& shown);
    std::optional<PictureShown> OnPictureChange(const PictureShown& shown);
    // A different resolution restarts the recorder: `ask_restart` says whether to take it.
    std::optional<EncodeShown> OnEncodeChange(const EncodeShown& shown,
                                              const std::function<bool()>& ask_restart);

private:
    bool IsCamera(int camera) const { return camera >= 0 && camera < camera_count_; }
    PtzShown PtzOf(int camera) const;
    PictureShown PictureOf(int camera) const;

    NET_MAC_SET_PARA para_{};
    int series_code_ = 0;
    int camera_count_ = 0;
    int changed_ = 0;
    PtzShown ptz_;
    PictureShown picture_;
    // Camera, quality and frame rate as shown, and the resolution value last taken.
    int encode_camera_ = -1;
    int32_t encode_resolution_ = 0;
    int encode_quality_ = -1;
    int encode_frame_rate_ = -1;
};
