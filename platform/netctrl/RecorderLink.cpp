#include "platform/netctrl/RecorderLink.h"

#include <pthread.h>

#include <algorithm>

#include "platform/diag/DiagLog.h"
#include "platform/netctrl/protocol/MessageEncoder.h"
#include "platform/netctrl/protocol/PayloadCodec.h"
#include "platform/netctrl/protocol/SocketIo.h"

using namespace netproto;

namespace {

int64_t NowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// How often the receiver wakes to check keep-alive and silence when nothing arrives.
constexpr int kTickMs = 100;

}  // namespace

RecorderLink::RecorderLink(std::unique_ptr<LinkStream> stream, MessageDecoder decoder,
                           const NetTimeouts& timeouts, FrameQueue& frames, LinkState& state,
                           LostHandler on_lost)
    : stream_(std::move(stream)),
      timeouts_(timeouts),
      decoder_(std::move(decoder)),
      frames_(frames),
      state_(state),
      on_lost_(std::move(on_lost)),
      last_send_ms_(NowMs()),
      last_receive_ms_(NowMs()) {
    receiver_ = std::thread([this] {
        // Named so a profile or top -H splits the receiving from the decoding.
        ::pthread_setname_np(::pthread_self(), "link-recv");
        ReceiveLoop();
    });
}

RecorderLink::~RecorderLink() { Close(); }

void RecorderLink::Close() {
    stop_ = true;
    no_frame_wait_ = true;
    stream_->Shutdown();
    frames_.WakeAll();
    {
        std::lock_guard lock(answer_mutex_);
        answered_cv_.notify_all();
    }
    if (receiver_.joinable()) {
        receiver_.join();
    }
}

void RecorderLink::AllowFrameWait() {
    no_frame_wait_ = false;
    // Checked after the store: a Close in between must not be undone.
    if (stop_) {
        no_frame_wait_ = true;
    }
}

std::string RecorderLink::Error() const {
    std::lock_guard lock(error_mutex_);
    return error_;
}

bool RecorderLink::Exchange(Body request, MsgType answer_type, AnswerEffect effect, int timeout_ms,
                            Message& answer, std::string& error) {
    if (dead_) {
        error = this->Error();
        return false;
    }
    const MsgType request_type = TypeOf(request);
    std::vector<uint8_t> bytes;
    uint32_t id = 0;
    {
        std::lock_guard lock(answer_mutex_);
        id = next_id_++;
        if (next_id_ == 0) {
            next_id_ = 1;
        }
        if (!EncodeMessage({id, std::move(request)}, bytes, error)) {
            return false;  // refused before anything was sent; the link is fine
        }
        waiting_id_ = id;
        waiting_type_ = answer_type;
        waiting_effect_ = effect;
        answered_ = false;
    }
    no_frame_wait_ = true;
    frames_.WakeAll();
    struct FrameWaitAgain {
        RecorderLink& link;
        ~FrameWaitAgain() { link.AllowFrameWait(); }
    } frame_wait_again{*this};
    if (!SendBytes(bytes, error)) {
        std::lock_guard lock(answer_mutex_);
        waiting_id_ = 0;
        return false;
    }
    const int64_t sent_ms = NowMs();
    std::unique_lock lock(answer_mutex_);
    for (;;) {
        const int64_t quiet_since_ms = std::max(sent_ms, last_receive_ms_.load());
        const int64_t left_ms = quiet_since_ms + timeout_ms - NowMs();
        if (left_ms <= 0 || answered_cv_.wait_for(lock, std::chrono::milliseconds(left_ms),
                                                  [&] { return answered_ || dead_.load(); })) {
            break;
        }
    }
    waiting_id_ = 0;
    if (answered_) {
        answered_ = false;
        answer = std::move(answer_);
        return true;
    }
    lock.unlock();
    if (!dead_) {
        Lose(std::string("no answer to ") + TypeName(request_type) + " and nothing else for " +
             std::to_string(timeout_ms) + " ms");
    }
    error = this->Error();
    return false;
}

bool RecorderLink::Send(const Body& message, std::string& error) {
    if (dead_) {
        error = this->Error();
        return false;
    }
    std::vector<uint8_t> bytes;
    if (!EncodeMessage({0, message}, bytes, error)) {
        return false;
    }
    return SendBytes(bytes, error);
}

bool RecorderLink::SendBytes(const std::vector<uint8_t>& bytes, std::string& error) {
    IoStatus status;
    {
        std::lock_guard lock(send_mutex_);
        status = stream_->SendAll(bytes.data(), bytes.size(), timeouts_.exchange_ms);
        last_send_ms_ = NowMs();
    }
    if (status == IoStatus::kOk) {
        return true;
    }
    Lose(std::string("send to the recorder: ") + IoStatusText(status));
    error = this->Error();
    return false;
}

