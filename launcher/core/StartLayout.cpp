#include "launcher/core/StartLayout.h"

StartRect StartWindowPlace(const StartRect& available) {
    return {available.x + (available.width_px - kStartWidth_px) / 2,
            available.y + (available.height_px - kStartHeight_px) / 2, kStartWidth_px,
            kStartHeight_px};
}

StartRect StartControlPlace(StartControl control) {
    switch (control) {
        case StartControl::kPlayer:
            return {20, 30, 63, 82};
        case StartControl::kLiveView:
            return {100, 30, 63, 82};
        case StartControl::kRemotePlayback:
            return {180, 30, 63, 82};
        case StartControl::kUpdateTool:
            return {260, 30, 63, 82};
        case StartControl::kMinimize:
            return {280, 0, 25, 25};
        case StartControl::kClose:
            return {310, 0, 25, 25};
        case StartControl::kStatusLabel:
            return {20, 120, 80, 20};
        case StartControl::kChineseChoice:
        case StartControl::kChineseButton:
        case StartControl::kChinesePlainButton:
            return {130, 122, 16, 16};
        case StartControl::kEnglishChoice:
        case StartControl::kEnglishButton:
        case StartControl::kEnglishPlainButton:
            return {230, 122, 16, 16};
        case StartControl::kChineseLabel:
            return {145, 120, 15, 15};
        case StartControl::kEnglishLabel:
            return {245, 120, 15, 15};
    }
    return {};
}
