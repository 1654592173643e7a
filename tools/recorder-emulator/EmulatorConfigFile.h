#pragma once

#include "tools/recorder-emulator/RecorderConfig.h"

#include <optional>
#include <string>
#include <vector>

// The emulator's INI file: section [emulator] with recorders = N, lookup_port (absent = no
// lookup server) and sandbox (folder of uploaded files), then sections [recorder1] ..
// [recorderN], each key optional:
//   name, port, type, codec, channels, standard, size, users, max_users, disks,
//   disk_size_mb, disk_free_percent, lamps, audio_mask, audio_block_bytes, schedule,
//   record_days, clock_offset_s, fps, loop_frames, fast_factor
struct EmulatorSetup {
    std::vector<RecorderConfig> recorders;
    std::optional<uint16_t> lookup_port;
    std::string sandbox;
};

// The setup the file describes, or nothing with a message naming the section, key and text
// that is wrong. today is the recorder clock's current day (for "record_days = N").
std::optional<EmulatorSetup> LoadEmulatorConfig(const std::string& path, int64_t today,
                                                std::string* error);

// Checks the values of one recorder against the limits of the protocol and the encoder;
// the message names the first value out of range.
bool ValidateRecorderConfig(const RecorderConfig& config, std::string* error);
