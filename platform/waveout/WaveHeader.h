#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>

// One buffer handed to a wave-out device. The device reads data from Write until it sends the
// header's done notification; the owner must not touch the bytes in between. user is the
// owner's word: the device never reads or writes it, and it is atomic because owners use it
// to pass state between their writing thread and the done notification's thread.
struct WaveHeader {
    const uint8_t* data = nullptr;
    std::size_t length_bytes = 0;
    std::atomic<uint32_t> user{0};
};
