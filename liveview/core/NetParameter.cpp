#include "NetParameter.h"

#include "DvrMachineInfo.h"

int32_t RateBase(int32_t qualityIndex) {
    switch (qualityIndex) {
        case 0:
            return 384;
        case 1:
            return 512;
        default:
            return 1024;
    }
}

int32_t StreamRateValue(int32_t qualityIndex, int32_t framesPerSecond) {
    return RateBase(qualityIndex) / 25 * framesPerSecond;
}

NetParameter LiveViewNetParameter(int userLevel, int32_t qualityIndex, int32_t frameRateIndex) {
    if (userLevel != kSuperUserLevel) return {480, 16};
    const int32_t fps = frameRateIndex == 0 ? 6 : frameRateIndex == 1 ? 10 : 16;
    return {StreamRateValue(qualityIndex, fps), fps};
}

NetParameter ChangedNetParameter(int userLevel, int32_t qualityIndex, int32_t frameRateIndex) {
    if (userLevel != kSuperUserLevel) return {300, 10};
    const int32_t fps = frameRateIndex == 1 ? 10 : frameRateIndex == 2 ? 16 : 6;
    return {StreamRateValue(qualityIndex, fps), fps};
}
