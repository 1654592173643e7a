#include <chrono>
#include <cstring>
#include <optional>
#include <vector>

#include "common/audio/AudioRoute.h"
#include "common/picture/ColourConversion.h"
#include "common/picture/PictureFormat.h"
#include "common/record/FrameGate.h"
#include "common/record/FrameHeadCheck.h"
#include "common/settings/KeptFramesText.h"
#include "common/ui/core/VideoOutput.h"
#include "liveview/manager/DvrManager.h"
#include "liveview/manager/EngineLog.h"

namespace {

constexpr auto kIdlePause = std::chrono::milliseconds(10);
constexpr auto kDragPause = std::chrono::milliseconds(100);
constexpr auto kSkipPause = std::chrono::milliseconds(100);

constexpr int kMaskBits = 32;

bool HasChannel(int32_t channel_mask, int channel) {
    return channel >= 0 && channel < kMaskBits &&
           (static_cast<uint32_t>(channel_mask) >> channel) & 1u;
}

bool FitsFormat(const DecodedPicture& picture, int f) {
    int width = 0;
    int height = 0;
    return FormatPictureSize(f, width, height) && Covers(picture, width, height);
}

}  // namespace

int FrameThreadProc(CDvrManager& manager, int slot) {
    manager.FrameLoop(slot);
    return 1;
}

void CDvrManager::SetDisplayTargets(CVideoGridLayout* grid, CVideoOutput* output,
                                    const ScreenRect& grid_window) {
    SetGridWindowRect(grid_window);
    output_.store(output, std::memory_order_release);
    grid_.store(grid, std::memory_order_release);
}

void CDvrManager::SetGridWindowRect(const ScreenRect& grid_window) {
    grid_window_[0].store(grid_window.left, std::memory_order_relaxed);
    grid_window_[1].store(grid_window.top, std::memory_order_relaxed);
    grid_window_[2].store(grid_window.right, std::memory_order_relaxed);
    grid_window_[3].store(grid_window.bottom, std::memory_order_relaxed);
}

bool CDvrManager::IsCellVisible(int cell) const {
    const CVideoGridLayout* grid = grid_.load(std::memory_order_acquire);
    return grid != nullptr && grid->IsVisible(cell);
}

bool CDvrManager::Shown(int a) const { return GetCurrentDvr() == a || IsAllDvrMode() == 1; }

void CDvrManager::RecordFrame(int a, _NET_FRAME_HEAD_& header) {
    if (!slots_.Recording(a)) return;
    const bool wanted =
        header.cType == 'A' || HasChannel(registry_.ChannelMask(a), header.nChannel);
    if (!wanted) return;
    const std::optional<CDvrSlots::RecordingStop> stop = slots_.Record(a, header);
    if (!stop) return;
    EngineDiag(
        spdlog::level::warn, [&] { return DiagWhere(a); },
        "recording stopped: cannot write to {} (error {}), {} frames kept", stop->directory,
        stop->error_number, stop->kept_frames);
    std::string text;
    {
        std::lock_guard lock(message_mutex_);
        std::string name;
        {
            _DVR_SETTINGS_ entry;
            registry_.GetDvr(a, entry);
            name = entry.show_name;
        }
        text = FillText(texts_.Text("LocalRec_Stopped"),
                        {name, WriteFailureReason(texts_, stop->directory, stop->error_number)}) +
               " " + KeptFramesText(texts_, stop->kept_frames, stop->directory);
    }
    ShowMessage(text);
}

void CDvrManager::PlayAudio(const _DVR_MACHINE_INFO_& info, int a, const _NET_FRAME_HEAD_& header) {
    if (audio_on_.load(std::memory_order_relaxed) != 1 || GetCurrentDvr() != a) return;
    if (header.nChannel != AudioChannelOfMask(static_cast<uint32_t>(info.nAudioMask))) return;
    std::lock_guard lock(audio_mutex_);
    CWaveOutPlayer& player = IsStereoBlock(header.nLength) ? stereo_ : mono_;
    player.Write(slots_.Payload(a), header.nLength);
}

