#include "platform/netctrl/FrameQueue.h"

#include <algorithm>
#include <chrono>

namespace {

// Buffers kept for reuse: the frames of a whole burst (16 channels of video and their audio)
// come back, or each burst would allocate and free the rest afresh on both threads.
constexpr std::size_t kMaxSpareBuffers = 32;
// Larger buffers (a rare huge frame) go back to the allocator.
constexpr std::size_t kMaxSpareCapacityBytes = 256 * 1024;
// What a queue keeps in all, so 64 recorders of key-frame-sized buffers stay bounded.
constexpr std::size_t kMaxSpareTotalBytes = 1024 * 1024;

bool IsVideo(const _NET_FRAME_HEAD_& head) { return head.cType == 'V'; }

}  // namespace

FrameQueue::FrameQueue(FrameQueueLimits limits, FrameQueueClock* clock)
    : limits_(limits), clock_(clock != nullptr ? clock : &FrameQueueClock::Steady()) {}

void FrameQueue::SetSpanDeliveredHandler(std::function<void()> handler) {
    std::lock_guard lock(mutex_);
    on_span_delivered_ = std::move(handler);
}

std::vector<uint8_t> FrameQueue::Push(const _NET_FRAME_HEAD_& head, std::vector<uint8_t> payload,
                                      int wait_ms, const std::atomic<bool>& cancel) {
    std::unique_lock lock(mutex_);
    const bool video = IsVideo(head);
    const bool key = video && head.nKeyFrame == 1;
    // A key frame starts its channel again; other video of a broken channel has lost its base.
    auto lost_base = [&] {
        if (!video || !IsFrameChannel(head.nChannel)) return false;
        if (key) {
            broken_channels_.reset(head.nChannel);
            return false;
        }
        return broken_channels_.test(head.nChannel);
    };
    if (lost_base()) {
        ++dropped_;
        payload.clear();
        return payload;
    }
    if (Full(payload.size()) && wait_ms > 0 && !consumer_stalled_) {
        arrived_.notify_all();  // a consumer must not sleep on a full queue
        const auto room = [&] { return !Full(payload.size()) || cancel.load(); };
        const auto deadline = clock_->Now() + std::chrono::milliseconds(wait_ms);
        while (!room() && clock_->Now() < deadline) {
            clock_->WaitUntil(room_, lock, deadline);
        }
        consumer_stalled_ = !room();
    }
    while (Full(payload.size()) && !frames_.empty()) {
        EvictOldest();
    }
    if (lost_base()) {  // the eviction may have broken this frame's own channel
        ++dropped_;
        payload.clear();
        return payload;
    }
    bytes_ += payload.size();
    frames_.push_back({head, std::move(payload), ++pushed_});
    return TakeSpare();
}

std::vector<uint8_t> FrameQueue::TakeSpare() {
    if (spare_.empty()) {
        return {};
    }
    std::vector<uint8_t> buffer = std::move(spare_.back());
    spare_.pop_back();
    spare_bytes_ -= buffer.capacity();
    return buffer;
}

void FrameQueue::KeepSpare(std::vector<uint8_t>& buffer) {
    const std::size_t capacity = buffer.capacity();
    if (spare_.size() >= kMaxSpareBuffers || capacity > kMaxSpareCapacityBytes ||
        spare_bytes_ + capacity > kMaxSpareTotalBytes) {
        return;
    }
    buffer.clear();
    spare_bytes_ += capacity;
    spare_.push_back(std::move(buffer));
}

void FrameQueue::MarkSpanEnd() {
    std::lock_guard lock(mutex_);
    span_end_marked_ = true;
    span_end_seq_ = pushed_;
}

void FrameQueue::ClearSpanEnd() {
    std::lock_guard lock(mutex_);
    span_end_marked_ = false;
}

void FrameQueue::Clear() {
    std::lock_guard lock(mutex_);
    frames_.clear();
    bytes_ = 0;
    broken_channels_.reset();
    span_end_marked_ = false;
    ++wakes_;
    room_.notify_all();
    arrived_.notify_all();
}

void FrameQueue::WakeAll() {
    std::lock_guard lock(mutex_);
    ++wakes_;
    room_.notify_all();
    arrived_.notify_all();
}

int FrameQueue::Count() {
    std::lock_guard lock(mutex_);
    CheckSpanDelivered();
    return static_cast<int>(frames_.size());
}

