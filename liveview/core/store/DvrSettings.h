#pragma once

#include <cstdint>
#include <string>

// One device's settings as the dialogs see them. The defaults are those of a newly added
// device.
struct _DVR_SETTINGS_ {
    std::string address;    // "host:port", "host/port" or "lookup-host/device-name"
    std::string port_text;  // as entered; not used to connect
    std::string user;
    std::string password;
    std::string show_name;  // tree label
    uint8_t in_use = 0;
    int32_t channel_mask = 0xffff;  // channels recorded and drawn, bit i = channel i
    int32_t frame_rate_index = 2;   // 0, 1, 2: 6, 10, 16 frames per second
    int32_t quality_index = 2;      // 0, 1, 2: rate base 384, 512, 1024
    int32_t send_audio = 0;
    int32_t auto_connect = 0;

    bool operator==(const _DVR_SETTINGS_&) const = default;
};