int CDvrManager::PrepareDecoder(int f, int cell, int32_t codec_word) {
    return PrepareDecoder(-1, -1, f, cell, codec_word);
}

int CDvrManager::PrepareDecoder(int a, int channel, int f, int cell, int32_t codec_word) {
    return cells_.Prepare(a, channel, f, cell, codec_word, IsAllDvrMode() == 1, GetCurrentDvr());
}

DecodeResult CDvrManager::DecodeInCell(int a, int cell, int f, int32_t codec_word,
                                       const _NET_FRAME_HEAD_& header, DecodedPicture& decoded) {
    if (PrepareDecoder(a, header.nChannel, f, cell, codec_word) != 1) return DecodeResult::kFailed;
    if (!Shown(a)) return DecodeResult::kFailed;
    CVideoDecoder& decoder = cells_.Pair(cell).For(codec_word);
    const int length = static_cast<int>(header.nLength);
    const DecodeResult result =
        decoder.DecodeFrame(slots_.Payload(a), length, slots_.Picture(a), kPictureBytes);
    if (result == DecodeResult::kFailed) {
        slots_.Counters(a).decode_failures.fetch_add(1, std::memory_order_relaxed);
        EngineDiag(
            spdlog::level::debug, [&] { return DiagWhere(a, header.nChannel, cell); },
            "frame {} ({} bytes) did not decode; the cell waits for a key frame", header.nFrameNo,
            length);
    }
    if (result == DecodeResult::kPicture) decoded = decoder.Decoded();
    return result;
}

int CDvrManager::FrameLoop(int a) {
    NetCtrl& connection = slots_.Connection(a);
    CFrameGate gate;
    std::vector<FrameQueue::Taken> frames;
    for (;;) {
        // Read before the checks, so that a stop or a change of the link after them ends the
        // wait below, which has no time-out.
        const uint64_t wakes = connection.PicWakes();
        if (!slots_.Running(a)) break;
        const _DVR_MACHINE_INFO_ info = connection.GetMachineInfe();
        if (info.nLinkState != kLinkStreaming) {
            std::this_thread::sleep_for(kIdlePause);
            gate.ClearKeySeen();
            continue;
        }
        // What waits is taken at once: the receiver's lock is not taken again per frame.
        connection.TakePicBufs(frames);
        if (frames.empty()) {
            connection.WaitForPicBufOrWake(wakes);
            continue;
        }
        for (FrameQueue::Taken& frame : frames) {
            if (!slots_.Running(a)) break;
            if (frame.payload.size() > kPayloadBytes) continue;
            std::memcpy(slots_.Payload(a), frame.payload.data(), frame.payload.size());
            HandleFrame(a, info, gate, frame.head);
        }
        connection.RecyclePicBufs(frames);
    }
    return 0;
}

