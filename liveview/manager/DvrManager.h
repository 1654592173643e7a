#pragma once

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "common/audio/WaveOutPlayer.h"
#include "common/lookup/LookupClient.h"
#include "common/picture/PictureFormat.h"
#include "common/settings/LanguageSelect.h"
#include "common/ui/core/VideoGridLayout.h"
#include "liveview/core/store/DvrAddress.h"
#include "liveview/core/store/DvrList.h"
#include "liveview/core/streaming/StreamMasks.h"
#include "liveview/core/streaming/StreamPlan.h"
#include "liveview/core/streaming/WindowMap.h"
#include "liveview/manager/CellDecoders.h"
#include "liveview/manager/DvrRegistry.h"
#include "liveview/manager/DvrSlots.h"
#include "platform/netctrl/NetCtrl.h"
#include "platform/records/DvrMachineInfo.h"
#include "platform/records/NetMacSetPara.h"
#include "platform/surface/DrawLock.h"
#include "platform/surface/ScreenRect.h"
#include "platform/waveout/WaveOutBackend.h"

class CFrameGate;

class CVideoOutput;

// Time limits, the lookup server's port and where slot buffers come from; tests shorten and
// move them, and run out of memory.
struct DvrManagerOptions {
    NetTimeouts net_timeouts;
    LookupTimeouts lookup_timeouts;
    int lookup_port = kLookupServerPort;
    BufferAllocator allocate_buffer;  // empty: the heap
};

// The live view's connection core: up to 64 recorders, one connection and one frame thread per
// device slot, the decoders of the 256 video cells, local recording, audio, the window map and
// the device store. Operations return 1 for success and -1 for a bad slot or a failure.
//
// Threads: the window thread calls everything but ConnectDvr; connect threads call
// ConnectDvr, GetDvr and GetMachineInfo; each started slot has a frame thread (FrameLoop).
// What the threads share without the lock is atomic. The lock is held only around a slot's
// network start, each decoder open and each draw, never while a thread is waited for. The
// devices and their store are the registry's (CDvrRegistry), the slots' connections, frame
// threads, buffers, recorders and counters CDvrSlots', the cells' decoders and their mutexes
// CCellDecoders', each with its own lock story.
class CDvrManager {
public:
    static constexpr int kMaxDvrs = CDvrList::kMaxDvrs;
    static constexpr int kVideoCells = CWindowMap::kCells;
    static constexpr std::size_t kPayloadBytes = CDvrSlots::kPayloadBytes;
    static constexpr std::size_t kPictureBytes = CDvrSlots::kPictureBytes;

    // Message boxes of connect and frame threads; the window shows them on its own thread.
    using MessageSink = std::function<void(const std::string& text)>;

    // ALSA for audio, uss.dat beside the program's folder.
    CDvrManager();
    CDvrManager(WaveOutBackend& audio, const std::string& store_path,
                const DvrManagerOptions& options = {});
    virtual ~CDvrManager();
    CDvrManager(const CDvrManager&) = delete;
    CDvrManager& operator=(const CDvrManager&) = delete;

    void SetMessageSink(MessageSink sink);
    // The language of the manager's own messages; English until the window sets it.
    void SetTexts(const LanguageSelect& texts);

    // Device entries.
    int AddDvr(const std::string& address, const std::string& port_text, const std::string& user,
               const std::string& password, const std::string& show_name);
    int DeleteDvr(int a);
    int GetDvr(int a, _DVR_SETTINGS_& out);
    int UpdateDvr(int a, const _DVR_SETTINGS_& settings, const std::string& record_directory);
    int GetDvrCount() const { return registry_.GetDvrCount(); }
    void SetCurrentDvr(int a) { current_dvr_.store(a, std::memory_order_relaxed); }
    int GetCurrentDvr() const { return current_dvr_.load(std::memory_order_relaxed); }

    // Network of a slot, log-in and shutdown.
    int StartDvrNetwork(int a);
    int ConnectDvr(int a);  // blocking; on a connect thread
    int DisconnectDvr(int a);
    // -1 when the device store could not be written (everything else is stopped all the same).
    int Shutdown();

    // Pass-throughs to a device's connection.
    _DVR_MACHINE_INFO_ GetMachineInfo(int a);
    int GetDvrMacPara(int a, NET_MAC_SET_PARA* para);
    int SetDvrMacPara(int a, const NET_MAC_SET_PARA* para);
    int RequestDiskInfo(int a);
    int RequestLedInfo(int a);
    int RequestKeyFrame(int a);
    int ResetDvrNetwork(int a);
    int SendPtzCommand(int code, int channel, int action, int a);
    int SendEscKey(int a);
    int SendRecKey(int a);

    // Local recording and audio. A recording that cannot write (a full disk) stops at its
    // first failure, keeps the pair written so far and says so once through the message sink.
    int StartRecord(int a);
    int StopRecord(int a);
    int IsRecording(int a) const;
    void AudioOn() { audio_on_.store(1, std::memory_order_relaxed); }
    void AudioOff() { audio_on_.store(0, std::memory_order_relaxed); }

    // Live streaming control.
    int StartLiveView(int a);  // after a log-in, on the connect thread
    int StopLiveView(int a);
    int ApplyNetParameter(int a);
    void SetAllDvrMode(int flag) { all_dvr_mode_.store(flag != 0, std::memory_order_relaxed); }
    int IsAllDvrMode() const { return all_dvr_mode_.load(std::memory_order_relaxed) ? 1 : 0; }
    int RefreshLiveViews();
    int RefreshCurrentDvrView(int a);
    int StopHiddenDvrView(int a);
    int RefreshMappedViews();

