#include "tools/recorder-emulator/RecorderSession.h"

#include "platform/netctrl/protocol/LoginMac.h"
#include "platform/netctrl/protocol/MessageEncoder.h"
#include "platform/netctrl/protocol/PayloadCodec.h"
#include "platform/netctrl/protocol/SocketIo.h"
#include "tools/recorder-emulator/DayKey.h"
#include "tools/recorder-emulator/RecorderState.h"
#include "tools/recorder-emulator/SandboxPath.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <thread>

namespace {

// Longer than a client waits for room in its queue, so a slow reader slows the recorder
// down rather than losing its link.
constexpr int64_t kSendTimeoutUs = 10'000'000;
constexpr int64_t kLoginWindowUs = 10'000'000;  // to log in after connecting
constexpr int64_t kIdleLimitUs = 30'000'000;    // without anything from the client
constexpr int kMaxWaitMs = 20;                  // so faults and stop act at once
constexpr size_t kReceiveChunkBytes = 65536;
// Until a client has logged in it may only say hello, log in and keep alive; the rest is
// refused from its header, so a client that never logs in gets no payload buffered.
bool AcceptedBeforeLogIn(netproto::MsgType type) {
    return type == netproto::MsgType::kHello || type == netproto::MsgType::kLogin ||
           type == netproto::MsgType::kKeepAlive;
}

// One byte over what a recording file accepts for a frame.
constexpr uint32_t kOversizeFrameBytes = kMaxRecordedFrameBytes + 1;

int64_t NowUs() {
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

int64_t WallSeconds() {
    using namespace std::chrono;
    return duration_cast<seconds>(system_clock::now().time_since_epoch()).count();
}

}  // namespace

RecorderSession::RecorderSession(RecorderState& state, int fd)
    : state_(state),
      fd_(fd),
      live_fps_(state.Config().fixed_live_fps > 0 ? state.Config().fixed_live_fps
                                                  : state.Config().fps) {
    decoder_.SetAccepted(&AcceptedBeforeLogIn);
    state_.Attach(this);
}

RecorderSession::~RecorderSession() {
    state_.Detach(this);
    // A transfer cut short leaves nothing behind, before the client can see the link end.
    upload_.reset();
    if (fd_ >= 0) ::close(fd_);
    if (logged_in_) state_.Logout(user_);
}

void RecorderSession::Inject(Fault fault, int duration_ms) {
    switch (fault) {
        case Fault::kDropLink:
            drop_ = true;
            break;
        case Fault::kStall:
            stall_until_us_ = NowUs() + int64_t{std::max(0, duration_ms)} * 1000;
            break;
        case Fault::kBadHeader:
            bad_header_ = true;
            break;
        case Fault::kBadFrameType:
            bad_type_ = true;
            break;
        case Fault::kOversizeLength:
            oversize_ = true;
            break;
        case Fault::kBadChannel:
            bad_channel_ = true;
            break;
        case Fault::kFrameNumberGap:
            gap_ = true;
            break;
        case Fault::kBadSizeCode:
            bad_size_code_ = true;
            break;
        case Fault::kNoFrameNumber:
            no_frame_number_ = true;
            break;
        case Fault::kFarTime:
            far_time_ = true;
            break;
        case Fault::kUnannouncedAudio:
            unannounced_audio_ = true;
            break;
        case Fault::kNoPlayEnd:
            no_play_end_ = true;
            break;
    }
}

void RecorderSession::Run(const std::atomic<bool>& stop, std::atomic<bool>& logged_in) {
    stop_ = &stop;
    logged_in_flag_ = &logged_in;
    const int64_t start_us = NowUs();
    int64_t last_heard_us = start_us;
    bool stalled = false;
    while (!stop && !drop_ && !closing_) {
        int64_t now_us = NowUs();
        const int64_t stall_until = stall_until_us_;
        if (now_us < stall_until) {
            if (!stalled) state_.RecordFault(Fault::kStall);
            stalled = true;
            std::this_thread::sleep_for(std::chrono::milliseconds(
                std::min<int64_t>(kMaxWaitMs, (stall_until - now_us) / 1000 + 1)));
            last_heard_us = NowUs();
            continue;
        }
        stalled = false;
        if (!logged_in_ && now_us - start_us > kLoginWindowUs) break;
        if (now_us - last_heard_us > kIdleLimitUs) break;

        pollfd p{fd_, POLLIN, 0};
        const int ready = ::poll(&p, 1, WaitMs(now_us));
        if (ready > 0) {
            if (!Receive()) break;
            last_heard_us = NowUs();
        }
        if (drop_ || !PumpStreams(NowUs())) break;
    }
    // Answers queued before a log-out still go out.
    if (!drop_) {
        Flush();
        return;
    }
    ::close(fd_);
    fd_ = -1;
    state_.RecordFault(Fault::kDropLink);
}

void RecorderSession::Log(const std::string& text) const {
    const std::string& name = state_.Config().name;
    std::fprintf(stderr, "recorder %s: %s\n", name.empty() ? "(no name)" : name.c_str(),
                 text.c_str());
}

int RecorderSession::WaitMs(int64_t now_us) const {
    int64_t wait_us = int64_t{kMaxWaitMs} * 1000;
    if (live_) wait_us = std::min(wait_us, live_->UntilNextUs(now_us));
    if (play_) wait_us = std::min(wait_us, play_->UntilNextUs(now_us));
    return static_cast<int>((wait_us + 999) / 1000);
}

bool RecorderSession::Receive() {
    uint8_t buffer[kReceiveChunkBytes];
    size_t received = 0;
    const netproto::IoStatus status = netproto::RecvSome(fd_, buffer, sizeof buffer, 0, received);
    if (status == netproto::IoStatus::kTimeout) return true;
    if (status != netproto::IoStatus::kOk) return false;
    if (!decoder_.Feed(buffer, received)) {
        Log("link closed: " + decoder_.Error());
        return false;
    }
    netproto::Message message;
    for (;;) {
        const netproto::DecodeStatus decoded = decoder_.Next(message);
        if (decoded == netproto::DecodeStatus::kNeedMore) return Flush();
        if (decoded == netproto::DecodeStatus::kError) {
            Log("malformed request, link closed: " + decoder_.Error());
            return false;
        }
        if (!Handle(message)) return false;
        if (closing_) return Flush();
    }
}

bool RecorderSession::Handle(const netproto::Message& message) {
    const uint32_t id = message.request_id;
    if (std::holds_alternative<netproto::Hello>(message.body)) {
        hello_seen_ = true;
        server_nonce_ = netproto::RandomNonce();
        return Queue(id, netproto::Challenge{server_nonce_});
    }
    if (const auto* login = std::get_if<netproto::Login>(&message.body)) {
        if (!hello_seen_ || logged_in_) return false;
        int level = 0;
        const int32_t result =
            state_.Login(login->user, server_nonce_, login->client_nonce, login->mac, &level);
        netproto::LoginReply reply{result, {}};
        if (result >= 0) {
            logged_in_ = true;
            *logged_in_flag_ = true;
            decoder_.SetAccepted(&netproto::SentByClient);
            user_ = login->user;
            level_ = level;
            reply.info = state_.MachineInfo(level_);
        } else {
            closing_ = true;
        }
        return Queue(id, reply);
    }
    if (std::holds_alternative<netproto::KeepAlive>(message.body)) {
        return Queue(id, netproto::KeepAlive{});
    }
    if (!logged_in_) return false;
    return HandleLoggedIn(id, message.body);
}

bool RecorderSession::HandleLoggedIn(uint32_t id, const netproto::Body& body) {
    return std::visit([this, id](const auto& request) { return On(id, request); }, body);
}

bool RecorderSession::SuperUser() const { return level_ == kSuperUserLevel; }

bool RecorderSession::On(uint32_t id, const netproto::Logout&) {
    StopStreams();
    closing_ = true;
    return Ack(id, 0);
}

bool RecorderSession::On(uint32_t id, const netproto::DiskQuery&) {
    netproto::DiskReply reply;
    reply.disk_count = state_.DiskCount();
    for (int i = 0; i < reply.disk_count; ++i)
        reply.disks[i] = state_.Disk();
    return Queue(id, reply);
}

bool RecorderSession::On(uint32_t id, const netproto::LampQuery&) {
    const uint32_t lamps = state_.LampWord();
    return Queue(id, netproto::LampReply{static_cast<int32_t>(lamps & 0xff),
                                         static_cast<int32_t>(lamps >> 8 & 0xff)});
}

bool RecorderSession::On(uint32_t id, const netproto::SetNetParam& p) {
    state_.RecordNetParameter(p.rate, p.fps);
    // A fixed rate (for measurements) answers the request but keeps its pace.
    if (p.fps >= 1 && p.fps <= 30 && state_.Config().fixed_live_fps == 0) {
        live_fps_ = p.fps;
        if (live_) live_->SetFps(live_fps_);
    }
    return Ack(id, p.fps >= 1 && p.fps <= 30 ? 0 : -1);
}

bool RecorderSession::On(uint32_t id, const netproto::LiveStart& start) {
    StopStreams();
    state_.RecordLiveRequest(start.channel_mask, start.send_audio);
    const RecorderConfig& config = state_.Config();
    LiveStreamer::Audio audio{start.send_audio == 1 ? start.channel_mask & config.audio_mask : 0,
                              config.audio_block_bytes};
    live_.emplace(state_.MakeChannelStreams(start.channel_mask), live_fps_, audio, NowUs());
    return Ack(id, 0);
}

bool RecorderSession::On(uint32_t id, const netproto::LiveStop&) {
    live_.reset();
    return Ack(id, 1);
}

bool RecorderSession::On(uint32_t id, const netproto::KeyFrame&) {
    state_.RecordKeyFrameRequest();
    if (live_) live_->RequestKeyFrame();
    if (play_) play_->RequestKeyFrame();
    return Ack(id, 0);
}

bool RecorderSession::On(uint32_t id, const netproto::Command& command) {
    if (!SuperUser()) return Ack(id, -1);
    state_.RecordCommand(command.command);
    return Ack(id, 0);
}

bool RecorderSession::On(uint32_t id, const netproto::ParaGet&) {
    if (!SuperUser()) return Queue(id, netproto::ParaReply{-1, {}});
    return Queue(id, netproto::ParaReply{0, state_.Para()});
}

bool RecorderSession::On(uint32_t id, const netproto::ParaSet& set) {
    if (!SuperUser()) return Ack(id, -1);
    state_.SetPara(set.para);
    return Ack(id, 0);
}

bool RecorderSession::On(uint32_t id, const netproto::RecListQuery& query) {
    netproto::RecListReply reply;
    const auto day = DayNumberOfKey(query.day_key);
    if (!day) {
        reply.result = -1;
        return Queue(id, reply);
    }
    searched_day_ = *day;
    const auto records = state_.Schedule()->RecordsOfDay(*day);
    const int true_pages = DaySchedule::PageCount(records.size());
    const int32_t announced = state_.Config().announced_pages;
    const int pages = true_pages > 0 && announced > 0 ? announced : true_pages;
    if (query.page < 0 || (query.page > 0 && query.page >= pages)) {
        reply.result = -1;
        return Queue(id, reply);
    }
    const auto entries = query.page < true_pages ? DaySchedule::Page(records, query.page)
                                                 : std::span<const RecordEntry>{};
    for (const RecordEntry& r : entries) {
        _QRF_FILESHOWINFO entry{};
        entry.nChannelMask = static_cast<int32_t>(r.channel_mask);
        entry.nStartTime = static_cast<int32_t>(r.start_time);
        entry.nEndTime = static_cast<int32_t>(r.end_time);
        reply.entries.push_back(entry);
    }
    reply.result = query.page == 0 ? pages : static_cast<int32_t>(reply.entries.size());
    return Queue(id, reply);
}

bool RecorderSession::On(uint32_t id, const netproto::PlayStart& play) {
    StopStreams();
    if (!searched_day_ || play.start_s < 0 || play.end_s > kSecondsPerDay ||
        play.start_s > play.end_s) {
        return Ack(id, -1);
    }
    play_arrived_us_ = NowUs();
    play_record_ = state_.RecordPlayRequest(
        {*searched_day_, play.start_s, play.end_s, play.channel_mask, play.audio, play.fast});
    const RecorderConfig& config = state_.Config();
    PlaybackStreamer::Request request{*searched_day_,    play.start_s,    play.end_s,
                                      play.channel_mask, play.audio == 1, play.fast == 1};
    PlaybackStreamer::Pace pace{config.fps, config.fast_factor, config.audio_mask,
                                config.audio_block_bytes};
    play_.emplace(state_.Schedule(), request, state_.MakeChannelStreams(~0u), pace, NowUs());
    play_request_id_ = id;
    // The channels that record where the span's first recording starts.
    const int64_t midnight_s = *searched_day_ * kSecondsPerDay;
    const auto first = state_.Schedule()->NextRecordedTime(
        *searched_day_, midnight_s + play.start_s, midnight_s + play.end_s, play.channel_mask);
    play_keys_due_ =
        first ? state_.Schedule()->ChannelsRecordingAt(*searched_day_, *first, play.channel_mask)
              : 0;
    play_keys_sent_ = false;
    return Ack(id, 0);
}

bool RecorderSession::On(uint32_t id, const netproto::PlayStop&) {
    play_.reset();
    return Ack(id, 0);
}

bool RecorderSession::On(uint32_t id, const netproto::Shell& shell) {
    if (!SuperUser() || state_.Config().refuse_shell) return Ack(id, -1);
    state_.RecordShell(shell.command);
    return Ack(id, 0);
}

bool RecorderSession::On(uint32_t id, const netproto::UploadBegin& begin) {
    upload_.reset();
    std::string error;
    auto target = SandboxPathOf(state_.Sandbox(), begin.remote_path, &error);
    if (target && !StaysInSandbox(state_.Sandbox(), *target, &error)) target.reset();
    if (!SuperUser() || !target) {
        if (target) error = "only the super user may send files";
        Log("upload refused: " + error);
        return Ack(id, -1);
    }
    upload_.emplace(*target, begin.size_bytes);
    if (!upload_->Open(&error)) {
        Log("upload refused: " + error);
        upload_.reset();
        return Ack(id, -1);
    }
    upload_remote_path_ = begin.remote_path;
    return Ack(id, 0);
}

bool RecorderSession::On(uint32_t, const netproto::UploadChunk& chunk) {
    // Pieces of a refused upload are dropped; a piece past the announced size is a protocol
    // error.
    if (!upload_) return true;
    if (!upload_->Append(chunk.data.data(), chunk.data.size())) {
        Log("upload larger than announced, link closed");
        return false;
    }
    return true;
}

bool RecorderSession::On(uint32_t id, const netproto::UploadEnd&) {
    if (!upload_) return Ack(id, -1);
    std::string error;
    const bool stored = upload_->Finish(&error);
    if (stored) {
        state_.RecordUpload({upload_remote_path_, upload_->Target(), upload_->SizeBytes()});
    } else {
        Log("upload of " + upload_remote_path_ + " failed: " + error);
    }
    upload_.reset();
    return Ack(id, stored ? 0 : -1);
}

bool RecorderSession::Queue(uint32_t request_id, netproto::Body body) {
    std::string error;
    if (!netproto::EncodeMessage(netproto::Message{request_id, std::move(body)}, out_, error)) {
        Log("cannot encode an answer: " + error);
        return false;
    }
    return true;
}

bool RecorderSession::Flush() {
    if (out_failed_) return false;
    size_t sent = 0;
    const int64_t deadline_us = NowUs() + kSendTimeoutUs;
    while (sent < out_.size()) {
        const ssize_t n =
            ::send(fd_, out_.data() + sent, out_.size() - sent, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n > 0) {
            sent += static_cast<size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        // Waits in short steps so that a stop or a dropped link is not held up by a client
        // that does not read.
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK) && !*stop_ && !drop_ &&
            NowUs() < deadline_us) {
            pollfd p{fd_, POLLOUT, 0};
            ::poll(&p, 1, kMaxWaitMs);
            continue;
        }
        out_failed_ = true;
        break;
    }
    out_.clear();
    return !out_failed_;
}

