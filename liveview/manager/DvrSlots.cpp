#include "liveview/manager/DvrSlots.h"

#include <pthread.h>

#include <new>
#include <string>
#include <system_error>
#include <utility>

CDvrSlots::CDvrSlots(const NetTimeouts& net_timeouts, BufferAllocator allocate_buffer,
                     FrameBody body)
    : allocate_buffer_(std::move(allocate_buffer)),
      body_(std::move(body)),
      connections_([&]<std::size_t... I>(std::index_sequence<I...>) {
          return std::array<NetCtrl, kMaxDvrs>{((void)I, NetCtrl(net_timeouts))...};
      }(std::make_index_sequence<kMaxDvrs>())) {}

CDvrSlots::~CDvrSlots() { StopFrameThreads(); }

std::unique_ptr<uint8_t[]> CDvrSlots::AllocateBuffer(std::size_t size_bytes) const {
    if (allocate_buffer_) return allocate_buffer_(size_bytes);
    return std::unique_ptr<uint8_t[]>(new (std::nothrow) uint8_t[size_bytes]());
}

bool CDvrSlots::AllocateBuffers(int a) {
    Slot& slot = slots_[a];
    // The old ones go first: a slot never holds two sets at once.
    slot.picture.reset();
    slot.payload.reset();
    slot.picture = AllocateBuffer(kPictureBytes);
    if (slot.picture) slot.payload = AllocateBuffer(kPayloadBytes);
    return slot.picture && slot.payload;
}

bool CDvrSlots::StartNetwork(int a) { return connections_[a].InitNetWork() >= 0; }

bool CDvrSlots::Launch(int a) {
    Slot& slot = slots_[a];
    slot.running.store(1, std::memory_order_relaxed);
    try {
        slot.thread = std::thread([this, a] {
            const std::string name = "frame-" + std::to_string(a);
            ::pthread_setname_np(::pthread_self(), name.c_str());
            body_(a);
        });
    } catch (const std::system_error&) {
        slot.running.store(0, std::memory_order_relaxed);
        return false;
    }
    return true;
}

void CDvrSlots::StopFrameThreads() {
    stopping_.store(true, std::memory_order_relaxed);
    for (int a = 0; a < kMaxDvrs; ++a) {
        slots_[a].running.store(0, std::memory_order_relaxed);
        connections_[a].WakePicWaiters();
    }
    for (Slot& slot : slots_) {
        if (slot.thread.joinable()) slot.thread.join();
    }
}

void CDvrSlots::StopConnections() {
    for (NetCtrl& connection : connections_)
        connection.StopNetWork();
}

void CDvrSlots::StopAll() {
    StopFrameThreads();
    StopConnections();
    for (Slot& slot : slots_) {
        slot.payload.reset();
        slot.picture.reset();
    }
}

DvrFrameCounts CDvrSlots::FrameCounts(int a) const {
    const SlotFrameCounters& counters = slots_[a].counters;
    return {counters.received.load(std::memory_order_relaxed),
            counters.decoded.load(std::memory_order_relaxed),
            counters.shown.load(std::memory_order_relaxed),
            counters.dropped.load(std::memory_order_relaxed),
            counters.decode_failures.load(std::memory_order_relaxed)};
}

void CDvrSlots::StartRecording(int a) {
    Slot& slot = slots_[a];
    std::lock_guard lock(slot.record_mutex);
    if (slot.recording.load(std::memory_order_relaxed) != 1) slot.recorded_frames = 0;
    slot.recording.store(1, std::memory_order_relaxed);
}

bool CDvrSlots::StopRecording(int a) {
    Slot& slot = slots_[a];
    std::lock_guard lock(slot.record_mutex);
    if (slot.recording.load(std::memory_order_relaxed) != 1) return false;
    slot.recording.store(0, std::memory_order_relaxed);
    slot.recorder.Close();
    return true;
}

void CDvrSlots::SetRecordDirectory(const std::string& directory) {
    for (Slot& slot : slots_)
        slot.recorder.SetDirectory(directory);
}

std::optional<CDvrSlots::RecordingStop> CDvrSlots::Record(int a, _NET_FRAME_HEAD_& header) {
    Slot& slot = slots_[a];
    std::lock_guard lock(slot.record_mutex);
    if (slot.recording.load(std::memory_order_relaxed) != 1) return std::nullopt;
    if (slot.recorder.WriteFrame(&header, slot.payload.get()) == 1) {
        ++slot.recorded_frames;
        return std::nullopt;
    }
    if (CQmxFile::CheckFrameHead(header) != 1) return std::nullopt;
    // Every further frame would fail the same way and leave an empty pair behind.
    slot.recording.store(0, std::memory_order_relaxed);
    slot.recorder.Close();
    return RecordingStop{slot.recorder.ErrorNumber(), slot.recorded_frames,
                         slot.recorder.Directory()};
}