    // Window map of the all-devices view.
    int SetWindowChannel(int i, int key) { return registry_.WindowMap().SetWindowChannel(i, key); }
    int GetWindowChannel(int i) const { return registry_.WindowMap().GetWindowChannel(i); }
    void ClearWindowMap() { registry_.WindowMap().ClearWindowMap(); }
    int FindWindowOfChannel(int key) const {
        return registry_.WindowMap().FindWindowOfChannel(key);
    }

    // Frame threads and display. The frame threads draw into grid and output until
    // Shutdown() returns, so both must outlive it.
    void SetDisplayTargets(CVideoGridLayout* grid, CVideoOutput* output,
                           const ScreenRect& grid_window);
    void SetGridWindowRect(const ScreenRect& grid_window);
    int FrameLoop(int a);
    int PrepareDecoder(int f, int cell, int32_t codec_word);
    int ShowFrame(const uint8_t* picture, int f, int cell);
    DvrFrameCounts GetFrameCounts(int a) const;

    // Flags the main window sets.
    void SetSkipOneFrame() { skip_one_frame_.store(1, std::memory_order_relaxed); }
    void SetDragging(int dragging) { dragging_.store(dragging, std::memory_order_relaxed); }
    int IsDragging() const { return dragging_.load(std::memory_order_relaxed); }
    void SetGdiMode(int mode) { gdi_mode_.store(mode, std::memory_order_relaxed); }
    int GetGdiMode() const { return gdi_mode_.load(std::memory_order_relaxed); }

    // Device store and the lock's passwords.
    int LoadUserStore();
    int SaveUserStore();
    // Where the last load kept a copy of a store it found short or mended; empty when it
    // kept none.
    const std::string& DamagedStoreCopy() const { return registry_.DamagedStoreCopy(); }
    const std::string& StorePath() const { return registry_.StorePath(); }
    void SetPasswords(const std::string& admin, const std::string& user, int flag);
    const std::string& GetAdminPassword() const { return registry_.AdminPassword(); }
    const std::string& GetUserPassword() const { return registry_.UserPassword(); }
    int GetPasswordFlag() const { return registry_.PasswordFlag(); }
    const std::string& GetSavePath() const { return registry_.RecordDirectory(); }

private:
    static bool IsSlot(int a) { return a >= 0 && a < kMaxDvrs; }
    bool IsDevice(int a) const { return registry_.IsDevice(a); }
    void ShowMessage(const std::string& text);
    void ApplyPlan(int a, const StreamPlan& plan);
    int SendCommand(int a, const _NET_COMMAND_& command);
    // One frame taken from the slot's queue, its payload in the slot's buffer.
    void HandleFrame(int a, const _DVR_MACHINE_INFO_& info, CFrameGate& gate,
                     _NET_FRAME_HEAD_& header);
    void RecordFrame(int a, _NET_FRAME_HEAD_& header);
    void PlayAudio(const _DVR_MACHINE_INFO_& info, int a, const _NET_FRAME_HEAD_& header);
    // Opens the cell's decoder as needed and decodes the slot's frame; the cell's lock held.
    // A new picture's planes go to decoded.
    DecodeResult DecodeInCell(int a, int cell, int f, int32_t codec_word,
                              const _NET_FRAME_HEAD_& header, DecodedPicture& decoded);
    bool Shown(int a) const;
    bool IsCellVisible(int cell) const;
    // Draws the picture of the format's size from its planes into the cell.
    void DrawPlanes(const DecodedPicture& decoded, int f, int cell);
    // The cell's video rectangle in screen coordinates.
    ScreenRect CellRect(const VideoCell& target) const;
    VisibleCells VisibleCellsNow() const;
    // PrepareDecoder for a frame of device a's channel, which the diagnostic lines name.
    int PrepareDecoder(int a, int channel, int f, int cell, int32_t codec_word);
    void SetRecordDirectory(const std::string& directory);
    // "device 2 (host:port) channel 5 cell 37" for the diagnostic log; parts below 0 are left
    // out.
    std::string DiagWhere(int a, int channel = -1, int cell = -1) const;
    // A network call's result, passed on; one below 0 leaves a line in the diagnostic log.
    int NoteNetCall(int a, const char* call, int result) const;

    std::atomic<int> skip_one_frame_{0};
    std::atomic<int> dragging_{0};
    std::atomic<int> gdi_mode_{0};
    CLookupClient lookup_;
    const int lookup_port_;
    std::mutex lookup_mutex_;  // one lookup and the reading of its reply at a time
    std::atomic<bool> all_dvr_mode_{false};
    CWaveOutPlayer stereo_;
    CWaveOutPlayer mono_;
    std::mutex audio_mutex_;  // a device switch can overlap two writers for a moment

    CDvrRegistry registry_;

    CDvrSlots slots_;
    std::atomic<int> audio_on_{0};
    std::atomic<CVideoGridLayout*> grid_{nullptr};
    std::atomic<CVideoOutput*> output_{nullptr};
    std::array<std::atomic<int>, 4> grid_window_{};  // left, top, right, bottom
    std::atomic<int> current_dvr_{0};

    CDrawLock lock_;  // decoder opens and slot starts
    CCellDecoders cells_{lock_, slots_.Stopping(), [this](int a, int channel, int cell) {
                             return DiagWhere(a, channel, cell);
                         }};

    MessageSink message_sink_;
    LanguageSelect texts_;
    std::mutex message_mutex_;

    // Connect threads still inside ConnectDvr; the manager outlives every one of them.
    std::mutex connect_mutex_;
    std::condition_variable connect_done_;
    int connect_calls_ = 0;
    bool closed_ = false;
    bool shut_down_ = false;
};

// Body of a slot's frame thread.
int FrameThreadProc(CDvrManager& manager, int slot);
