#include "platform/netctrl/NetCtrl.h"

#include <sys/eventfd.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <exception>
#include <type_traits>
#include <vector>

#include "platform/netctrl/RecorderLink.h"
#include "platform/netctrl/protocol/LoginMac.h"
#include "platform/netctrl/protocol/PayloadCodec.h"
#include "platform/netctrl/protocol/SocketIo.h"

using namespace netproto;

namespace {

constexpr long kDaySeconds = 86400;

bool IsRefusal(int result) {
    return result == kLoginBadPassword || result == kLoginSuperUserBusy ||
           result == kLoginTooManyUsers;
}

}  // namespace

NetCtrl::NetCtrl() : NetCtrl(NetTimeouts{}) {}

NetCtrl::NetCtrl(const NetTimeouts& timeouts, FrameQueueLimits limits)
    : timeouts_(timeouts), frames_(limits) {
    frames_.SetSpanDeliveredHandler([this] { state_.Change(kLinkStreaming, kLinkLoggedIn); });
    // Without it a log-in still works; only its connect can no longer be cut short.
    abort_event_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
}

NetCtrl::~NetCtrl() {
    AbortLogin();
    {
        std::lock_guard call(call_mutex_);
        Teardown();
    }
    if (abort_event_ >= 0) ::close(abort_event_);
}

int NetCtrl::InitNetWork() {
    initialized_ = true;
    return 0;
}

int NetCtrl::StopNetWork() {
    AbortLogin();
    std::lock_guard call(call_mutex_);
    Teardown();
    initialized_ = false;
    return 0;
}

int NetCtrl::ConnectToServer(const char* host, int port, const char* user, const char* password) {
    // Any stop, log-out or reset from here on cancels this log-in, even one that comes before
    // the call lock is ours.
    const uint64_t generation = abort_generation_.load();
    if (!initialized_) {
        return Fail(-1, "the network layer is not started (InitNetWork)");
    }
    if (host == nullptr || user == nullptr || password == nullptr) {
        return Fail(-1, "log-in without host, user or password");
    }
    std::lock_guard call(call_mutex_);
    if (!initialized_ || LoginAborted(generation)) {
        return Fail(-1, "log-in cancelled");
    }
    if (link_ && link_->Alive() && LoggedIn()) {
        return Fail(-1, "already logged in; log out first");
    }
    Teardown();
    {
        // An abort since entry was seen above; a signal left from an earlier one is stale.
        std::lock_guard lock(login_mutex_);
        uint64_t stale = 0;
        [[maybe_unused]] const ssize_t drained =
            abort_event_ >= 0 ? ::read(abort_event_, &stale, sizeof stale) : 0;
        if (LoginAborted(generation)) return Fail(-1, "log-in cancelled");
    }
    std::string error;
    const int fd = ConnectTcp(host, port, timeouts_.connect_ms, error, abort_event_);
    if (fd < 0) {
        return LoginAborted(generation) ? Fail(-1, "log-in cancelled") : Fail(kConnectError, error);
    }
    {
        std::lock_guard lock(login_mutex_);
        if (LoginAborted(generation)) {
            ::close(fd);
            return Fail(-1, "log-in cancelled");
        }
        login_fd_ = fd;
    }
    const int result = Login(fd, user, password);
    {
        std::lock_guard lock(login_mutex_);
        login_fd_ = -1;
    }
    if (!link_) {
        ::close(fd);
    }
    return result;
}

bool NetCtrl::LoginAborted(uint64_t generation) const {
    return abort_generation_.load() != generation;
}

