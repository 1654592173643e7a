#pragma once

#include <array>
#include <cstdint>

#include "common/record/KeyFrameFlags.h"
#include "platform/records/NetFrameHead.h"

// What one frame thread remembers between frames to keep broken video away from the decoders:
// a sequence counter per channel, so a lost frame holds the channel back until its next key
// frame, and a key-seen flag per video cell, so a cell starts decoding only at a key frame.
//
// A frame that passes the sequence check counts at once, whether or not it is then decoded:
// frames of channels that are recorded but not shown must keep passing, or a hidden
// recording device would write only its key frames.
class CFrameGate {
public:
    static constexpr int kChannels = 16;
    static constexpr int kCells = 256;  // the video cells a window can show

    // Video frames only. False for a channel outside 0..15 or a frame out of sequence. A
    // change of picture size makes every cell wait for a key frame.
    bool AcceptVideo(const _NET_FRAME_HEAD_& header);

    // Every cell waits for a key frame when the view changes between one device and all
    // devices.
    void NoteAllDvrMode(bool all_dvr_mode);

    // A key frame opens the cell; other frames pass only once it is open.
    bool PassKeyGate(int cell, bool key_frame);

    // After a decode error the cell waits for the next key frame.
    void CloseCell(int cell);

    // Link lost, device no longer shown: every cell waits for a key frame.
    void ClearKeySeen();

    int LastVideoChannel() const { return last_video_channel_; }

private:
    std::array<int32_t, kChannels> sequence_{};
    KeyFrameFlags<kCells> key_seen_;
    int last_size_code_ = 2;
    bool last_all_dvr_mode_ = false;
    int last_video_channel_ = 0;
};
