#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/netctrl/FrameQueue.h"
#include "platform/netctrl/LinkState.h"
#include "platform/netctrl/NetTimeouts.h"
#include "platform/netctrl/protocol/MessageDecoder.h"
#include "platform/netctrl/protocol/Messages.h"

// What an accepted answer does to the connection. It is applied by the receiver thread in
// stream order, so frames and notices before the answer keep their meaning.
enum class AnswerEffect : int { kNone, kLiveStarted, kLiveStopped, kPlayStarted, kPlayStopped };

// One logged-in TCP connection: a receiver thread that reads every message, queues frames,
// follows playback notices and hands answers to the one request that waits for them.
// Requests come one at a time (the owner serialises them); sends may come from the receiver
// (keep-alive) and the requester at once.
class RecorderLink {
public:
    // on_lost gets the reason of a loss before the state turns 3, so whoever sees the state
    // can read why; it is not called for a close we asked for.
    using LostHandler = std::function<void(const std::string& why)>;
    RecorderLink(int fd, netproto::MessageDecoder decoder, const NetTimeouts& timeouts,
                 FrameQueue& frames, LinkState& state, LostHandler on_lost);
    ~RecorderLink();
    RecorderLink(const RecorderLink&) = delete;
    RecorderLink& operator=(const RecorderLink&) = delete;

    // Sends request and waits up to timeout_ms for its answer (answer_type, or an Ack that
    // refuses). A time-out or a failure loses the link.
    bool Exchange(netproto::Body request, netproto::MsgType answer_type, AnswerEffect effect,
                  int timeout_ms, netproto::Message& answer, std::string& error);
    bool Send(const netproto::Body& message, std::string& error);

    // The recorder closes the connection after answering a log-out; that is no loss.
    void ExpectClose() { closing_ = true; }
    void Close();
    bool Alive() const { return !dead_.load(); }
    std::string Error() const;

private:
    void AllowFrameWait();  // lowers no_frame_wait_ unless the link is closing
    void ReceiveLoop();
    // Dispatches every whole message the decoder holds; false once the link is lost.
    bool DispatchBuffered(netproto::Message& message);
    bool Dispatch(netproto::Message& message);
    bool TakeAnswer(netproto::Message& message);
    void Apply(AnswerEffect effect, uint32_t request_id);
    void Lose(const std::string& why);
    bool SendBytes(const std::vector<uint8_t>& bytes, std::string& error);

    const int fd_;
    const NetTimeouts timeouts_;
    netproto::MessageDecoder decoder_;
    FrameQueue& frames_;
    LinkState& state_;
    const LostHandler on_lost_;

    std::mutex send_mutex_;
    std::atomic<int64_t> last_send_ms_;

    std::mutex answer_mutex_;
    std::condition_variable answered_cv_;
    uint32_t waiting_id_ = 0;  // 0 = nobody waits
    netproto::MsgType waiting_type_ = netproto::MsgType::kAck;
    AnswerEffect waiting_effect_ = AnswerEffect::kNone;
    bool answered_ = false;
    netproto::Message answer_;
    uint32_t next_id_ = 1;

    // Receiver thread only.
    uint32_t play_id_ = 0;  // the span whose end notice counts
    bool playback_ = false;
    std::atomic<bool> stop_{false};
    // Set while closing or until a request's answer is taken: the receiver must reach the
    // answer, so a full frame queue drops instead of holding the link back.
    std::atomic<bool> no_frame_wait_{false};
    std::atomic<bool> closing_{false};
    std::atomic<bool> dead_{false};
    mutable std::mutex error_mutex_;
    std::string error_;
    std::thread receiver_;
};
