#include "tools/recorder-emulator/CommandLine.h"

#include "tools/recorder-emulator/ConfigValues.h"
#include "tools/recorder-emulator/EmulatorConfigFile.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>

namespace {

int64_t Today() {
    using namespace std::chrono;
    return duration_cast<seconds>(system_clock::now().time_since_epoch()).count() / 86400;
}

std::optional<int64_t> Number(const std::map<std::string, std::string>& options,
                              const std::string& key, int64_t fallback, int64_t min, int64_t max,
                              std::string* error) {
    const auto it = options.find(key);
    if (it == options.end()) return fallback;
    const auto v = ParseInteger(it->second);
    if (!v || *v < min || *v > max) {
        *error = "--" + key + ": '" + it->second + "' is not a number from " + std::to_string(min) +
                 " to " + std::to_string(max);
        return std::nullopt;
    }
    return v;
}

}  // namespace

const char* CommandLineUsage() {
    return "usage: recorder-emulator --config FILE\n"
           "       recorder-emulator [--recorders N] [--channels N] [--codec h264|mpeg4]\n"
           "                         [--size 0|1|2] [--base-port P] [--lookup-port P]\n"
           "                         [--sandbox DIR] [--live-fps N]\n"
           "Recorders listen on 127.0.0.1; users admin/admin (super user) and guest/guest.\n";
}

std::optional<EmulatorRun> ParseCommandLine(int argc, const char* const* argv, std::string* error) {
    std::map<std::string, std::string> options;
    EmulatorRun run;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "-h" || arg == "--help") {
            run.help = true;
            return run;
        }
        static const char* const kKeys[] = {"config",      "recorders", "channels",
                                            "codec",       "size",      "base-port",
                                            "lookup-port", "sandbox",   "live-fps"};
        bool known = false;
        for (const char* key : kKeys)
            known |= arg == std::string("--") + key;
        if (!known) {
            *error = "unknown option " + arg;
            return std::nullopt;
        }
        if (i + 1 >= argc) {
            *error = arg + " needs a value";
            return std::nullopt;
        }
        options[arg.substr(2)] = argv[++i];
    }

    const std::string default_sandbox =
        (std::filesystem::temp_directory_path() / "recorder-emulator").string();
    if (options.count("config")) {
        if (options.size() > 1) {
            *error = "--config takes no other options";
            return std::nullopt;
        }
        auto setup = LoadEmulatorConfig(options["config"], Today(), error);
        if (!setup) return std::nullopt;
        run.recorders = std::move(setup->recorders);
        run.lookup_port = setup->lookup_port;
        run.sandbox = setup->sandbox.empty() ? default_sandbox : setup->sandbox;
        return run;
    }

    const auto count = Number(options, "recorders", 1, 1, 256, error);
    const auto channels = count ? Number(options, "channels", 16, 1, 16, error) : std::nullopt;
    const auto size = channels ? Number(options, "size", 2, 0, 2, error) : std::nullopt;
    const auto base_port = size ? Number(options, "base-port", 0, 0, 65535, error) : std::nullopt;
    const auto live_fps = base_port ? Number(options, "live-fps", 0, 1, 30, error) : std::nullopt;
    if (!live_fps) return std::nullopt;
    if (*base_port != 0 && *base_port + *count - 1 > 65535) {
        *error = "--base-port: the ports of " + std::to_string(*count) + " recorders pass 65535";
        return std::nullopt;
    }
    int32_t codec_word = kH264CodecWord;
    if (options.count("codec")) {
        const auto word = ParseCodecWord(options["codec"]);
        if (!word) {
            *error = "--codec: '" + options["codec"] + "' is neither h264 nor mpeg4";
            return std::nullopt;
        }
        codec_word = *word;
    }
    if (options.count("lookup-port")) {
        const auto port = Number(options, "lookup-port", 0, 0, 65535, error);
        if (!port) return std::nullopt;
        run.lookup_port = static_cast<uint16_t>(*port);
    }
    run.sandbox = options.count("sandbox") ? options["sandbox"] : default_sandbox;
    for (int64_t i = 0; i < *count; ++i) {
        RecorderConfig config = DefaultRecorderConfig(static_cast<int>(*channels), Today());
        char name[16];
        std::snprintf(name, sizeof name, "DVR%04d", static_cast<int>(i + 1));
        config.name = name;
        config.codec_word = codec_word;
        config.port = *base_port == 0 ? 0 : static_cast<uint16_t>(*base_port + i);
        config.fixed_live_fps = static_cast<int>(*live_fps);
        for (ChannelFormat& f : config.channel_formats)
            f.size_code = static_cast<uint8_t>(*size);
        run.recorders.push_back(std::move(config));
    }
    return run;
}
