#include "playback/core/backup/BackupFrameCheck.h"

namespace {

constexpr std::uint8_t kLastSizeCode = 2;  // 352 wide, half height

}  // namespace

void CBackupFrameCheck::Begin(std::int64_t first_s, std::int64_t last_s, std::uint32_t audio_mask) {
    first_s_ = first_s;
    last_s_ = last_s;
    audio_mask_ = audio_mask;
    Restart();
}

void CBackupFrameCheck::Restart() { sequence_ = CFrameGate(); }

bool CBackupFrameCheck::Accept(const _NET_FRAME_HEAD_& header) {
    if (header.nTime < first_s_ - kTimeMargin_s || header.nTime > last_s_ + kTimeMargin_s) {
        return false;
    }
    if (header.cType == 'A') {
        return header.nChannel >= 0 && header.nChannel < 32 &&
               (audio_mask_ >> header.nChannel & 1u) != 0;
    }
    return header.nSize <= kLastSizeCode && sequence_.AcceptVideo(header);
}
