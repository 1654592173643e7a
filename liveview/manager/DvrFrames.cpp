#include <chrono>
#include <new>
#include <optional>

#include "AudioRoute.h"
#include "ColourConversion.h"
#include "DvrManager.h"
#include "EngineLog.h"
#include "FrameGate.h"
#include "FrameHeadCheck.h"
#include "GdiRenderer.h"
#include "PictureFormat.h"
#include "ScaledConversion.h"

namespace {

constexpr auto kIdlePause = std::chrono::milliseconds(10);
constexpr auto kDragPause = std::chrono::milliseconds(100);
constexpr auto kSkipPause = std::chrono::milliseconds(100);
constexpr auto kH264RetryPause = std::chrono::milliseconds(100);
constexpr auto kMpeg4RetryPause = std::chrono::milliseconds(200);

constexpr int kMaskBits = 32;

bool HasChannel(int32_t channel_mask, int channel) {
    return channel >= 0 && channel < kMaskBits &&
           (static_cast<uint32_t>(channel_mask) >> channel) & 1u;
}

}  // namespace

int FrameThreadProc(CDvrManager& manager, int slot) {
    manager.FrameLoop(slot);
    return 1;
}

void CDvrManager::SetDisplayTargets(CVideoGridLayout* grid, CGdiRenderer* renderer,
                                    const ScreenRect& grid_window) {
    SetGridWindowRect(grid_window);
    renderer_.store(renderer, std::memory_order_release);
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
    Slot& slot = slots_[a];
    if (slot.recording.load(std::memory_order_relaxed) != 1) return;
    const bool wanted =
        header.cType == 'A' ||
        HasChannel(slot.channel_mask.load(std::memory_order_relaxed), header.nChannel);
    if (!wanted) return;
    std::lock_guard lock(slot.record_mutex);
    if (slot.recording.load(std::memory_order_relaxed) == 1) {
        recorders_[a].WriteFrame(&header, slot.payload.get());
    }
}

void CDvrManager::PlayAudio(const _DVR_MACHINE_INFO_& info, int a, const _NET_FRAME_HEAD_& header) {
    if (audio_on_.load(std::memory_order_relaxed) != 1 || GetCurrentDvr() != a) return;
    if (header.nChannel != AudioChannelOfMask(static_cast<uint32_t>(info.nAudioMask))) return;
    std::lock_guard lock(audio_mutex_);
    CWaveOutPlayer& player = IsStereoBlock(header.nLength) ? stereo_ : mono_;
    player.Write(slots_[a].payload.get(), header.nLength);
}

CVideoDecoder& CDvrManager::DecoderOf(int cell, int32_t codec_word) {
    if (codec_word == kCodecH264) return h264_[cell];
    return mpeg4_[cell];
}

int CDvrManager::PrepareDecoder(int f, int cell, int32_t codec_word) {
    return PrepareDecoder(-1, -1, f, cell, codec_word);
}

int CDvrManager::PrepareDecoder(int a, int channel, int f, int cell, int32_t codec_word) {
    int width = 0;
    int height = 0;
    if (!FormatPictureSize(f, width, height)) return 0;
    const bool all_dvr = IsAllDvrMode() == 1;
    bool reopen = false;
    if (prepared_all_dvr_[cell].exchange(all_dvr ? 1 : 0, std::memory_order_relaxed) != all_dvr) {
        reopen = true;
    }
    const int current = GetCurrentDvr();
    if (!all_dvr &&
        prepared_device_[cell].exchange(current, std::memory_order_relaxed) != current) {
        reopen = true;
    }
    CVideoDecoder& decoder = DecoderOf(cell, codec_word);
    if (reopen) decoder.SetOpenedHeight(-1);
    if (decoder.OpenedWidth() == width && decoder.OpenedHeight() == height) return 1;
    const bool h264 = codec_word == kCodecH264;
    const auto retry_pause = h264 ? kH264RetryPause : kMpeg4RetryPause;
    for (int tries = 1;; ++tries) {
        bool opened;
        {
            std::lock_guard lock(lock_);
            opened = decoder.OpenFor(width, height);
        }
        if (opened) {
            if (tries > 1) {
                EngineDiag(
                    spdlog::level::info, [&] { return DiagWhere(a, channel, cell); },
                    "the decoder opened at try {}", tries);
            }
            return 1;
        }
        // The first failure says so; the tries after it only when asked for in detail.
        EngineDiag(
            tries == 1 ? spdlog::level::warn : spdlog::level::debug,
            [&] { return DiagWhere(a, channel, cell); },
            "the {} decoder did not open for {} x {} (try {}); trying again in {} ms",
            h264 ? "H.264" : "MPEG-4", width, height, tries, retry_pause.count());
        // A decoder that never opens must not hold up the thread's end.
        if (stopping_.load(std::memory_order_relaxed)) return -1;
        std::this_thread::sleep_for(retry_pause);
    }
}