int NetCtrl::Login(int fd, const std::string& user, const std::string& password) {
    MessageDecoder decoder;
    Message message;
    std::string error;
    if (!SendMessage(fd, {1, Hello{}}, timeouts_.exchange_ms, error) ||
        !RecvMessage(fd, decoder, timeouts_.exchange_ms, message, error)) {
        return Fail(-1, "log-in: " + error);
    }
    const auto* challenge = std::get_if<Challenge>(&message.body);
    if (challenge == nullptr) {
        return Fail(-1, std::string("log-in: the recorder sent ") + TypeName(TypeOf(message.body)) +
                            " instead of a challenge");
    }
    netproto::Login request;
    request.user = user;
    try {
        request.client_nonce = RandomNonce();
    } catch (const std::exception& e) {
        return Fail(-1, std::string("log-in: ") + e.what());
    }
    request.mac = ComputeLoginMac(password, challenge->server_nonce, request.client_nonce);
    if (!SendMessage(fd, {2, request}, timeouts_.exchange_ms, error) ||
        !RecvMessage(fd, decoder, timeouts_.exchange_ms, message, error)) {
        return Fail(-1, "log-in: " + error);
    }
    const auto* reply = std::get_if<LoginReply>(&message.body);
    if (reply == nullptr) {
        return Fail(-1, std::string("log-in: the recorder sent ") + TypeName(TypeOf(message.body)) +
                            " instead of a log-in answer");
    }
    if (reply->result < 0) {
        const int code = IsRefusal(reply->result) ? reply->result : -1;
        return Fail(code,
                    "the recorder refused the log-in (" + std::to_string(reply->result) + ")");
    }
    {
        std::lock_guard lock(info_mutex_);
        info_ = reply->info;
        info_.nDiskCount = std::min(std::max(info_.nDiskCount, 0), kDvrMaxDisks);
    }
    frames_.Clear();
    link_ = std::make_unique<RecorderLink>(
        fd, std::move(decoder), timeouts_, frames_, state_,
        [this](const std::string& why) { Fail(-1, "the link to the recorder is lost: " + why); });
    state_.SetUnlessLost(kLinkLoggedIn);
    return reply->result;
}

int NetCtrl::DisConnect() {
    AbortLogin();
    std::lock_guard call(call_mutex_);
    Teardown();
    return 0;
}

int NetCtrl::ResetNetWork() {
    AbortLogin();
    std::lock_guard call(call_mutex_);
    Teardown();
    return 0;
}

void NetCtrl::AbortLogin() {
    std::lock_guard lock(login_mutex_);
    abort_generation_.fetch_add(1);
    const uint64_t one = 1;
    // Fails only when the counter is already full, which wakes the connect all the same.
    [[maybe_unused]] const ssize_t signalled =
        abort_event_ >= 0 ? ::write(abort_event_, &one, sizeof one) : 0;
    if (login_fd_ >= 0) {
        ::shutdown(login_fd_, SHUT_RDWR);
    }
}

void NetCtrl::Teardown() {
    if (link_) {
        if (link_->Alive()) {
            link_->ExpectClose();
            Message answer;
            std::string error;
            link_->Exchange(Logout{}, MsgType::kAck, AnswerEffect::kNone, timeouts_.logout_ms,
                            answer, error);
        }
        link_->Close();
        link_.reset();
    }
    frames_.Clear();
    state_.Reset();
    std::lock_guard lock(info_mutex_);
    info_ = {};
}

_DVR_MACHINE_INFO_ NetCtrl::GetMachineInfe() {
    _DVR_MACHINE_INFO_ info;
    {
        std::lock_guard lock(info_mutex_);
        info = info_;
    }
    info.nLinkState = state_.Get();
    return info;
}

bool NetCtrl::LoggedIn() const {
    const int state = state_.Get();
    return state == kLinkLoggedIn || state == kLinkStreaming;
}

template <typename Answer>
int NetCtrl::Request(Body request, AnswerEffect effect, Answer& answer) {
    // Checked before the lock, so nobody waits behind a log-in to be told there is no link.
    if (!LoggedIn()) {
        return NotLoggedIn();
    }
    std::lock_guard call(call_mutex_);
    return RequestLocked(std::move(request), effect, answer);
}

template <typename Answer>
int NetCtrl::RequestLocked(Body request, AnswerEffect effect, Answer& answer) {
    const MsgType request_type = TypeOf(request);
    if (!link_ || !link_->Alive()) {
        return Fail(-1, "the link to the recorder is lost" +
                            (link_ ? ": " + link_->Error() : std::string()));
    }
    Message reply;
    std::string error;
    if (!link_->Exchange(std::move(request), Answer::kType, effect, timeouts_.exchange_ms, reply,
                         error)) {
        return Fail(-1, error);
    }
    if (const auto* ack = std::get_if<Ack>(&reply.body)) {
        if constexpr (!std::is_same_v<Answer, Ack>) {
            return Fail(ack->result < 0 ? ack->result : -1, std::string("the recorder refused ") +
                                                                TypeName(request_type) + " (" +
                                                                std::to_string(ack->result) + ")");
        } else if (ack->result < 0) {
            return Fail(ack->result, std::string("the recorder refused ") + TypeName(request_type) +
                                         " (" + std::to_string(ack->result) + ")");
        }
    }
    answer = std::get<Answer>(std::move(reply.body));
    return 0;
}

