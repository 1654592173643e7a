#include "platform/waveout/ManualClockWaveOut.h"

#include <algorithm>

#include "platform/waveout/ManualClockWaveOutDevice.h"

namespace {

// Takes itself off the backend's list before it stops, so Advance never reaches a device that
// is going away.
class ListedDevice : public WaveOutDevice {
public:
    ListedDevice(std::unique_ptr<ManualClockWaveOutDevice> device,
                 std::function<void(ManualClockWaveOutDevice*)> unlist)
        : device_(std::move(device)), unlist_(std::move(unlist)) {}
    ~ListedDevice() override { unlist_(device_.get()); }

    void Write(WaveHeader& header) override { device_->Write(header); }
    void Reset() override { device_->Reset(); }

private:
    std::unique_ptr<ManualClockWaveOutDevice> device_;
    std::function<void(ManualClockWaveOutDevice*)> unlist_;
};

}  // namespace

ManualClockWaveOut::ManualClockWaveOut() : shared_(std::make_shared<Shared>()) {}

ManualClockWaveOut::~ManualClockWaveOut() = default;

std::unique_ptr<WaveOutDevice> ManualClockWaveOut::Open(const WaveFormat& format,
                                                        WaveDoneCallback done, std::string& error) {
    {
        std::lock_guard lock(shared_->mutex);
        if (!shared_->open_error.empty()) {
            error = shared_->open_error;
            return nullptr;
        }
    }
    if (!format.IsSupported()) {
        error = "unsupported sound format";
        return nullptr;
    }
    error.clear();
    std::weak_ptr<Shared> weak = shared_;
    auto device = std::make_unique<ManualClockWaveOutDevice>(
        format, std::move(done), [weak](const WaveFormat& played_format, const WaveHeader& header) {
            if (const auto shared = weak.lock()) {
                PlayedBlock block{
                    played_format.channels,
                    std::vector<uint8_t>(header.data, header.data + header.length_bytes)};
                std::lock_guard played_lock(shared->mutex);
                shared->played.push_back(std::move(block));
            }
        });
    {
        std::lock_guard lock(shared_->devices_mutex);
        shared_->devices.push_back(device.get());
    }
    return std::make_unique<ListedDevice>(
        std::move(device), [weak](ManualClockWaveOutDevice* gone) {
            if (const auto shared = weak.lock()) {
                std::lock_guard unlist_lock(shared->devices_mutex);
                std::erase(shared->devices, gone);
            }
        });
}

void ManualClockWaveOut::SetOpenError(const std::string& error) {
    std::lock_guard lock(shared_->mutex);
    shared_->open_error = error;
}

void ManualClockWaveOut::Advance(int duration_ms) {
    std::lock_guard lock(shared_->devices_mutex);
    for (ManualClockWaveOutDevice* device : shared_->devices) {
        device->Advance(duration_ms);
    }
}

std::vector<ManualClockWaveOut::PlayedBlock> ManualClockWaveOut::Played() const {
    std::lock_guard lock(shared_->mutex);
    return shared_->played;
}

int ManualClockWaveOut::OpenDevices() const {
    std::lock_guard lock(shared_->devices_mutex);
    return static_cast<int>(shared_->devices.size());
}