void CDvrManager::HandleFrame(int a, const _DVR_MACHINE_INFO_& info, CFrameGate& gate,
                              _NET_FRAME_HEAD_& header) {
    SlotFrameCounters& counters = slots_.Counters(a);
    if (IsValidFrameHead(header) < 0) {
        counters.dropped.fetch_add(1, std::memory_order_relaxed);
        EngineDiag(
            spdlog::level::debug, [&] { return DiagWhere(a, header.nChannel); },
            "frame dropped: a bad head (type {}, {} bytes)", static_cast<int>(header.cType),
            header.nLength);
        return;
    }
    counters.received.fetch_add(1, std::memory_order_relaxed);
    const bool video = header.cType == 'V';
    if (video && !gate.AcceptVideo(header)) {
        counters.dropped.fetch_add(1, std::memory_order_relaxed);
        EngineDiag(
            spdlog::level::debug, [&] { return DiagWhere(a, header.nChannel); },
            "frame {} dropped: {}", header.nFrameNo,
            header.nChannel < 0 || header.nChannel >= CFrameGate::kChannels
                ? "a channel outside 0..15"
                : "out of sequence, the channel waits for a key frame");
        return;
    }
    RecordFrame(a, header);

    const bool all_dvr = IsAllDvrMode() == 1;
    gate.NoteAllDvrMode(all_dvr);
    if (GetCurrentDvr() != a && !all_dvr) {
        gate.ClearKeySeen();
        return;
    }
    if (!video) {
        PlayAudio(info, a, header);
        return;
    }
    const int cell =
        all_dvr ? FindWindowOfChannel(MakeChannelKey(a, header.nChannel)) : header.nChannel;
    if (cell < 0) return;
    if (!gate.PassKeyGate(cell, header.nKeyFrame == 1)) return;

    const int f = FormatCodeOf(header.nStandard, header.nSize);
    // The decoder's planes stay valid while the cell is held: the picture is drawn from
    // them unless a pause comes first.
    std::unique_lock cell_lock = cells_.Hold(cell);
    DecodedPicture decoded;
    const DecodeResult result = DecodeInCell(a, cell, f, info.nCodec, header, decoded);
    if (result == DecodeResult::kFailed) {
        cell_lock.unlock();
        // Decoding goes on from the cell's next key frame.
        gate.CloseCell(cell);
        return;
    }
    counters.decoded.fetch_add(1, std::memory_order_relaxed);
    if (result != DecodeResult::kPicture || !FitsFormat(decoded, f) || !Shown(a)) return;
    if (IsDragging() == 1) {
        cell_lock.unlock();
        std::this_thread::sleep_for(kDragPause);
        return;
    }
    if (skip_one_frame_.exchange(0, std::memory_order_relaxed) == 1) {
        // The pause must not hold the cell: the picture waits in the slot's own buffer.
        CopyDecodedPlanes(decoded, slots_.Picture(a), f);
        cell_lock.unlock();
        std::this_thread::sleep_for(kSkipPause);
        int width = 0;
        int height = 0;
        FormatPictureSize(f, width, height);
        decoded = ContiguousPicture(slots_.Picture(a), width, height);
    }
    if (!HasChannel(registry_.ChannelMask(a), header.nChannel) || !IsCellVisible(cell)) {
        return;
    }
    DrawPlanes(decoded, f, cell);
    counters.shown.fetch_add(1, std::memory_order_relaxed);
}

DvrFrameCounts CDvrManager::GetFrameCounts(int a) const {
    return IsSlot(a) ? slots_.FrameCounts(a) : DvrFrameCounts{};
}

void CDvrManager::DrawPlanes(const DecodedPicture& decoded, int f, int cell) {
    int width = 0;
    int height = 0;
    const CVideoGridLayout* grid = grid_.load(std::memory_order_acquire);
    CVideoOutput* output = output_.load(std::memory_order_acquire);
    if (!FormatPictureSize(f, width, height) || grid == nullptr || output == nullptr) return;
    const VideoCell target = grid->Cell(cell);
    if (target.visible == 0) return;
    const ScreenRect dest = CellRect(target);
    output->DrawPlanes(dest, width, height, decoded);
}

int CDvrManager::ShowFrame(const uint8_t* picture, int f, int cell) {
    int width = 0;
    int height = 0;
    const CVideoGridLayout* grid = grid_.load(std::memory_order_acquire);
    CVideoOutput* output = output_.load(std::memory_order_acquire);
    if (!FormatPictureSize(f, width, height) || grid == nullptr || output == nullptr) return 0;
    const VideoCell target = grid->Cell(cell);
    if (target.visible == 0) return 0;
    const ScreenRect dest = CellRect(target);
    output->DrawBgr24(dest, width, height, picture);
    return 0;
}

ScreenRect CDvrManager::CellRect(const VideoCell& target) const {
    const int left = grid_window_[0].load(std::memory_order_relaxed) + target.video_x;
    const int top = grid_window_[1].load(std::memory_order_relaxed) + target.video_y;
    return {left, top, left + target.video_width, top + target.video_height};
}
