#include "tools/recorder-emulator/EmulatorConfigFile.h"

#include "platform/profile/PrivateProfile.h"
#include "tools/recorder-emulator/ConfigValues.h"
#include "tools/recorder-emulator/PictureSize.h"

#include <filesystem>

namespace {

constexpr size_t kMaxValueBytes = 65536;
constexpr int kMaxRecorders = 256;
// Limits of the log-in message and of the lookup server's name field.
constexpr size_t kMaxUserNameBytes = 64;
constexpr size_t kMaxDeviceNameBytes = 199;

class SectionReader {
public:
    SectionReader(std::string path, std::string section)
        : path_(std::move(path)), section_(std::move(section)) {}

    // Applies parse to the key's text when the key is there; false with a message when the
    // text does not parse.
    template <typename T, typename Parse>
    bool Read(const std::string& key, T& out, Parse parse, std::string* error) const {
        const std::string text = Text(key);
        if (text.empty()) return true;
        auto value = parse(text);
        if (!value) {
            *error = "[" + section_ + "] " + key + ": cannot read '" + text + "'";
            return false;
        }
        out = static_cast<T>(*value);
        return true;
    }

    bool ReadInt(const std::string& key, int64_t min, int64_t max, auto& out,
                 std::string* error) const {
        return Read(
            key, out,
            [&](const std::string& t) -> std::optional<int64_t> {
                const auto v = ParseInteger(t);
                if (!v || *v < min || *v > max) return std::nullopt;
                return v;
            },
            error);
    }

    std::string Text(const std::string& key) const {
        return GetPrivateProfileString(section_, key, "", kMaxValueBytes, path_);
    }

private:
    std::string path_;
    std::string section_;
};

bool LoadRecorder(const std::string& path, int index, int64_t today, RecorderConfig& config,
                  std::string* error) {
    const SectionReader r(path, "recorder" + std::to_string(index));
    config = DefaultRecorderConfig(16, today);
    int channels = 0;
    if (!r.ReadInt("type", 0, INT32_MAX, config.type_code, error)) return false;
    // Channel count defaults to what the type code says, as clients read it.
    channels =
        config.type_code % 100 >= 1 && config.type_code % 100 <= 16 ? config.type_code % 100 : 16;
    if (!r.ReadInt("channels", 1, 16, channels, error)) return false;
    config.channel_count = channels;
    config.day_schedule = {{0, 86400, (1u << channels) - 1}};

    std::vector<int> standards(channels, 0);
    std::vector<int> sizes(channels, 2);
    auto per_channel = [&](const std::string& t) { return ParsePerChannel(t, channels); };
    if (!r.Read("standard", standards, per_channel, error) ||
        !r.Read("size", sizes, per_channel, error)) {
        return false;
    }
    config.channel_formats.clear();
    for (int c = 0; c < channels; ++c) {
        config.channel_formats.push_back(
            {static_cast<uint8_t>(standards[c] == 1 ? 1 : 0), static_cast<uint8_t>(sizes[c])});
        if (sizes[c] < 0 || sizes[c] > 2) {
            *error = "[recorder" + std::to_string(index) + "] size: " + std::to_string(sizes[c]) +
                     " is not 0, 1 or 2";
            return false;
        }
    }

    const std::string name = r.Text("name");
    config.name = name;
    int64_t lamps = 0;
    int64_t audio_mask = 0;
    std::pair<int64_t, int64_t> days{config.first_record_day, config.last_record_day};
    const bool ok = r.ReadInt("port", 0, 65535, config.port, error) &&
                    r.Read("codec", config.codec_word, ParseCodecWord, error) &&
                    r.Read("users", config.users, ParseUsers, error) &&
                    r.ReadInt("max_users", 1, 64, config.max_users, error) &&
                    r.ReadInt("disks", 0, 8, config.disk_count, error) &&
                    r.ReadInt("disk_size_mb", 0, INT32_MAX, config.disk_size_mb, error) &&
                    r.ReadInt("disk_free_percent", 0, 100, config.disk_free_percent, error) &&
                    r.ReadInt("lamps", 0, 0xffff, lamps, error) &&
                    r.ReadInt("audio_mask", 0, 0xffff, audio_mask, error) &&
                    r.ReadInt("audio_block_bytes", 320, 4096, config.audio_block_bytes, error) &&
                    r.Read("schedule", config.day_schedule, ParseSchedule, error) &&
                    r.Read(
                        "record_days", days,
                        [&](const std::string& t) { return ParseRecordDays(t, today); }, error) &&
                    r.ReadInt("clock_offset_s", -(int64_t{1} << 40), int64_t{1} << 40,
                              config.clock_offset_s, error) &&
                    r.ReadInt("fps", 1, 30, config.fps, error) &&
                    r.ReadInt("loop_frames", 2, 250, config.loop_frames, error) &&
                    r.ReadInt("fast_factor", 2, 64, config.fast_factor, error);
    if (!ok) return false;
    config.lamp_word = static_cast<uint32_t>(lamps);
    config.audio_mask = static_cast<uint32_t>(audio_mask);
    config.first_record_day = days.first;
    config.last_record_day = days.second;
    if (!ValidateRecorderConfig(config, error)) {
        *error = "[recorder" + std::to_string(index) + "] " + *error;
        return false;
    }
    return true;
}

}  // namespace

