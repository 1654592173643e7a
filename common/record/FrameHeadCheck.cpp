#include "FrameHeadCheck.h"

int IsValidFrameHead(const _NET_FRAME_HEAD_& header) {
    if (header.cType != 'V' && header.cType != 'A') return -1;
    if (!IsFrameChannel(header.nChannel)) return -1;
    if (header.nLength >= kFramePayloadLimitBytes) return -1;
    return 1;
}