void RecorderLink::ReceiveLoop() {
    std::vector<uint8_t> chunk(MessageDecoder::kFeedChunkBytes);
    int64_t last_receive_ms = NowMs();
    Message message;
    // The log-in may have read past its reply; that must not wait for the next bytes.
    if (!DispatchBuffered(message)) {
        return;
    }
    while (!stop_) {
        std::size_t got = 0;
        const IoStatus status = stream_->RecvSome(chunk.data(), chunk.size(), kTickMs, got);
        if (stop_) {
            return;
        }
        if (status == IoStatus::kOk) {
            last_receive_ms_ = NowMs();
            if (!decoder_.Feed(chunk.data(), got)) {
                Lose(decoder_.Error());
                return;
            }
            if (!DispatchBuffered(message)) {
                return;
            }
            last_receive_ms = NowMs();  // a full frame queue may have held us back
            last_receive_ms_ = last_receive_ms;
        } else if (status == IoStatus::kTimeout) {
            if (NowMs() - last_receive_ms >= timeouts_.silence_ms) {
                Lose("nothing received from the recorder for " +
                     std::to_string(timeouts_.silence_ms) + " ms");
                return;
            }
        } else {
            // After our log-out this is the expected end, and Lose leaves the state alone.
            const std::string tls = stream_->LastTlsError();
            Lose(std::string("receive from the recorder: ") + IoStatusText(status) +
                 (tls.empty() ? "" : ": " + tls));
            return;
        }
        if (NowMs() - last_send_ms_ >= timeouts_.keepalive_ms) {
            std::string error;
            if (!Send(KeepAlive{}, error)) {
                return;
            }
        }
    }
}

bool RecorderLink::DispatchBuffered(Message& message) {
    for (;;) {
        const DecodeStatus decoded = decoder_.Next(message);
        if (decoded == DecodeStatus::kNeedMore) {
            frames_.NotifyArrivals();
            return true;
        }
        if (decoded == DecodeStatus::kError) {
            Lose(decoder_.Error());
            return false;
        }
        if (!Dispatch(message)) {
            return false;
        }
    }
}

bool RecorderLink::Dispatch(Message& message) {
    switch (TypeOf(message.body)) {
        case MsgType::kFrame: {
            // The message keeps the queue's spare buffer for the next frame's payload.
            auto& frame = std::get<Frame>(message.body);
            frame.payload = frames_.Push(frame.head, std::move(frame.payload),
                                         playback_ ? timeouts_.frame_wait_ms : 0, no_frame_wait_);
            return true;
        }
        case MsgType::kPlayEnd:
            if (play_id_ != 0 && std::get<PlayEnd>(message.body).play_request_id == play_id_) {
                play_id_ = 0;
                frames_.MarkSpanEnd();
            }
            return true;
        case MsgType::kKeepAlive:
            return true;
        case MsgType::kAck:
        case MsgType::kDiskReply:
        case MsgType::kLampReply:
        case MsgType::kParaReply:
        case MsgType::kRecListReply:
            return TakeAnswer(message);
        default:
            Lose(std::string("unexpected ") + TypeName(TypeOf(message.body)) +
                 " message from the recorder");
            return false;
    }
}

bool RecorderLink::TakeAnswer(Message& message) {
    const MsgType type = TypeOf(message.body);
    MsgType expected;
    {
        std::lock_guard lock(answer_mutex_);
        if (message.request_id == 0 || message.request_id != waiting_id_ || answered_) {
            return true;  // the answer to a request nobody waits for any more
        }
        expected = waiting_type_;
        if (type == expected || type == MsgType::kAck) {
            if (type == MsgType::kAck && std::get<Ack>(message.body).result >= 0) {
                Apply(waiting_effect_, message.request_id);
            }
            answer_ = std::move(message);
            answered_ = true;
            answered_cv_.notify_all();
            // Frames read after the answer are no longer in its way.
            AllowFrameWait();
            return true;
        }
    }
    Lose(std::string("answer ") + TypeName(type) + " where " + TypeName(expected) + " was due");
    return false;
}

void RecorderLink::Apply(AnswerEffect effect, uint32_t request_id) {
    switch (effect) {
        case AnswerEffect::kNone:
            return;
        case AnswerEffect::kLiveStarted:
            playback_ = false;
            play_id_ = 0;
            frames_.ClearSpanEnd();
            state_.SetUnlessLost(kLinkStreaming);
            return;
        case AnswerEffect::kLiveStopped:
            state_.SetUnlessLost(kLinkLoggedIn);
            frames_.WakeAll();  // a frame thread waiting for frames sees the stream end
            return;
        case AnswerEffect::kPlayStarted:
            // Everything queued came before the new span: a seek shows the new place only.
            frames_.Clear();
            playback_ = true;
            play_id_ = request_id;
            state_.SetUnlessLost(kLinkStreaming);
            return;
        case AnswerEffect::kPlayStopped:
            frames_.Clear();
            play_id_ = 0;
            state_.SetUnlessLost(kLinkLoggedIn);
            return;
    }
}

void RecorderLink::Lose(const std::string& why) {
    {
        std::lock_guard lock(error_mutex_);
        if (error_.empty()) {
            error_ = why;
        }
    }
    dead_ = true;
    if (!stop_ && !closing_) {
        if (on_lost_) on_lost_(why);
        state_.MarkLost();
        diag::Log("netctrl").warn("recorder link lost: {}", why);
    }
    stream_->Shutdown();
    frames_.WakeAll();
    std::lock_guard lock(answer_mutex_);
    answered_cv_.notify_all();
}