int NetCtrl::RequestAck(Body request, AnswerEffect effect) {
    Ack ack;
    const int rc = Request(std::move(request), effect, ack);
    return rc < 0 ? rc : ack.result;
}

int NetCtrl::GetMachineDiskInfo() {
    DiskReply reply;
    const int rc = Request(DiskQuery{}, AnswerEffect::kNone, reply);
    if (rc < 0) {
        return rc;
    }
    std::lock_guard lock(info_mutex_);
    info_.nDiskCount = reply.disk_count;
    std::memcpy(info_.disk, reply.disks, sizeof info_.disk);
    return 0;
}

int NetCtrl::GetMachineLedInfo() {
    LampReply reply;
    const int rc = Request(LampQuery{}, AnswerEffect::kNone, reply);
    if (rc < 0) {
        return rc;
    }
    std::lock_guard lock(info_mutex_);
    info_.nLedLow = reply.lamp_low;
    info_.nLedHigh = reply.lamp_high;
    return 0;
}

int NetCtrl::SetNetParameter(int rate, int fps, int reserved) {
    return RequestAck(SetNetParam{rate, fps, reserved}, AnswerEffect::kNone);
}

int NetCtrl::NetLocalViewPlay(int channel_mask, int send_audio) {
    return RequestAck(LiveStart{static_cast<uint32_t>(channel_mask), send_audio},
                      AnswerEffect::kLiveStarted);
}

int NetCtrl::StopNetLocalView() {
    const int rc = RequestAck(LiveStop{}, AnswerEffect::kLiveStopped);
    return rc < 0 ? rc : 1;
}

int NetCtrl::CreateNetKeyFrame() { return RequestAck(KeyFrame{}, AnswerEffect::kNone); }

int NetCtrl::IsHavePicBuf() { return frames_.Count(); }

int NetCtrl::WaitForPicBuf(int wait_ms) { return frames_.WaitForFrame(wait_ms) ? 1 : 0; }

void NetCtrl::TakePicBufs(std::vector<FrameQueue::Taken>& frames) { frames_.TakeAll(frames); }

void NetCtrl::RecyclePicBufs(std::vector<FrameQueue::Taken>& frames) { frames_.Recycle(frames); }

uint64_t NetCtrl::PicWakes() { return frames_.Wakes(); }

int NetCtrl::WaitForPicBufOrWake(uint64_t seen_wakes) {
    return frames_.WaitForFrameOrWake(seen_wakes) ? 1 : 0;
}

void NetCtrl::WakePicWaiters() { frames_.WakeAll(); }

int NetCtrl::GetRawPicBuf(char* head, char* data) {
    if (head == nullptr || data == nullptr) {
        return -1;
    }
    _NET_FRAME_HEAD_ frame_head;
    const int size_bytes = frames_.Pop(frame_head, reinterpret_cast<uint8_t*>(data));
    if (size_bytes < 0) {
        return -1;
    }
    std::memcpy(head, &frame_head, sizeof frame_head);
    return size_bytes;
}

int NetCtrl::SendNetCommand(_NET_COMMAND_ command) {
    return RequestAck(Command{command}, AnswerEffect::kNone);
}

int NetCtrl::GetDvrMacPara(NET_MAC_SET_PARA* para) {
    if (para == nullptr) {
        return Fail(-1, "no parameter record to fill");
    }
    ParaReply reply;
    const int rc = Request(ParaGet{}, AnswerEffect::kNone, reply);
    if (rc < 0) {
        return rc;
    }
    if (reply.result < 0) {
        return Fail(reply.result,
                    "the recorder has no parameters (" + std::to_string(reply.result) + ")");
    }
    *para = reply.para;
    return reply.result;
}

int NetCtrl::SetDvrMacPara(const NET_MAC_SET_PARA* para) {
    if (para == nullptr) {
        return Fail(-1, "no parameter record to send");
    }
    return RequestAck(ParaSet{*para}, AnswerEffect::kNone);
}

int NetCtrl::NetPlayFile(long start_s, long end_s, int channel_mask, int audio, int fast) {
    if (start_s < 0 || end_s > kDaySeconds || start_s > end_s) {
        return Fail(-1, "play span " + std::to_string(start_s) + ".." + std::to_string(end_s) +
                            " is not within one day");
    }
    return RequestAck(PlayStart{static_cast<int32_t>(start_s), static_cast<int32_t>(end_s),
                                static_cast<uint32_t>(channel_mask), audio, fast},
                      AnswerEffect::kPlayStarted);
}

