#pragma once

#include "tools/recorder-emulator/VideoCodec.h"

#include <cstdint>
#include <string>
#include <vector>

struct UserAccount {
    std::string name;
    std::string password;
    int level = 1;  // 2 = super user
};

struct ChannelFormat {
    uint8_t standard = 0;   // 1 = 480-line, else 576-line
    uint8_t size_code = 2;  // 0, 1 or 2
};

// One recording of the day schedule, in seconds of the day; repeated on every recorded day.
struct RecordSegment {
    int start_s = 0;
    int end_s = 0;
    uint32_t channel_mask = 0;
};

// Everything one emulated recorder is made of.
struct RecorderConfig {
    std::string name;   // device name at the lookup server; empty = not registered
    uint16_t port = 0;  // 0 = any free port
    int32_t type_code = 1016;
    int32_t codec_word = kH264CodecWord;
    int channel_count = 16;
    std::vector<ChannelFormat> channel_formats;  // channel_count entries
    std::vector<UserAccount> users;
    int max_users = 8;
    int disk_count = 1;
    int disk_size_mb = 500000;
    int disk_free_percent = 40;
    uint32_t lamp_word = 0;
    uint32_t audio_mask = 0;
    int audio_block_bytes = 320;              // 320 (mono, 20 ms) or 4096 (stereo, 128 ms)
    std::vector<RecordSegment> day_schedule;  // sorted by start
    int64_t first_record_day = 0;             // days since 1970-01-01, recorder clock
    int64_t last_record_day = 0;
    int64_t clock_offset_s = 0;  // recorder clock minus host clock
    int fps = 25;                // live frame rate until the client sets one
    int fixed_live_fps = 0;      // 1..30: live frame rate whatever the client asks; 0 = asked
    int loop_frames = 25;        // length of the encoded loop, one key frame at its start
    int fast_factor = 16;        // play speed of fast playback
    bool refuse_shell = false;   // every shell command is refused, whoever asks
    // Page count the record list announces for a recorded day; 0 = the true count. Pages past
    // the true ones come empty.
    int32_t announced_pages = 0;

    VideoCodec Codec() const { return CodecOfWord(codec_word); }
};

// A recorder with sensible defaults for one or many channels of CIF: users "admin" (super
// user) and "guest", passwords "admin" and "guest", and the whole of the last seven days
// recorded on every channel.
RecorderConfig DefaultRecorderConfig(int channel_count, int64_t today);
