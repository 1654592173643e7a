#include "liveview/core/dialogs/DvrSetLists.h"

#include <algorithm>
#include <cstdio>

#include "common/settings/LanguageSelect.h"

namespace {

std::string Number(const char* pattern, int value) {
    char text[16];
    std::snprintf(text, sizeof text, pattern, value);
    return text;
}

}  // namespace

int SeriesCodeOf(int32_t type_code) { return type_code / 1000 == kSeriesSeven ? kSeriesSeven : 0; }

int ChannelCountOf(int32_t type_code) { return type_code % 1000; }

bool CanReadParameters(const _DVR_MACHINE_INFO_& info) {
    return info.nLinkState != kLinkIdle && info.nUserLevel == kSuperUserLevel;
}

std::vector<std::string> CameraTexts(int channel_count) {
    std::vector<std::string> cameras;
    for (int n = 1; n <= std::min(channel_count, kCameraListMax); ++n)
        cameras.push_back(Number("CH%.2d", n));
    return cameras;
}

std::vector<std::string> PictureLevelTexts() {
    std::vector<std::string> levels;
    for (int position = 0; position < 100; ++position)
        levels.push_back(Number("%.2d", position - 50));
    return levels;
}

std::vector<std::string> HorizontalDelayTexts() {
    std::vector<std::string> delays;
    for (int position = 0; position <= 64; ++position)
        delays.push_back(Number("%.2d", 32 - position));
    return delays;
}

std::vector<std::string> VerticalDelayTexts() {
    std::vector<std::string> delays;
    for (int position = 0; position <= 10; ++position)
        delays.push_back(Number("%.2d", 5 - position));
    return delays;
}

std::vector<std::string> SpotTimeTexts() {
    std::vector<std::string> times;
    for (int seconds = 0; seconds <= 10; ++seconds)
        times.push_back(Number("%.2d sec", seconds));
    return times;
}

std::vector<std::string> BaudTexts() { return {"1200", "2400", "4800", "9600"}; }

std::vector<std::string> DeviceIdTexts() {
    std::vector<std::string> ids;
    for (int address = 1; address <= 255; ++address)
        ids.push_back(Number("%.2x", address));
    return ids;
}

std::vector<std::string> ProtocolTexts() { return {"PELCO_D1", "PELCO_D2", "PELCO_P"}; }

std::vector<std::string> EncodeQualityTexts(const LanguageSelect& texts, int series_code) {
    std::vector<std::string> qualities = {texts.Text("frame_low"), texts.Text("frame_middle"),
                                          texts.Text("frame_high")};
    if (series_code != kSeriesSeven) std::reverse(qualities.begin(), qualities.end());
    return qualities;
}

std::vector<std::string> EncodeFrameRateTexts(const LanguageSelect& texts) {
    return {texts.Text("frame_lowest"), texts.Text("frame_low"), texts.Text("frame_middle"),
            texts.Text("frame_high")};
}

std::vector<std::string> ResolutionTexts() { return {"CIF", "D1"}; }

std::vector<std::string> LiveFrameRateTexts() { return {"3", "8", "16"}; }

std::vector<std::string> LiveQualityTexts(const LanguageSelect& texts) {
    return {texts.Text("frame_low"), texts.Text("frame_middle"), texts.Text("frame_high")};
}

int ResolutionSelection(int series_code, int32_t value) {
    const int32_t first = series_code == kSeriesSeven ? 0 : 1;
    return value == first || value == first + 1 ? value - first : -1;
}

int32_t ResolutionValue(int series_code, int selection) {
    return series_code == kSeriesSeven ? selection : selection + 1;
}
