#pragma once

#include "platform/records/NetCommand.h"
#include "platform/records/NetMacSetPara.h"
#include "tools/recorder-emulator/Fault.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// What clients asked of a recorder, in arrival order, for tests to read back.

struct NetParameterRecord {
    int32_t rate = 0;
    int32_t fps = 0;
};

struct LiveRequestRecord {
    uint32_t channel_mask = 0;
    int32_t send_audio = 0;
};

struct PlayRequestRecord {
    int64_t day_number = 0;
    int32_t start_s = 0;
    int32_t end_s = 0;
    uint32_t channel_mask = 0;
    int32_t audio = 0;
    int32_t fast = 0;
    // From the request's arrival until the first key frame of every asked channel that
    // recorded at the start had gone to the link; -1 until then.
    int64_t first_key_frames_us = -1;
};

struct UploadedFile {
    std::string remote_path;
    std::filesystem::path stored_path;
    uint64_t size_bytes = 0;
};

struct RecorderJournal {
    std::vector<_NET_COMMAND_> commands;
    std::vector<NetParameterRecord> net_parameters;
    std::vector<LiveRequestRecord> live_requests;
    std::vector<PlayRequestRecord> play_requests;
    std::vector<std::string> shell_commands;  // never run
    std::vector<UploadedFile> uploads;
    // The faults the recorder's connections committed, each when it took effect: a frame
    // fault when its frame was sent (or, for a gap, left out), a stall when sending stopped, a
    // dropped link when the connection closed.
    std::vector<Fault> faults;
    int key_frame_requests = 0;
    int para_sets = 0;
};
