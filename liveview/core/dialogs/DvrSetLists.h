#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/records/DvrMachineInfo.h"

class LanguageSelect;

// The lists of the recorder settings dialog. Every value of the recorder's parameter record is
// the position of an entry in its list, stored as it is.

inline constexpr int kSeriesSeven = 7;
inline constexpr int kCameraListMax = 16;  // cameras the parameter record holds

// 7 for a recorder of series number 7 (type code / 1000), else 0.
int SeriesCodeOf(int32_t type_code);
// The recorder's cameras by its type code (type code % 1000).
int ChannelCountOf(int32_t type_code);
// The parameters are read only from a linked recorder whose log-in is the super user's.
bool CanReadParameters(const _DVR_MACHINE_INFO_& info);

// "CH01" .. for the cameras a list offers: the channel count, but never more than the 16 the
// record holds.
std::vector<std::string> CameraTexts(int channel_count);

// Brightness, hue, contrast and saturation: 100 positions showing -50 .. 49.
std::vector<std::string> PictureLevelTexts();
// Horizontal picture delay: 65 positions showing 32 down to -32.
std::vector<std::string> HorizontalDelayTexts();
// Vertical picture delay: 11 positions showing 5 down to -5.
std::vector<std::string> VerticalDelayTexts();
// Spot output time: "00 sec" .. "10 sec".
std::vector<std::string> SpotTimeTexts();
std::vector<std::string> BaudTexts();
// PTZ device address of a position: position + 1, in hex ("01" .. "ff").
std::vector<std::string> DeviceIdTexts();
std::vector<std::string> ProtocolTexts();
// Recording quality: low, middle, high on series 7; high, middle, low on the others.
std::vector<std::string> EncodeQualityTexts(const LanguageSelect& texts, int series_code);
// Recording frame rate: lowest, low, middle, high.
std::vector<std::string> EncodeFrameRateTexts(const LanguageSelect& texts);
std::vector<std::string> ResolutionTexts();
// The live view's own frame rate and quality of a device.
std::vector<std::string> LiveFrameRateTexts();
std::vector<std::string> LiveQualityTexts(const LanguageSelect& texts);

// The resolution list's position of the record's value (series 7: 0 CIF, 1 D1; others: 1 CIF,
// 2 D1), -1 for a value no entry stands for; and the value of a position.
int ResolutionSelection(int series_code, int32_t value);
int32_t ResolutionValue(int series_code, int selection);
