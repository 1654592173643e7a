#include "AudioRoute.h"

#include <bit>

int AudioChannelOfMask(uint32_t audioMask) {
    if (audioMask == 0) return -1;
    return std::countr_zero(audioMask);
}
