#pragma once

#include <atomic>
#include <bitset>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <vector>

#include "platform/netctrl/FrameQueueClock.h"
#include "platform/records/NetFrameHead.h"

struct FrameQueueLimits {
    std::size_t max_frames = 600;
    std::size_t max_bytes = 8 * 1024 * 1024;
};

// Frames between the receiver thread and the caller's frame thread, oldest first.
//
// When full, the oldest frame goes. A dropped video frame breaks the chain of its channel, so
// the frames that depend on it go too, up to the channel's next key frame: the caller never
// sees a frame number run that hides a gap and never decodes against a lost reference.
//
// A playback span ends in two steps: the recorder's end notice marks the last frame queued,
// and the span counts as delivered once the consumer asks again after taking that frame.
class FrameQueue {
public:
    // Waits are measured on clock (the steady clock when none); it must outlive the queue.
    explicit FrameQueue(FrameQueueLimits limits = {}, FrameQueueClock* clock = nullptr);

    // Runs under the queue's lock when a marked span has been delivered; must not block.
    void SetSpanDeliveredHandler(std::function<void()> handler);

    // Receiver side. When full, waits up to wait_ms for room (ends early on cancel), then
    // drops as above. After a wait in vain it drops at once until the consumer takes a frame
    // again, so a consumer that stopped cannot slow the link to one frame per wait.
    // Returns an empty buffer to receive the next payload into: one the consumer has emptied
    // when there is one, so a steady stream allocates nothing.
    std::vector<uint8_t> Push(const _NET_FRAME_HEAD_& head, std::vector<uint8_t> payload,
                              int wait_ms, const std::atomic<bool>& cancel);
    // Wakes a consumer waiting in WaitForFrame. Called once the frames of one read are
    // queued, so the consumer finds them all and does not queue behind each push.
    void NotifyArrivals();
    void MarkSpanEnd();
    void Clear();  // also forgets a span end
    void ClearSpanEnd();
    void WakeAll();

    // Consumer side. Pop copies the oldest frame's payload into data and returns its size in
    // bytes, or -1 when the queue is empty.
    int Count();
    int Pop(_NET_FRAME_HEAD_& head, uint8_t* data);
    // Waits up to wait_ms for frames to arrive (NotifyArrivals); returns at once when one
    // waits. True when a frame waits. A consumer that idles here wakes when its stream goes
    // on, not on a timer.
    bool WaitForFrame(int wait_ms);
    // Wake-ups so far (WakeAll, Clear). A consumer reads this before it checks what else it
    // waits for; WaitForFrameOrWake then returns when a frame waits or a wake-up came since,
    // with no time-out, so none is lost in between.
    uint64_t Wakes();
    bool WaitForFrameOrWake(uint64_t seen_wakes);
    // Every waiting frame, oldest first, taken under one lock into frames (emptied first);
    // give the batch back with Recycle once done so its buffers serve the receiver again.
    struct Taken {
        _NET_FRAME_HEAD_ head;
        std::vector<uint8_t> payload;
    };
    void TakeAll(std::vector<Taken>& frames);
    void Recycle(std::vector<Taken>& frames);

    uint64_t DroppedFrames() const;
    // Channels whose frames are dropped until their next key frame; at most kFrameChannels.
    std::size_t BrokenChannels() const;

private:
    struct Entry {
        _NET_FRAME_HEAD_ head;
        std::vector<uint8_t> payload;
        uint64_t seq;
    };

    bool Full(std::size_t incoming_bytes) const;
    std::vector<uint8_t> TakeSpare();
    // Keeps an emptied payload buffer for the receiver when the spare limits allow.
    void KeepSpare(std::vector<uint8_t>& buffer);
    void EvictOldest();
    void DropChainOf(int32_t channel);
    void CheckSpanDelivered();

    const FrameQueueLimits limits_;
    FrameQueueClock* const clock_;
    mutable std::mutex mutex_;
    std::condition_variable room_;
    std::condition_variable arrived_;
    int consumers_waiting_ = 0;  // notified only when somebody waits
    uint64_t wakes_ = 0;
    std::deque<Entry> frames_;
    std::size_t bytes_ = 0;
    uint64_t pushed_ = 0;
    uint64_t dropped_ = 0;
    // Waiting for their next key frame. A channel outside the frame range is never marked:
    // every reader refuses its frames anyway, and a recorder sending ever-new channel numbers
    // would otherwise grow the set without limit.
    std::bitset<kFrameChannels> broken_channels_;
    bool consumer_stalled_ = false;
    bool span_end_marked_ = false;
    uint64_t span_end_seq_ = 0;  // the last frame of the span
    std::function<void()> on_span_delivered_;
    std::vector<std::vector<uint8_t>> spare_;  // emptied payload buffers, capacity kept
    std::size_t spare_bytes_ = 0;              // their capacities
};
