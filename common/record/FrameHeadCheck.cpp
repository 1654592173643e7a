#include "common/record/FrameHeadCheck.h"

int IsValidFrameHead(const _NET_FRAME_HEAD_& header) {
    if (header.cType != 'V' && header.cType != 'A') return -1;
    if (header.nChannel < 0 || header.nChannel > kLastFrameChannel) return -1;
    if (header.nLength > kMaxRecordedFrameBytes) return -1;
    return 1;
}
