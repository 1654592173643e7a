#pragma once

#include <cstdint>

// Header of every audio or video frame from the recorder, and one record of a .qmx index.
// 36 bytes, little-endian; the host is little-endian too, so it is read and written as is.
// The record keeps the field names of its layout.
// NOLINTBEGIN(readability-identifier-naming)
#pragma pack(push, 1)
struct _NET_FRAME_HEAD_ {
    uint32_t nLength;      // payload length in bytes
    int32_t nKeyFrame;     // 1 = video key frame
    int32_t nTime;         // seconds since 1970, recorder's clock
    uint8_t reserved0[4];  // kept as received
    uint32_t nOffset;      // in a .qmx record: payload offset in the .qmd file
    char cType;            // 'V' video, 'A' audio
    uint8_t reserved1[3];  // kept as received
    int32_t nChannel;      // recorder channel from 0
    uint8_t nStandard;     // 1 = 480-line standard, else 576-line
    uint8_t nSize;         // 0 = 720 full height, 1 = 720 half height, 2 = 352 half height
    uint8_t reserved2[2];  // kept as received
    int32_t nFrameNo;      // video frame number since the last key frame
};
#pragma pack(pop)
// NOLINTEND(readability-identifier-naming)

static_assert(sizeof(_NET_FRAME_HEAD_) == 36);

// A frame's channel lies in 0..kFrameChannels-1; readers refuse headers outside.
inline constexpr int kFrameChannels = 256;

inline bool IsFrameChannel(int32_t channel) { return channel >= 0 && channel < kFrameChannels; }

// The payload length a frame head may announce: what a recorder sends at most (and so the
// payload buffer every caller of the recorder client gives), and what a recording keeps at
// most, which the frame checks of the live view and the playback hold frames to as well.
inline constexpr uint32_t kMaxFramePayloadBytes = 786432;
inline constexpr uint32_t kMaxRecordedFrameBytes = 304288;
