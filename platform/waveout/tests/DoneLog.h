#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/waveout/WaveOutDevice.h"

// Collects a device's done notifications and the threads they came from.
struct DoneLog {
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<const WaveHeader*> headers;
    std::vector<std::thread::id> threads;

    WaveDoneCallback Callback() {
        return [this](WaveHeader& header) {
            std::lock_guard lock(mutex);
            headers.push_back(&header);
            threads.push_back(std::this_thread::get_id());
            changed.notify_all();
        };
    }
    std::size_t Count() {
        std::lock_guard lock(mutex);
        return headers.size();
    }
    bool WaitFor(std::size_t count, std::chrono::milliseconds limit) {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, limit, [&] { return headers.size() >= count; });
    }
};

// A header with bytes of its own.
struct Buffer {
    explicit Buffer(std::size_t length_bytes) : bytes(length_bytes, 0) {
        header.data = bytes.data();
        header.length_bytes = length_bytes;
    }
    std::vector<uint8_t> bytes;
    WaveHeader header;
};
