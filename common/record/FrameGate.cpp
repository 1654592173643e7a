#include "common/record/FrameGate.h"

bool CFrameGate::AcceptVideo(const _NET_FRAME_HEAD_& header) {
    if (header.nChannel < 0 || header.nChannel >= kChannels) return false;
    last_video_channel_ = header.nChannel;
    int32_t& expected = sequence_[header.nChannel];
    if (header.nKeyFrame == 1) expected = 0;
    if (header.nFrameNo != expected) return false;
    ++expected;
    if (header.nSize != last_size_code_) {
        last_size_code_ = header.nSize;
        ClearKeySeen();
    }
    return true;
}

void CFrameGate::NoteAllDvrMode(bool all_dvr_mode) {
    if (all_dvr_mode == last_all_dvr_mode_) return;
    last_all_dvr_mode_ = all_dvr_mode;
    ClearKeySeen();
}

bool CFrameGate::PassKeyGate(int cell, bool key_frame) { return key_seen_.Pass(cell, key_frame); }

void CFrameGate::CloseCell(int cell) { key_seen_.Close(cell); }

void CFrameGate::ClearKeySeen() { key_seen_.CloseAll(); }