void RecorderSession::StopStreams() {
    live_.reset();
    play_.reset();
}

bool RecorderSession::PumpStreams(int64_t now_us) {
    const FrameSink sink = [this](const _NET_FRAME_HEAD_& head, std::span<const uint8_t> data) {
        SendFrame(head, data);
    };
    if (live_) live_->Pump(now_us, WallSeconds() + state_.Config().clock_offset_s, sink);
    if (play_) {
        play_->Pump(now_us, sink);
        if (play_->Finished()) {
            play_.reset();
            if (no_play_end_.exchange(false)) {
                state_.RecordFault(Fault::kNoPlayEnd);
            } else {
                Queue(0, netproto::PlayEnd{play_request_id_});
            }
        }
    }
    const bool flushed = !out_failed_ && Flush();
    if (flushed && play_keys_sent_) {
        play_keys_sent_ = false;
        state_.RecordPlayKeyFrames(play_record_, NowUs() - play_arrived_us_);
    }
    return flushed;
}

void RecorderSession::SendFrame(const _NET_FRAME_HEAD_& head, std::span<const uint8_t> payload) {
    netproto::Frame frame;
    frame.head = head;
    if (head.cType == 'V') {
        if (gap_ && head.nFrameNo >= 1 &&
            head.nFrameNo + 1 < static_cast<int32_t>(state_.Config().loop_frames)) {
            gap_ = false;
            state_.RecordFault(Fault::kFrameNumberGap);
            return;
        }
        if (bad_channel_.exchange(false)) {
            frame.head.nChannel = 16;
            state_.RecordFault(Fault::kBadChannel);
        }
        if (bad_type_.exchange(false)) {
            frame.head.cType = 'X';
            state_.RecordFault(Fault::kBadFrameType);
        }
        if (bad_size_code_.exchange(false)) {
            frame.head.nSize = 200;
            state_.RecordFault(Fault::kBadSizeCode);
        }
        if (no_frame_number_.exchange(false)) {
            frame.head.nFrameNo = -1;
            state_.RecordFault(Fault::kNoFrameNumber);
        }
        if (far_time_.exchange(false)) {
            frame.head.nTime = INT32_MAX;
            state_.RecordFault(Fault::kFarTime);
        }
        if (oversize_.exchange(false)) {
            state_.RecordFault(Fault::kOversizeLength);
            frame.head.nLength = kOversizeFrameBytes;
            frame.payload.assign(payload.begin(), payload.end());
            frame.payload.resize(kOversizeFrameBytes, 0);
        }
    }
    if (head.cType == 'A') {
        const uint32_t announced = static_cast<uint32_t>(state_.Config().audio_mask);
        int outside = 0;
        while (outside < 15 && (announced >> outside & 1u) != 0)
            ++outside;
        if ((announced >> outside & 1u) == 0 && unannounced_audio_.exchange(false)) {
            frame.head.nChannel = outside;
            state_.RecordFault(Fault::kUnannouncedAudio);
        }
    }
    if (frame.payload.empty()) frame.payload.assign(payload.begin(), payload.end());
    if (play_ && play_keys_due_ != 0 && head.cType == 'V' && head.nKeyFrame == 1 &&
        head.nChannel >= 0 && head.nChannel < 32) {
        play_keys_due_ &= ~(1u << head.nChannel);
        play_keys_sent_ = play_keys_due_ == 0;
    }
    const size_t at = out_.size();
    Queue(0, std::move(frame));
    if (bad_header_.exchange(false) && out_.size() > at) {
        out_[at] ^= 0xff;
        state_.RecordFault(Fault::kBadHeader);
    }
}
