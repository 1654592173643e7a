#include "common/audio/AudioRoute.h"

#include <bit>

int AudioChannelOfMask(uint32_t audio_mask) {
    if (audio_mask == 0) return -1;
    return std::countr_zero(audio_mask);
}