bool ValidateRecorderConfig(const RecorderConfig& config, std::string* error) {
    if (config.channel_count < 1 || config.channel_count > 16) {
        *error = "channel count must be 1 to 16";
        return false;
    }
    if (config.channel_formats.size() != static_cast<size_t>(config.channel_count)) {
        *error = "one picture format per channel is needed";
        return false;
    }
    for (const ChannelFormat& f : config.channel_formats) {
        if (!PictureSizeOf(f.standard, f.size_code)) {
            *error = "picture size code must be 0, 1 or 2";
            return false;
        }
    }
    if (config.users.empty()) {
        *error = "at least one user is needed";
        return false;
    }
    for (const UserAccount& user : config.users) {
        if (user.name.size() > kMaxUserNameBytes) {
            *error = "user name '" + user.name + "' is longer than " +
                     std::to_string(kMaxUserNameBytes) + " bytes and could never log in";
            return false;
        }
    }
    if (config.name.size() > kMaxDeviceNameBytes) {
        *error = "name is longer than the lookup server's " + std::to_string(kMaxDeviceNameBytes) +
                 " bytes";
        return false;
    }
    if (config.audio_block_bytes != 320 && config.audio_block_bytes != 4096) {
        *error = "audio_block_bytes must be 320 or 4096";
        return false;
    }
    if (config.disk_count < 0 || config.disk_count > 8) {
        *error = "disks must be 0 to 8";
        return false;
    }
    if (config.fps < 1 || config.fps > 30 || config.loop_frames < 2 || config.max_users < 1 ||
        config.fast_factor < 2) {
        *error = "fps 1..30, loop_frames >= 2, max_users >= 1 and fast_factor >= 2 are needed";
        return false;
    }
    return true;
}

std::optional<EmulatorSetup> LoadEmulatorConfig(const std::string& path, int64_t today,
                                                std::string* error) {
    if (!std::filesystem::is_regular_file(path)) {
        *error = path + ": no such config file";
        return std::nullopt;
    }
    const SectionReader main(path, "emulator");
    int count = 0;
    if (!main.ReadInt("recorders", 1, kMaxRecorders, count, error)) return std::nullopt;
    if (count == 0) {
        *error = "[emulator] recorders: missing (1 to " + std::to_string(kMaxRecorders) + ")";
        return std::nullopt;
    }
    EmulatorSetup setup;
    int64_t lookup_port = -1;
    if (!main.ReadInt("lookup_port", 0, 65535, lookup_port, error)) return std::nullopt;
    if (lookup_port >= 0) setup.lookup_port = static_cast<uint16_t>(lookup_port);
    setup.sandbox = main.Text("sandbox");
    setup.recorders.resize(count);
    for (int i = 0; i < count; ++i) {
        if (!LoadRecorder(path, i + 1, today, setup.recorders[i], error)) return std::nullopt;
    }
    return setup;
}
