#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "common/picture/PictureFormat.h"
#include "common/record/QmxFile.h"
#include "liveview/core/store/DvrList.h"
#include "platform/netctrl/NetCtrl.h"
#include "platform/records/NetFrameHead.h"

// What a slot's frame thread has done since the start, for measurements and diagnosis.
struct DvrFrameCounts {
    uint64_t received = 0;         // frames taken from the connection with a sound head
    uint64_t decoded = 0;          // video frames decoded
    uint64_t shown = 0;            // pictures drawn into a cell
    uint64_t dropped = 0;          // broken: a bad head, a channel past 15, out of sequence
    uint64_t decode_failures = 0;  // video frames the decoder refused
};

// The tallies behind DvrFrameCounts, which a slot's frame thread adds to as it goes.
struct SlotFrameCounters {
    std::atomic<uint64_t> received{0};
    std::atomic<uint64_t> decoded{0};
    std::atomic<uint64_t> shown{0};
    std::atomic<uint64_t> dropped{0};
    std::atomic<uint64_t> decode_failures{0};
};

// A slot's buffer of size_bytes, zeroed, or null when there is no memory.
using BufferAllocator = std::function<std::unique_ptr<uint8_t[]>(std::size_t size_bytes)>;

// The runtime of the 64 device slots: each slot's connection, its frame thread, the buffers
// that thread copies a frame's payload into and decodes its picture into, the slot's local
// recorder and its frame counters. A slot starts in three steps (AllocateBuffers,
// StartNetwork, Launch); StopAll takes every slot down, after which each can start afresh.
//
// Threads and locks: the window thread starts and stops slots; connect threads use the
// connections, which lock for themselves; each launched slot's frame thread runs the body.
// - The run flag is atomic. The stop clears it and then wakes the connection's picture
//   waiters: a frame thread that reads PicWakes before the flag never sleeps through it.
// - Thread handles and buffers have no lock: the window thread makes them before the launch
//   and frees them after the join; in between the buffers' contents are the frame thread's.
// - The recording flag is atomic and changes under the slot's record mutex, which also keeps
//   a close from landing between the frame thread's check and its write; the recorded count
//   is under that mutex.
// - The counters are atomic: the frame thread adds, any thread reads.
// - The last stream mask is the window thread's alone.
// - Stopping() is set from the stop of the frame threads until ResumeStarts, so a decoder
//   that a frame thread keeps trying to open gives up.
class CDvrSlots {
public:
    static constexpr int kMaxDvrs = CDvrList::kMaxDvrs;
    static constexpr std::size_t kPayloadBytes = kMaxFramePayloadBytes;
    static constexpr std::size_t kPictureBytes = kMaxPictureBgrBytes;

    // Body of a slot's frame thread; it returns once Running(a) is false.
    using FrameBody = std::function<void(int a)>;

    // allocate_buffer empty: the heap.
    CDvrSlots(const NetTimeouts& net_timeouts, BufferAllocator allocate_buffer, FrameBody body);
    // Joins any frame thread still running.
    ~CDvrSlots();
    CDvrSlots(const CDvrSlots&) = delete;
    CDvrSlots& operator=(const CDvrSlots&) = delete;

    // Slot a's start. Fresh buffers: false when either could not be had.
    bool AllocateBuffers(int a);
    // The connection's network layer: false when it would not start.
    bool StartNetwork(int a);
    // The frame thread: false when none could be made, the slot then not running.
    bool Launch(int a);

    // Frame threads told to stop, woken and joined; Stopping() is set.
    void StopFrameThreads();
    // Every connection's network layer down; log-ins in progress are cut short.
    void StopConnections();
    // Every slot down, as at shutdown: frame threads joined, connections stopped, buffers
    // freed. Each slot can be started again; Stopping() stays set.
    void StopAll();
    // Decoders may retry again: after a failed start, whose slots start again.
    void ResumeStarts() { stopping_.store(false, std::memory_order_relaxed); }
    const std::atomic<bool>& Stopping() const { return stopping_; }

    bool Running(int a) const { return slots_[a].running.load(std::memory_order_relaxed) == 1; }
    NetCtrl& Connection(int a) { return connections_[a]; }
    uint8_t* Payload(int a) { return slots_[a].payload.get(); }
    uint8_t* Picture(int a) { return slots_[a].picture.get(); }
    SlotFrameCounters& Counters(int a) { return slots_[a].counters; }
    DvrFrameCounts FrameCounts(int a) const;
    uint32_t& LastStreamMask(int a) { return slots_[a].last_stream_mask; }

    // Local recording. Starting one that runs goes on with it; StopRecording closes the pair
    // and is false when none ran.
    void StartRecording(int a);
    bool StopRecording(int a);
    bool Recording(int a) const { return slots_[a].recording.load(std::memory_order_relaxed) == 1; }
    void SetRecordDirectory(const std::string& directory);

    // Why a recording stopped by itself.
    struct RecordingStop {
        int error_number = 0;
        uint64_t kept_frames = 0;
        std::string directory;
    };
    // Writes the frame whose payload is in slot a's buffer to its recording; frame thread only.
    // A recording that cannot write stops at its first failure and keeps the pair written so
    // far: what stopped it comes back. A frame the pair's reader would refuse is left out.
    std::optional<RecordingStop> Record(int a, _NET_FRAME_HEAD_& header);

private:
    struct Slot {
        std::atomic<int> running{0};
        std::thread thread;
        std::unique_ptr<uint8_t[]> payload;
        std::unique_ptr<uint8_t[]> picture;
        std::atomic<int> recording{0};
        std::mutex record_mutex;
        uint64_t recorded_frames = 0;  // since the recording started
        CQmxFile recorder;
        uint32_t last_stream_mask = 0;
        SlotFrameCounters counters;
    };

    std::unique_ptr<uint8_t[]> AllocateBuffer(std::size_t size_bytes) const;

    const BufferAllocator allocate_buffer_;
    const FrameBody body_;
    std::array<NetCtrl, kMaxDvrs> connections_;
    std::array<Slot, kMaxDvrs> slots_;
    std::atomic<bool> stopping_{false};
};
