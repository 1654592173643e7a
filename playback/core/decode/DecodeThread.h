#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "common/picture/DecoderPair.h"
#include "common/picture/PictureFormat.h"
#include "platform/netctrl/FrameQueue.h"
#include "platform/records/NetFrameHead.h"
#include "playback/core/backup/BackupSpeed.h"

class CBackupWriter;
class CChannelNameOverlay;
class CVideoGridLayout;
class CVideoOutput;
class CWaveOutPlayer;
class NetCtrl;
struct PlaybackShared;

// The playback window's one worker: for the whole run it pulls the frames of the window's
// connection and either hands them to the backup (backup mode) or plays them: audio to one of
// the two players, video through its channel's decoder, the channel's name stamped in for
// recorders that leave it to the client, and the picture into the pane that shows the
// channel, while the play state allows drawing.
//
// It shares the window's members through PlaybackShared, reading each flag as one value; it
// never touches a widget: pictures go through the picture output, texts through the sinks.
class CDecodeThread {
public:
    static constexpr int kChannels = 16;
    static constexpr std::size_t kPictureBytes = kMaxPictureBgrBytes;
    static constexpr int kIdlePause_ms = 10;
    static constexpr int kDragPause_ms = 200;

    using TextSink = std::function<void(const std::string&)>;

    struct Targets {
        NetCtrl& connection;
        PlaybackShared& shared;
        CBackupWriter& backup;
        CWaveOutPlayer& stereo;
        CWaveOutPlayer& mono;
        const CChannelNameOverlay& overlay;
        CVideoOutput& output;
    };

    explicit CDecodeThread(const Targets& targets);
    virtual ~CDecodeThread();
    CDecodeThread(const CDecodeThread&) = delete;
    CDecodeThread& operator=(const CDecodeThread&) = delete;

    // The video window's cells (read on the decode thread); none draws nothing.
    void SetGrid(const CVideoGridLayout* grid);
    // The backup's speed line, given on the decode thread.
    void SetSpeedSink(TextSink sink);
    // The clock of the backup's rate (tests).
    void SetSpeedClock(CBackupSpeed::Clock clock);

    // Buffers, decoders at 720 x 576, the network layer, then the thread. 1, or -1 with
    // everything released again.
    int StartDecodeThread();
    // Stops the network layer and the thread, waits for it and frees the buffers. 1. Waits
    // at most for one frame's work and one pause.
    int StopDecodeThread();

    // The thread's body: 1 after the stop.
    int DecodeLoop();

    // 1 for a 'V' or 'A' header of channel 0..15 announcing at most kMaxRecordedFrameBytes,
    // else -1.
    static int CheckFrameHead(const _NET_FRAME_HEAD_& header);
    // The first row (0..3) whose camera is channel + 1, else -1.
    int PaneOfChannel(int channel) const;
    // Re-opens the channel's decoder of the codec when it holds another picture size.
    void ReopenDecoder(int format_code, int channel, std::int32_t codec_word);
    // Draws the picture of the format's size from its planes into the pane's video rectangle
    // when the pane is visible. 0.
    int ShowFrame(const DecodedPicture& picture, int format_code, int pane);

    void ClearKeyFrameFlags();
    bool Running() const { return run_.load(std::memory_order_relaxed) == 1; }

private:
    struct Buffer {
        void operator()(std::uint8_t* bytes) const { delete[] bytes; }
    };
    using Bytes = std::unique_ptr<std::uint8_t[], Buffer>;

    void Pass();
    void PassToBackup();
    void PlayAudio(const _NET_FRAME_HEAD_& header, std::uint32_t audio_mask);
    // Decodes the frame; false when it yields no picture of the format's size to show. The
    // picture's planes stay the decoder's until its next frame.
    bool Decode(const _NET_FRAME_HEAD_& header, int channel, std::int32_t codec_word,
                DecodedPicture& decoded);
    void Release();

    NetCtrl& connection_;
    PlaybackShared& shared_;
    CBackupWriter& backup_;
    CWaveOutPlayer& stereo_;
    CWaveOutPlayer& mono_;
    const CChannelNameOverlay& overlay_;
    CVideoOutput& output_;
    std::atomic<const CVideoGridLayout*> grid_{nullptr};
    TextSink speed_sink_;
    CBackupSpeed speed_;

    std::array<CDecoderPair, kChannels> decoders_;
    Bytes raw_;
    Bytes picture_;
    std::atomic<int> run_{0};
    std::thread thread_;

    // Decode thread only.
    _NET_FRAME_HEAD_ header_{};
    std::vector<FrameQueue::Taken> backup_frames_;
    int last_size_code_ = 2;
    int decoded_width_ = 0;  // the format's size of the last picture decoded
    int decoded_height_ = 0;
};