int FrameQueue::Pop(_NET_FRAME_HEAD_& head, uint8_t* data) {
    Entry entry;
    {
        std::lock_guard lock(mutex_);
        CheckSpanDelivered();
        if (frames_.empty()) {
            return -1;
        }
        entry = std::move(frames_.front());
        frames_.pop_front();
        bytes_ -= entry.payload.size();
        consumer_stalled_ = false;
        room_.notify_one();
    }
    // The copy runs outside the lock so the receiver never waits for it.
    head = entry.head;
    std::copy(entry.payload.begin(), entry.payload.end(), data);
    const int size_bytes = static_cast<int>(entry.payload.size());
    if (entry.payload.capacity() <= kMaxSpareCapacityBytes) {
        std::lock_guard lock(mutex_);
        KeepSpare(entry.payload);
    }
    return size_bytes;
}

void FrameQueue::NotifyArrivals() {
    {
        std::lock_guard lock(mutex_);
        if (consumers_waiting_ == 0 || frames_.empty()) return;
    }
    // Notified with the lock let go: a consumer woken under it would only block on it at once
    // and need a second wake-up. It finds the frames whenever it looks, so none is missed.
    arrived_.notify_all();
}

bool FrameQueue::WaitForFrame(int wait_ms) {
    std::unique_lock lock(mutex_);
    ++consumers_waiting_;
    const auto deadline = clock_->Now() + std::chrono::milliseconds(wait_ms);
    while (frames_.empty() && clock_->Now() < deadline) {
        clock_->WaitUntil(arrived_, lock, deadline);
    }
    --consumers_waiting_;
    return !frames_.empty();
}

uint64_t FrameQueue::Wakes() {
    std::lock_guard lock(mutex_);
    return wakes_;
}

bool FrameQueue::WaitForFrameOrWake(uint64_t seen_wakes) {
    std::unique_lock lock(mutex_);
    ++consumers_waiting_;
    arrived_.wait(lock, [&] { return !frames_.empty() || wakes_ != seen_wakes; });
    --consumers_waiting_;
    return !frames_.empty();
}

void FrameQueue::TakeAll(std::vector<Taken>& frames) {
    frames.clear();
    std::lock_guard lock(mutex_);
    CheckSpanDelivered();
    if (frames_.empty()) return;
    // A span ending in this batch counts as delivered on the next call, as after Pop.
    for (Entry& entry : frames_)
        frames.push_back({entry.head, std::move(entry.payload)});
    frames_.clear();
    bytes_ = 0;
    consumer_stalled_ = false;
    room_.notify_all();
}

void FrameQueue::Recycle(std::vector<Taken>& frames) {
    std::lock_guard lock(mutex_);
    for (Taken& frame : frames)
        KeepSpare(frame.payload);
    frames.clear();
}

uint64_t FrameQueue::DroppedFrames() const {
    std::lock_guard lock(mutex_);
    return dropped_;
}

std::size_t FrameQueue::BrokenChannels() const {
    std::lock_guard lock(mutex_);
    return broken_channels_.count();
}

bool FrameQueue::Full(std::size_t incoming_bytes) const {
    return frames_.size() >= limits_.max_frames || bytes_ + incoming_bytes > limits_.max_bytes;
}

void FrameQueue::EvictOldest() {
    Entry& oldest = frames_.front();
    const bool video = IsVideo(oldest.head);
    const int32_t channel = oldest.head.nChannel;
    bytes_ -= oldest.payload.size();
    frames_.pop_front();
    ++dropped_;
    if (video) {
        DropChainOf(channel);
    }
}

void FrameQueue::DropChainOf(int32_t channel) {
    for (auto it = frames_.begin(); it != frames_.end();) {
        if (!IsVideo(it->head) || it->head.nChannel != channel) {
            ++it;
            continue;
        }
        if (it->head.nKeyFrame == 1) {
            return;  // the channel starts again here
        }
        bytes_ -= it->payload.size();
        it = frames_.erase(it);
        ++dropped_;
    }
    if (IsFrameChannel(channel)) broken_channels_.set(channel);
}

void FrameQueue::CheckSpanDelivered() {
    if (!span_end_marked_) {
        return;
    }
    if (!frames_.empty() && frames_.front().seq <= span_end_seq_) {
        return;
    }
    span_end_marked_ = false;
    if (on_span_delivered_) {
        on_span_delivered_();
    }
}
