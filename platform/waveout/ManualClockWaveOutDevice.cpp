#include "platform/waveout/ManualClockWaveOutDevice.h"

#include <vector>

ManualClockWaveOutDevice::ManualClockWaveOutDevice(const WaveFormat& format, WaveDoneCallback done,
                                                   PlayedCallback played)
    : format_(format), done_(std::move(done)), played_(std::move(played)) {
    thread_ = std::thread(&ManualClockWaveOutDevice::Run, this);
}

ManualClockWaveOutDevice::~ManualClockWaveOutDevice() {
    Ask(Command::kStop, 0);
    thread_.join();
}

void ManualClockWaveOutDevice::Write(WaveHeader& header) {
    std::lock_guard lock(mutex_);
    queue_.push_back(&header);
}

void ManualClockWaveOutDevice::Reset() { Ask(Command::kReset, 0); }

void ManualClockWaveOutDevice::Advance(int duration_ms) { Ask(Command::kAdvance, duration_ms); }

void ManualClockWaveOutDevice::Ask(Command command, int duration_ms) {
    std::unique_lock lock(mutex_);
    const uint64_t ticket = ++next_ticket_;
    requests_.push_back({command, duration_ms, ticket});
    wake_.notify_one();
    carried_.wait(lock, [&] { return carried_tickets_ >= ticket; });
}

void ManualClockWaveOutDevice::Run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return !requests_.empty(); });
        const Request request = requests_.front();
        requests_.pop_front();
        Carry(request, lock);
        carried_tickets_ = request.ticket;
        carried_.notify_all();
        if (request.command == Command::kStop) {
            return;
        }
    }
}

void ManualClockWaveOutDevice::Carry(const Request& request, std::unique_lock<std::mutex>& lock) {
    std::vector<WaveHeader*> finished;
    if (request.command == Command::kAdvance) {
        std::size_t budget_bytes =
            format_.BytesPerSecond() * static_cast<std::size_t>(request.duration_ms) / 1000;
        while (!queue_.empty()) {
            const std::size_t left_bytes = queue_.front()->length_bytes - head_played_bytes_;
            if (left_bytes > budget_bytes) {
                head_played_bytes_ += budget_bytes;
                break;
            }
            budget_bytes -= left_bytes;
            head_played_bytes_ = 0;
            finished.push_back(queue_.front());
            queue_.pop_front();
        }
    } else {
        finished.assign(queue_.begin(), queue_.end());
        queue_.clear();
        head_played_bytes_ = 0;
    }
    lock.unlock();
    for (WaveHeader* header : finished) {
        if (request.command == Command::kAdvance) {
            played_(format_, *header);
        }
        done_(*header);
    }
    lock.lock();
}