int NetCtrl::StopNetPlayFile() { return RequestAck(PlayStop{}, AnswerEffect::kPlayStopped); }

int NetCtrl::TimeToSearchRecList(long date_key, _QRF_FILESHOWINFO* list, int page) {
    if (list == nullptr || page < 0 || date_key < 0 || date_key > INT32_MAX) {
        return Fail(-1, "record search needs a page list, a page >= 0 and a day key");
    }
    RecListReply reply;
    const int rc =
        Request(RecListQuery{static_cast<int32_t>(date_key), page}, AnswerEffect::kNone, reply);
    if (rc < 0) {
        return rc;
    }
    if (reply.result < 0) {
        return Fail(reply.result, "no record page " + std::to_string(page) + " (" +
                                      std::to_string(reply.result) + ")");
    }
    std::memset(list, 0, sizeof(_QRF_FILESHOWINFO) * kRecListPageEntries);
    std::copy(reply.entries.begin(), reply.entries.end(), list);
    return reply.result;
}

int NetCtrl::ExecuteShell(const char* command) {
    if (command == nullptr || *command == '\0' || std::strlen(command) > kMaxShellBytes) {
        return Fail(-1, "shell command empty or over " + std::to_string(kMaxShellBytes) + " bytes");
    }
    return RequestAck(Shell{command}, AnswerEffect::kNone);
}

int NetCtrl::NetSendUpdateFile(const char* local_path, const char* remote_path) {
    if (local_path == nullptr || remote_path == nullptr || *remote_path == '\0' ||
        std::strlen(remote_path) > kMaxRemotePathBytes) {
        return Fail(-1, "upload needs a local file and a remote path of 1.." +
                            std::to_string(kMaxRemotePathBytes) + " bytes");
    }
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(local_path, "rb"),
                                                         &std::fclose);
    struct stat info {};
    if (!file || ::fstat(::fileno(file.get()), &info) != 0 || !S_ISREG(info.st_mode)) {
        return Fail(-1, std::string("cannot read the file ") + local_path);
    }
    const auto size_bytes = static_cast<uint64_t>(info.st_size);
    if (size_bytes > kMaxUploadFileBytes) {
        return Fail(-1, std::string(local_path) + " is over " +
                            std::to_string(kMaxUploadFileBytes) + " bytes");
    }
    if (!LoggedIn()) {
        return NotLoggedIn();
    }
    // The whole file goes in one conversation, so no other request lands between its chunks.
    std::lock_guard call(call_mutex_);
    Ack begun;
    const int rc = RequestLocked(UploadBegin{remote_path, size_bytes}, AnswerEffect::kNone, begun);
    if (rc < 0) {
        return rc;
    }
    return SendFileBody(file.get(), size_bytes);
}

int NetCtrl::SendFileBody(std::FILE* file, uint64_t size_bytes) {
    std::string error;
    UploadChunk chunk;
    bool read_failed = false;
    for (uint64_t sent = 0; sent < size_bytes;) {
        chunk.data.resize(std::min<uint64_t>(kMaxUploadChunkBytes, size_bytes - sent));
        const std::size_t got = std::fread(chunk.data.data(), 1, chunk.data.size(), file);
        if (got == 0) {
            read_failed = true;  // UploadEnd below makes the recorder drop the partial file
            break;
        }
        chunk.data.resize(got);
        if (!link_->Send(chunk, error)) {
            return Fail(-1, "upload: " + error);
        }
        sent += got;
    }
    Message answer;
    if (!link_->Exchange(UploadEnd{}, MsgType::kAck, AnswerEffect::kNone, timeouts_.exchange_ms,
                         answer, error)) {
        return Fail(-1, "upload: " + error);
    }
    const int result = std::get<Ack>(answer.body).result;
    if (read_failed) {
        return Fail(-1, "upload: the local file could not be read to its end");
    }
    if (result < 0) {
        return Fail(result, "the recorder did not store the file (" + std::to_string(result) + ")");
    }
    return 0;
}

int NetCtrl::NotLoggedIn() {
    if (state_.Get() != kLinkLost) {
        return Fail(-1, "not logged in");
    }
    std::lock_guard call(call_mutex_);
    return Fail(
        -1, "the link to the recorder is lost" + (link_ ? ": " + link_->Error() : std::string()));
}

std::string NetCtrl::LastError() const {
    std::lock_guard lock(error_mutex_);
    return last_error_;
}

int NetCtrl::Fail(int code, std::string why) {
    std::lock_guard lock(error_mutex_);
    last_error_ = std::move(why);
    return code;
}
