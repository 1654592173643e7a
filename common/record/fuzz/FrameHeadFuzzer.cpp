// Any bytes as a run of frame headers, each through the check and then, as a frame thread
// takes it, through the frame gate. A header that passes must be one the readers can take:
// audio or video, a channel of the frame range, a payload a recording would keep.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "common/record/FrameGate.h"
#include "common/record/FrameHeadCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CFrameGate gate;
    for (size_t at = 0; at + sizeof(_NET_FRAME_HEAD_) <= size; at += sizeof(_NET_FRAME_HEAD_)) {
        _NET_FRAME_HEAD_ header;
        std::memcpy(&header, data + at, sizeof header);
        const int valid = IsValidFrameHead(header);
        if (valid != 1 && valid != -1) std::abort();
        if (valid != 1) continue;
        if (header.cType != 'V' && header.cType != 'A') std::abort();
        if (!IsFrameChannel(header.nChannel)) std::abort();
        if (header.nLength > kMaxRecordedFrameBytes) std::abort();
        if (header.cType != 'V') continue;
        if (!gate.AcceptVideo(header)) continue;
        if (header.nChannel >= CFrameGate::kChannels) std::abort();
        // The reserved bytes steer the view and the cell, as the window would.
        gate.NoteAllDvrMode((header.reserved0[0] & 1) != 0);
        const int cell = header.reserved0[1] % CFrameGate::kCells;
        if (gate.PassKeyGate(cell, header.nKeyFrame == 1) && (header.reserved0[2] & 1) != 0) {
            gate.CloseCell(cell);
        }
    }
    return 0;
}
