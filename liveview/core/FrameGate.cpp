#include "FrameGate.h"

bool CFrameGate::AcceptVideo(const _NET_FRAME_HEAD_& header) {
    if (header.nChannel < 0 || header.nChannel >= kChannels) return false;
    lastVideoChannel_ = header.nChannel;
    int32_t& expected = sequence_[header.nChannel];
    if (header.nKeyFrame == 1) expected = 0;
    if (header.nFrameNo != expected) return false;
    ++expected;
    if (header.nSize != lastSizeCode_) {
        lastSizeCode_ = header.nSize;
        ClearKeySeen();
    }
    return true;
}

void CFrameGate::NoteAllDvrMode(bool allDvrMode) {
    if (allDvrMode == lastAllDvrMode_) return;
    lastAllDvrMode_ = allDvrMode;
    ClearKeySeen();
}

bool CFrameGate::PassKeyGate(int cell, bool keyFrame) {
    if (cell < 0 || cell >= CWindowMap::kCells) return false;
    if (keyFrame) keySeen_.set(cell);
    return keySeen_.test(cell);
}

void CFrameGate::CloseCell(int cell) {
    if (cell >= 0 && cell < CWindowMap::kCells) keySeen_.reset(cell);
}

void CFrameGate::ClearKeySeen() { keySeen_.reset(); }
