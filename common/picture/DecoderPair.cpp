#include "common/picture/DecoderPair.h"

#include "platform/records/DvrMachineInfo.h"

bool CDecoderPair::IsH264(int32_t codec_word) { return codec_word == kCodecH264; }

CVideoDecoder& CDecoderPair::For(int32_t codec_word) {
    if (IsH264(codec_word)) return h264_;
    return mpeg4_;
}

void CDecoderPair::OpenBoth(int width, int height) {
    h264_.OpenFor(width, height);
    mpeg4_.OpenFor(width, height);
}

void CDecoderPair::OpenUnopened(int width, int height) {
    for (CVideoDecoder* decoder :
         {static_cast<CVideoDecoder*>(&h264_), static_cast<CVideoDecoder*>(&mpeg4_)}) {
        if (decoder->OpenedWidth() <= 0 || decoder->OpenedHeight() <= 0) {
            decoder->OpenFor(width, height);
        }
    }
}