std::optional<CDvrManager::CellSize> CDvrManager::PlannedScaledDraw(int a, int f, int cell,
                                                                    int channel) const {
    int width = 0;
    int height = 0;
    const CVideoGridLayout* grid = grid_.load(std::memory_order_acquire);
    if (!FormatPictureSize(f, width, height) || grid == nullptr || !Shown(a) || IsDragging() == 1 ||
        !HasChannel(slots_[a].channel_mask.load(std::memory_order_relaxed), channel)) {
        return std::nullopt;
    }
    const VideoCell target = grid->Cell(cell);
    if (target.visible == 0 || target.video_width <= 0 || target.video_height <= 0 ||
        target.video_width > width || target.video_height > height) {
        return std::nullopt;
    }
    return CellSize{target.video_width, target.video_height};
}

bool CDvrManager::DecodeInto(int a, int cell, int f, int32_t codec_word,
                             const _NET_FRAME_HEAD_& header, const std::optional<CellSize>& scaled,
                             uint8_t* scratch, bool& pictured, bool& converted) {
    pictured = false;
    converted = false;
    uint8_t* picture = slots_[a].picture.get();
    const uint8_t* payload = slots_[a].payload.get();
    const int length = static_cast<int>(header.nLength);
    std::lock_guard lock(cell_mutex_[cell]);
    if (PrepareDecoder(a, header.nChannel, f, cell, codec_word) != 1) return false;
    if (!Shown(a)) return false;
    CVideoDecoder& decoder = DecoderOf(cell, codec_word);
    switch (decoder.DecodeFrame(payload, length, picture, kPictureBytes)) {
        case DecodeResult::kFailed:
            slots_[a].decode_failures.fetch_add(1, std::memory_order_relaxed);
            EngineDiag(
                spdlog::level::debug, [&] { return DiagWhere(a, header.nChannel, cell); },
                "frame {} ({} bytes) did not decode; the cell waits for a key frame",
                header.nFrameNo, length);
            return false;
        case DecodeResult::kNoPicture:
            return true;
        case DecodeResult::kPicture:
            break;
    }
    // A cell smaller than the picture takes a fraction of its pixels: they are read from the
    // decoder's planes (valid while the cell is held) instead of copying all of them.
    const DecodedPicture decoded = decoder.Decoded();
    if (scaled && ConvertDecodedScaled(scratch, scaled->width, scaled->height, decoded, f)) {
        pictured = true;
        converted = true;
        return true;
    }
    pictured = CopyDecodedPlanes(decoded, picture, f) == 1;
    return true;
}

