#include "playback/core/decode/DecodeThread.h"

#include <chrono>
#include <new>
#include <system_error>

#include "common/audio/AudioRoute.h"
#include "common/audio/WaveOutPlayer.h"
#include "common/picture/ColourConversion.h"
#include "common/picture/PictureFormat.h"
#include "common/record/QmxFile.h"
#include "common/ui/core/VideoGridLayout.h"
#include "common/ui/core/VideoOutput.h"
#include "platform/diag/DiagLog.h"
#include "platform/netctrl/NetCtrl.h"
#include "platform/records/DvrMachineInfo.h"
#include "playback/core/backup/BackupWriter.h"
#include "playback/core/decode/ChannelNameOverlay.h"
#include "playback/core/decode/PlaybackShared.h"

namespace {

// The decode path's lines in the diagnostic log (module "playback").
spdlog::logger& PlaybackLog() {
    static spdlog::logger& log = diag::Log("playback");
    return log;
}

constexpr int kOverlayTypeCodes = 1000;  // recorders below it leave the names to the client

std::uint8_t* NewBuffer(std::size_t bytes) { return new (std::nothrow) std::uint8_t[bytes]; }

void Pause(int milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

// Standard and size code are read as signed bytes.
int FormatCode(const _NET_FRAME_HEAD_& header) {
    return FormatCodeOf(static_cast<std::int8_t>(header.nStandard),
                        static_cast<std::int8_t>(header.nSize));
}

}  // namespace

CDecodeThread::CDecodeThread(const Targets& targets)
    : connection_(targets.connection),
      shared_(targets.shared),
      backup_(targets.backup),
      stereo_(targets.stereo),
      mono_(targets.mono),
      overlay_(targets.overlay),
      output_(targets.output) {}

CDecodeThread::~CDecodeThread() {
    if (thread_.joinable()) StopDecodeThread();
}

void CDecodeThread::SetGrid(const CVideoGridLayout* grid) {
    grid_.store(grid, std::memory_order_release);
}

void CDecodeThread::SetSpeedSink(TextSink sink) { speed_sink_ = std::move(sink); }

void CDecodeThread::SetSpeedClock(CBackupSpeed::Clock clock) { speed_ = CBackupSpeed(clock); }

int CDecodeThread::StartDecodeThread() {
    picture_.reset(NewBuffer(kPictureBytes));
    raw_.reset(NewBuffer(kMaxFramePayloadBytes));
    if (picture_ && raw_) {
        for (CDecoderPair& decoders : decoders_)
            decoders.OpenBoth(kFullWidth, kFullHeight576);
        if (connection_.InitNetWork() >= 0) {
            connection_.ResetNetWork();
            // Running before the thread exists, so a stop right after the start cannot be
            // overtaken by the thread's own start.
            run_.store(1, std::memory_order_relaxed);
            try {
                thread_ = std::thread([this] { DecodeLoop(); });
                return 1;
            } catch (const std::system_error&) {
                run_.store(0, std::memory_order_relaxed);
            }
        }
    }
    Release();
    connection_.StopNetWork();
    return -1;
}

int CDecodeThread::StopDecodeThread() {
    connection_.StopNetWork();
    run_.store(0, std::memory_order_relaxed);
    if (thread_.joinable()) thread_.join();
    Release();
    return 1;
}

void CDecodeThread::Release() {
    picture_.reset();
    raw_.reset();
}

int CDecodeThread::DecodeLoop() {
    while (run_.load(std::memory_order_relaxed) == 1) {
        Pass();
    }
    return 1;
}

void CDecodeThread::Pass() {
    const _DVR_MACHINE_INFO_ info = connection_.GetMachineInfe();
    if (info.nLinkState != kLinkStreaming) {
        // Idle until the next look, or until the frames of a starting stream arrive; frames
        // left from a stream that ended wait for the next look as before.
        if (connection_.IsHavePicBuf() > 0) {
            Pause(kIdlePause_ms);
        } else {
            connection_.WaitForPicBuf(kIdlePause_ms);
        }
        ClearKeyFrameFlags();
        return;
    }
    if (backup_.BackupMode()) {
        PassToBackup();
        return;
    }
    if (connection_.IsHavePicBuf() <= 0) {
        // The pause ends as soon as a frame arrives.
        connection_.WaitForPicBuf(kIdlePause_ms);
        return;
    }
    _NET_FRAME_HEAD_& header = header_;
    if (connection_.GetRawPicBuf(reinterpret_cast<char*>(&header),
                                 reinterpret_cast<char*>(raw_.get())) < 0) {
        return;
    }
    const bool video = header.cType == 'V';
    if (video) shared_.play_time.store(header.nTime, std::memory_order_relaxed);
    if (CheckFrameHead(header) < 0) {
        PlaybackLog().debug("channel {}: frame {} ({} bytes) refused by the frame-head check",
                            header.nChannel, header.nFrameNo, header.nLength);
        return;
    }
    const int channel = header.nChannel;
    if (video && header.nSize != last_size_code_) {
        last_size_code_ = header.nSize;
        ClearKeyFrameFlags();
    }

    const std::uint32_t mask = static_cast<std::uint32_t>(shared_.channel_mask.load());
    const bool wanted = !video || (mask >> channel & 1u) != 0;
    if (const auto received = backup_.Take(header, raw_.get(), wanted)) {
        if (const auto text = speed_.ShowSpeed(*received); text && speed_sink_) {
            speed_sink_(*text);
        }
        return;
    }
    if (!video) {
        PlayAudio(header, static_cast<std::uint32_t>(info.nAudioMask));
        return;
    }

    int pane = PaneOfChannel(channel);
    if (pane < 0) pane = channel;
    if (!shared_.key_frame_flags.Pass(channel, header.nKeyFrame == 1)) return;

    const int format_code = FormatCode(header);
    ReopenDecoder(format_code, channel, info.nCodec);
    DecodedPicture decoded;
    if (!Decode(header, channel, info.nCodec, decoded)) return;
    if (info.nTypeCode < kOverlayTypeCodes) {
        // The name is stamped into a copy: the decoder keeps its planes as references.
        CopyDecodedPlanes(decoded, picture_.get(), format_code);
        overlay_.DrawChannelName(picture_.get(), format_code, channel);
        decoded = ContiguousPicture(picture_.get(), decoded_width_, decoded_height_);
    }

    if (shared_.window_drag.load(std::memory_order_relaxed) == 1) {
        Pause(kDragPause_ms);
        return;
    }
    if (shared_.play_state.load(std::memory_order_relaxed) != PlaybackShared::kPlayStateShowing) {
        return;
    }
    ShowFrame(decoded, format_code, pane);
}

// A backup takes every waiting frame at once, straight from the connection's buffers: the
// receiver's lock is not taken again per frame, and no payload is copied before it is written.
void CDecodeThread::PassToBackup() {
    connection_.TakePicBufs(backup_frames_);
    if (backup_frames_.empty()) {
        connection_.WaitForPicBuf(kIdlePause_ms);
        return;
    }
    const std::uint32_t mask = static_cast<std::uint32_t>(shared_.channel_mask.load());
    for (FrameQueue::Taken& frame : backup_frames_) {
        _NET_FRAME_HEAD_& header = frame.head;
        const bool video = header.cType == 'V';
        if (video) shared_.play_time.store(header.nTime, std::memory_order_relaxed);
        if (CheckFrameHead(header) < 0 || frame.payload.size() < header.nLength) continue;
        const bool wanted = !video || (mask >> header.nChannel & 1u) != 0;
        // Backup mode may end within the batch; the rest belonged to the stopped span.
        const auto received = backup_.Take(header, frame.payload.data(), wanted);
        if (!received) break;
        if (const auto text = speed_.ShowSpeed(*received); text && speed_sink_) {
            speed_sink_(*text);
        }
    }
    connection_.RecyclePicBufs(backup_frames_);
}

void CDecodeThread::PlayAudio(const _NET_FRAME_HEAD_& header, std::uint32_t audio_mask) {
    const bool stereo = IsStereoBlock(header.nLength) &&
                        shared_.audio_flag.load(std::memory_order_relaxed) == 1 &&
                        AudioChannelOfMask(audio_mask) == header.nChannel;
    (stereo ? stereo_ : mono_).Write(raw_.get(), header.nLength);
}

bool CDecodeThread::Decode(const _NET_FRAME_HEAD_& header, int channel, std::int32_t codec_word,
                           DecodedPicture& decoded) {
    CVideoDecoder& decoder = decoders_[channel].For(codec_word);
    // A frame that leaves no new picture (a stream header alone, a held-back frame) shows
    // nothing rather than the previous picture again or an empty buffer.
    const DecodeResult result = decoder.DecodeFrame(raw_.get(), static_cast<int>(header.nLength),
                                                    picture_.get(), kPictureBytes);
    if (result == DecodeResult::kFailed) {
        PlaybackLog().debug("channel {}: frame {} ({} bytes) did not decode", channel,
                            header.nFrameNo, header.nLength);
    }
    if (result != DecodeResult::kPicture) return false;
    decoded = decoder.Decoded();
    if (!FormatPictureSize(FormatCode(header), decoded_width_, decoded_height_) ||
        !Covers(decoded, decoded_width_, decoded_height_)) {
        PlaybackLog().debug("channel {}: frame {} decoded smaller than its header says", channel,
                            header.nFrameNo);
        return false;
    }
    return true;
}

// The frames a recording pair takes are the ones the thread handles.
int CDecodeThread::CheckFrameHead(const _NET_FRAME_HEAD_& header) {
    return CQmxFile::CheckFrameHead(header) == 1 ? 1 : -1;
}

int CDecodeThread::PaneOfChannel(int channel) const {
    for (int row = 0; row < PlaybackShared::kRows; ++row) {
        if (shared_.row_channels[row].load(std::memory_order_relaxed) == channel + 1) return row;
    }
    return -1;
}

void CDecodeThread::ReopenDecoder(int format_code, int channel, std::int32_t codec_word) {
    int width = 0;
    int height = 0;
    if (!FormatPictureSize(format_code, width, height)) return;
    CVideoDecoder& decoder = decoders_[channel].For(codec_word);
    if (CDecoderPair::NeedsOpen(decoder, width, height)) decoder.OpenFor(width, height);
}

int CDecodeThread::ShowFrame(const DecodedPicture& picture, int format_code, int pane) {
    int width = 0;
    int height = 0;
    const CVideoGridLayout* grid = grid_.load(std::memory_order_acquire);
    if (!FormatPictureSize(format_code, width, height) || grid == nullptr) return 0;
    if (!grid->IsVisible(pane)) return 0;
    const VideoCell cell = grid->Cell(pane);
    const int left = shared_.grid_rect[0].load(std::memory_order_relaxed) + cell.video_x;
    const int top = shared_.grid_rect[1].load(std::memory_order_relaxed) + cell.video_y;
    output_.DrawPlanes({left, top, left + cell.video_width, top + cell.video_height}, width, height,
                       picture);
    return 0;
}

void CDecodeThread::ClearKeyFrameFlags() { shared_.key_frame_flags.CloseAll(); }
