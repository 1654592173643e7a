#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

#include "platform/waveout/WaveFormat.h"
#include "platform/waveout/WaveOutDevice.h"

// A wave-out device whose time moves only when the test says so. Like a real device it plays
// on a thread of its own and sends done notifications from there; Advance and Reset return
// once that thread has acted on them, so tests see a fixed order of events.
class ManualClockWaveOutDevice : public WaveOutDevice {
public:
    // Told about each header as it finishes playing, on the device's thread, before its done
    // notification.
    using PlayedCallback = std::function<void(const WaveFormat& format, const WaveHeader& header)>;

    ManualClockWaveOutDevice(const WaveFormat& format, WaveDoneCallback done,
                             PlayedCallback played);
    ~ManualClockWaveOutDevice() override;
    ManualClockWaveOutDevice(const ManualClockWaveOutDevice&) = delete;
    ManualClockWaveOutDevice& operator=(const ManualClockWaveOutDevice&) = delete;

    void Write(WaveHeader& header) override;
    void Reset() override;
    // Plays duration_ms of sound: every queued header that ends within it finishes. Time with
    // nothing queued passes unused.
    void Advance(int duration_ms);

private:
    enum class Command { kAdvance, kReset, kStop };
    struct Request {
        Command command;
        int duration_ms;
        uint64_t ticket;
    };

    // Runs a request on the device's thread and waits until it has been carried out.
    void Ask(Command command, int duration_ms);
    void Run();
    void Carry(const Request& request, std::unique_lock<std::mutex>& lock);

    WaveFormat format_;
    WaveDoneCallback done_;
    PlayedCallback played_;

    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable carried_;
    std::deque<WaveHeader*> queue_;
    std::size_t head_played_bytes_ = 0;
    std::deque<Request> requests_;
    uint64_t next_ticket_ = 0;
    uint64_t carried_tickets_ = 0;
    std::thread thread_;
};
