#include "platform/waveout/AlsaWaveOut.h"

#include <alsa/asoundlib.h>

#include <cstdarg>
#include <mutex>

#include "platform/waveout/AlsaWaveOutDevice.h"

namespace {

// ALSA's latency: long enough to ride out a busy machine, short enough that the done
// notification comes close to when a buffer is heard.
constexpr unsigned kLatencyUs = 250000;

// ALSA prints its own diagnostics to stderr by default; failures are reported through the
// error text instead.
void QuietAlsaErrors(const char*, int, const char*, int, const char*, ...) {}

}  // namespace

AlsaWaveOut::AlsaWaveOut(std::string device_name) : device_name_(std::move(device_name)) {}

std::unique_ptr<WaveOutDevice> AlsaWaveOut::Open(const WaveFormat& format, WaveDoneCallback done,
                                                 std::string& error) {
    if (!format.IsSupported()) {
        error = "unsupported sound format: " + std::to_string(format.channels) + " channels, " +
                std::to_string(format.samples_per_second) + " Hz, " +
                std::to_string(format.bits_per_sample) + " bits";
        return nullptr;
    }
    static std::once_flag quiet;
    std::call_once(quiet, [] { snd_lib_error_set_handler(QuietAlsaErrors); });

    snd_pcm_t* pcm = nullptr;
    int result =
        snd_pcm_open(&pcm, device_name_.c_str(), SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK);
    if (result < 0) {
        error = "cannot open sound device \"" + device_name_ + "\": " + snd_strerror(result);
        return nullptr;
    }
    result = snd_pcm_set_params(pcm, SND_PCM_FORMAT_S16_LE, SND_PCM_ACCESS_RW_INTERLEAVED,
                                static_cast<unsigned>(format.channels),
                                static_cast<unsigned>(format.samples_per_second), 1, kLatencyUs);
    if (result < 0) {
        snd_pcm_close(pcm);
        error = "sound device \"" + device_name_ +
                "\" cannot play 8000 Hz 16-bit PCM: " + snd_strerror(result);
        return nullptr;
    }
    error.clear();
    return std::make_unique<AlsaWaveOutDevice>(pcm, format, std::move(done));
}

WaveOutBackend& DefaultWaveOutBackend() {
    static AlsaWaveOut backend;
    return backend;
}