int CDvrManager::FrameLoop(int a) {
    std::unique_ptr<uint8_t[]> converted(new (std::nothrow) uint8_t[kPictureBytes]);
    if (!converted) {
        ShowMessage("not have enough memory!");
        return -1;
    }
    Slot& slot = slots_[a];
    NetCtrl& connection = connections_[a];
    CFrameGate gate;
    _NET_FRAME_HEAD_ header{};
    while (slot.running.load(std::memory_order_relaxed) == 1) {
        const _DVR_MACHINE_INFO_ info = connection.GetMachineInfe();
        if (info.nLinkState != kLinkStreaming) {
            std::this_thread::sleep_for(kIdlePause);
            gate.ClearKeySeen();
            continue;
        }
        if (connection.IsHavePicBuf() <= 0) {
            // The idle pause, cut short by the next frame: a timer would wake the thread four
            // times per frame interval for nothing.
            connection.WaitForPicBuf(static_cast<int>(kIdlePause.count()));
            continue;
        }
        if (connection.GetRawPicBuf(reinterpret_cast<char*>(&header),
                                    reinterpret_cast<char*>(slot.payload.get())) < 0) {
            continue;
        }
        if (IsValidFrameHead(header) < 0) {
            slot.dropped.fetch_add(1, std::memory_order_relaxed);
            EngineDiag(
                spdlog::level::debug, [&] { return DiagWhere(a, header.nChannel); },
                "frame dropped: a bad head (type {}, {} bytes)", static_cast<int>(header.cType),
                header.nLength);
            continue;
        }
        slot.received.fetch_add(1, std::memory_order_relaxed);
        const bool video = header.cType == 'V';
        if (video && !gate.AcceptVideo(header)) {
            slot.dropped.fetch_add(1, std::memory_order_relaxed);
            EngineDiag(
                spdlog::level::debug, [&] { return DiagWhere(a, header.nChannel); },
                "frame {} dropped: {}", header.nFrameNo,
                header.nChannel < 0 || header.nChannel >= CFrameGate::kChannels
                    ? "a channel outside 0..15"
                    : "out of sequence, the channel waits for a key frame");
            continue;
        }
        RecordFrame(a, header);

        const bool all_dvr = IsAllDvrMode() == 1;
        gate.NoteAllDvrMode(all_dvr);
        if (GetCurrentDvr() != a && !all_dvr) {
            gate.ClearKeySeen();
            continue;
        }
        if (!video) {
            PlayAudio(info, a, header);
            continue;
        }
        const int cell =
            all_dvr ? FindWindowOfChannel(MakeChannelKey(a, header.nChannel)) : header.nChannel;
        if (cell < 0) continue;
        if (!gate.PassKeyGate(cell, header.nKeyFrame == 1)) continue;

        const int f = FormatCodeOf(header.nStandard, header.nSize);
        const std::optional<CellSize> scaled = PlannedScaledDraw(a, f, cell, header.nChannel);
        bool pictured = false;  // this frame produced a picture to draw
        bool ready = false;     // converted already holds the picture at the size of scaled
        if (!DecodeInto(a, cell, f, info.nCodec, header, scaled, converted.get(), pictured,
                        ready)) {
            // Decoding goes on from the cell's next key frame.
            gate.CloseCell(cell);
            continue;
        }
        slot.decoded.fetch_add(1, std::memory_order_relaxed);
        if (!pictured || !Shown(a)) continue;
        if (IsDragging() == 1) {
            std::this_thread::sleep_for(kDragPause);
            continue;
        }
        if (skip_one_frame_.exchange(0, std::memory_order_relaxed) == 1) {
            std::this_thread::sleep_for(kSkipPause);
        }
        if (!HasChannel(slot.channel_mask.load(std::memory_order_relaxed), header.nChannel) ||
            !IsCellVisible(cell)) {
            continue;
        }
        DrawPicture(slot.picture.get(), f, cell, converted.get(),
                    ready ? scaled : std::optional<CellSize>());
        slot.shown.fetch_add(1, std::memory_order_relaxed);
    }
    return 0;
}

DvrFrameCounts CDvrManager::GetFrameCounts(int a) const {
    if (!IsSlot(a)) return {};
    const Slot& slot = slots_[a];
    return {
        slot.received.load(std::memory_order_relaxed), slot.decoded.load(std::memory_order_relaxed),
        slot.shown.load(std::memory_order_relaxed), slot.dropped.load(std::memory_order_relaxed),
        slot.decode_failures.load(std::memory_order_relaxed)};
}

// Only a picture that gets drawn is converted, and into a cell smaller than the picture only
// the pixels the draw would take.
void CDvrManager::DrawPicture(const uint8_t* picture, int f, int cell, uint8_t* scratch,
                              const std::optional<CellSize>& ready) {
    int width = 0;
    int height = 0;
    const CVideoGridLayout* grid = grid_.load(std::memory_order_acquire);
    if (!FormatPictureSize(f, width, height) || grid == nullptr) return;
    const VideoCell target = grid->Cell(cell);
    if (target.visible == 0) return;
    if (ready) {
        // Converted for the cell at decode time; a layout changed since lands once stretched.
        DrawIntoCell(target, ready->width, ready->height, scratch);
        return;
    }
    if (target.video_width > 0 && target.video_height > 0 && target.video_width <= width &&
        target.video_height <= height) {
        ConvertScaledToBgr24(scratch, target.video_width, target.video_height, picture, width,
                             height);
        DrawIntoCell(target, target.video_width, target.video_height, scratch);
        return;
    }
    ConvertToBgr24(scratch, picture, f);
    ShowFrame(scratch, f, cell);
}

int CDvrManager::ShowFrame(const uint8_t* picture, int f, int cell) {
    int width = 0;
    int height = 0;
    const CVideoGridLayout* grid = grid_.load(std::memory_order_acquire);
    if (!FormatPictureSize(f, width, height) || grid == nullptr) return 0;
    const VideoCell target = grid->Cell(cell);
    if (target.visible != 0) DrawIntoCell(target, width, height, picture);
    return 0;
}

void CDvrManager::DrawIntoCell(const VideoCell& target, int width, int height, const uint8_t* bgr) {
    CGdiRenderer* renderer = renderer_.load(std::memory_order_acquire);
    if (renderer == nullptr) return;
    const int left = grid_window_[0].load(std::memory_order_relaxed) + target.video_x;
    const int top = grid_window_[1].load(std::memory_order_relaxed) + target.video_y;
    std::lock_guard lock(lock_);
    renderer->Draw(left, top, left + target.video_width, top + target.video_height, width, height,
                   bgr);
}
