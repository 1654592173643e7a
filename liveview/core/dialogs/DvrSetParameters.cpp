#include "liveview/core/dialogs/DvrSetParameters.h"

#include <algorithm>

#include "liveview/core/dialogs/DvrSetLists.h"

namespace {

constexpr int kBaudCount = 4;
constexpr int kAddressCount = 255;
constexpr int kProtocolCount = 3;
constexpr std::array<int, CDvrSetParameters::kPictureValues> kPictureCounts = {100, 100, 100, 100,
                                                                               65,  11,  11};
constexpr int kQualityCount = 3;
constexpr int kFrameRateCount = 4;

// The list position a record value shows as.
int Shown(int32_t value, int list_length) {
    return value >= 0 && value < list_length ? static_cast<int>(value) : -1;
}

// The record's array of each picture value, in the page's order.
template <class Para>
auto PictureArrays(Para& para) {
    return std::array{para.brightness + 0, para.hue + 0,    para.contrast + 0, para.saturation + 0,
                      para.hDelay + 0,     para.vDelay + 0, para.spotTime + 0};
}

// Stores a selection that differs from what the page showed; false when it does not differ.
bool StoreIfChanged(int selection, int& cached, int32_t& element) {
    if (selection < 0 || selection == cached) return false;
    cached = selection;
    element = selection;
    return true;
}

}  // namespace

void CDvrSetParameters::Start(const NET_MAC_SET_PARA& para, int series_code, int channel_count) {
    para_ = para;
    series_code_ = series_code;
    camera_count_ = std::clamp(channel_count, 0, kCameraListMax);
    const int first = IsCamera(0) ? 0 : -1;
    ptz_ = PtzOf(first);
    picture_ = PictureOf(first);
    encode_camera_ = first;
    encode_resolution_ = para_.resolution;
    encode_quality_ = first < 0 ? -1 : Shown(para_.encodeQuality[0], kQualityCount);
    encode_frame_rate_ = first < 0 ? -1 : Shown(para_.encodeFps[0], kFrameRateCount);
    changed_ = 0;
}

CDvrSetParameters::EncodeShown CDvrSetParameters::Encode() const {
    return {encode_camera_, ResolutionSelection(series_code_, encode_resolution_), encode_quality_,
            encode_frame_rate_};
}

CDvrSetParameters::PtzShown CDvrSetParameters::PtzOf(int camera) const {
    if (!IsCamera(camera)) return {};
    return {camera, Shown(para_.ptzBaud[camera], kBaudCount),
            Shown(para_.ptzAddress[camera], kAddressCount),
            Shown(para_.ptzProtocol[camera], kProtocolCount)};
}

CDvrSetParameters::PictureShown CDvrSetParameters::PictureOf(int camera) const {
    PictureShown shown;
    if (!IsCamera(camera)) return shown;
    shown.camera = camera;
    const auto arrays = PictureArrays(para_);
    for (int k = 0; k < kPictureValues; ++k)
        shown.values[k] = Shown(arrays[k][camera], kPictureCounts[k]);
    return shown;
}

std::optional<CDvrSetParameters::PtzShown> CDvrSetParameters::OnPtzChange(const PtzShown& shown) {
    changed_ = 1;
    if (shown.camera != ptz_.camera) {
        if (!IsCamera(shown.camera)) return std::nullopt;
        ptz_ = PtzOf(shown.camera);
        return ptz_;
    }
    if (!IsCamera(shown.camera)) return std::nullopt;
    const int c = shown.camera;
    if (!StoreIfChanged(shown.baud, ptz_.baud, para_.ptzBaud[c]) &&
        !StoreIfChanged(shown.address, ptz_.address, para_.ptzAddress[c])) {
        StoreIfChanged(shown.protocol, ptz_.protocol, para_.ptzProtocol[c]);
    }
    return std::nullopt;
}

std::optional<CDvrSetParameters::PictureShown> CDvrSetParameters::OnPictureChange(
    const PictureShown& shown) {
    changed_ = 1;
    if (shown.camera != picture_.camera) {
        if (!IsCamera(shown.camera)) return std::nullopt;
        picture_ = PictureOf(shown.camera);
        return picture_;
    }
    if (!IsCamera(shown.camera)) return std::nullopt;
    const auto arrays = PictureArrays(para_);
    for (int k = 0; k < kPictureValues; ++k) {
        if (StoreIfChanged(shown.values[k], picture_.values[k], arrays[k][shown.camera])) break;
    }
    return std::nullopt;
}

std::optional<CDvrSetParameters::EncodeShown> CDvrSetParameters::OnEncodeChange(
    const EncodeShown& shown, const std::function<bool()>& ask_restart) {
    changed_ = 1;
    if (shown.camera != encode_camera_) {
        if (!IsCamera(shown.camera)) return std::nullopt;
        encode_camera_ = shown.camera;
        encode_quality_ = Shown(para_.encodeQuality[shown.camera], kQualityCount);
        encode_frame_rate_ = Shown(para_.encodeFps[shown.camera], kFrameRateCount);
        return EncodeShown{shown.camera, shown.resolution, encode_quality_, encode_frame_rate_};
    }
    if (shown.resolution >= 0) {
        const int32_t resolution = ResolutionValue(series_code_, shown.resolution);
        if (resolution != encode_resolution_ && ask_restart()) {
            para_.resolution = resolution;
            encode_resolution_ = resolution;
        }
    }
    if (!IsCamera(shown.camera)) return std::nullopt;
    const int c = shown.camera;
    if (!StoreIfChanged(shown.quality, encode_quality_, para_.encodeQuality[c]))
        StoreIfChanged(shown.frame_rate, encode_frame_rate_, para_.encodeFps[c]);
    return std::nullopt;
}
