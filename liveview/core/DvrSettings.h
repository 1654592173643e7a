#pragma once

#include <cstdint>
#include <string>

// One device's settings as the dialogs see them. The defaults are those of a newly added
// device.
struct _DVR_SETTINGS_ {
    std::string address;   // "host:port", "host/port" or "lookup-host/device-name"
    std::string portText;  // as entered; not used to connect
    std::string user;
    std::string password;
    std::string showName;  // tree label
    uint8_t inUse = 0;
    int32_t channelMask = 0xffff;  // channels recorded and drawn, bit i = channel i
    int32_t frameRateIndex = 2;    // 0, 1, 2: 6, 10, 16 frames per second
    int32_t qualityIndex = 2;      // 0, 1, 2: rate base 384, 512, 1024
    int32_t sendAudio = 0;
    int32_t autoConnect = 0;

    bool operator==(const _DVR_SETTINGS_&) const = default;
};
