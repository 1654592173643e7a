#pragma once

// Faults a test can make a recorder commit on every connection it holds.
enum class Fault {
    kDropLink,          // close the connection at once, without a log-out
    kStall,             // neither read nor send anything for a while, the link kept open
    kBadHeader,         // the next frame goes out with a corrupt message header (wrong magic)
    kBadFrameType,      // the next video frame's own header says type 'X'
    kOversizeLength,    // the next video frame is one byte over kMaxRecordedFrameBytes
    kBadChannel,        // the next video frame says channel 16
    kFrameNumberGap,    // one video frame inside a group is left out, so its number is missing
    kBadSizeCode,       // the next video frame's own header says picture size code 200
    kNoFrameNumber,     // the next video frame's own header says frame number -1
    kFarTime,           // the next video frame's own header says time 2^31 - 1
    kUnannouncedAudio,  // the next audio frame comes on a channel outside the audio mask
    kNoPlayEnd,         // the span being played ends without its PlayEnd; the link stays up
};

// A connection that faults can reach.
class FaultTarget {
public:
    virtual ~FaultTarget() = default;
    virtual void Inject(Fault fault, int duration_ms) = 0;
};
