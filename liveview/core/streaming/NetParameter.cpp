#include "liveview/core/streaming/NetParameter.h"

#include "platform/records/DvrMachineInfo.h"

int32_t RateBase(int32_t quality_index) {
    switch (quality_index) {
        case 0:
            return 384;
        case 1:
            return 512;
        default:
            return 1024;
    }
}

int32_t StreamRateValue(int32_t quality_index, int32_t frames_per_second) {
    return RateBase(quality_index) / 25 * frames_per_second;
}

NetParameter LiveViewNetParameter(int user_level, int32_t quality_index, int32_t frame_rate_index) {
    if (user_level != kSuperUserLevel) return {480, 16};
    const int32_t fps = frame_rate_index == 0 ? 6 : frame_rate_index == 1 ? 10 : 16;
    return {StreamRateValue(quality_index, fps), fps};
}

NetParameter ChangedNetParameter(int user_level, int32_t quality_index, int32_t frame_rate_index) {
    if (user_level != kSuperUserLevel) return {300, 10};
    const int32_t fps = frame_rate_index == 1 ? 10 : frame_rate_index == 2 ? 16 : 6;
    return {StreamRateValue(quality_index, fps), fps};
}
