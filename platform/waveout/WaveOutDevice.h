#pragma once

#include <functional>

#include "platform/waveout/WaveHeader.h"

// Called on the device's own thread once per written header, in the order written. It must
// return quickly and must not call the device.
using WaveDoneCallback = std::function<void(WaveHeader& header)>;

// An open wave-out device. Destroying it stops playing, sends the done notification of every
// header still queued, and closes it.
class WaveOutDevice {
public:
    virtual ~WaveOutDevice() = default;

    // Queues header behind every header written before; buffers play strictly in that order.
    // A header of 0 bytes is queued like any other.
    virtual void Write(WaveHeader& header) = 0;
    // Stops at once and sends the done notification of every queued header. When Reset
    // returns, the device holds no header and no notification is still to come.
    virtual void Reset() = 0;
};
