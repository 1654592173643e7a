#include "tools/recorder-emulator/RecorderConfig.h"

#include <algorithm>

RecorderConfig DefaultRecorderConfig(int channel_count, int64_t today) {
    RecorderConfig config;
    config.channel_count = std::clamp(channel_count, 1, 16);
    config.type_code = 1000 + config.channel_count;
    config.channel_formats.assign(config.channel_count, ChannelFormat{});
    config.users = {{"admin", "admin", 2}, {"guest", "guest", 1}};
    config.day_schedule = {{0, 86400, (1u << config.channel_count) - 1}};
    config.first_record_day = today - 6;
    config.last_record_day = today;
    return config;
}
