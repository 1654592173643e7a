// A recorder must survive whatever a client sends: malformed bytes, requests out of order,
// uploads that stop short. The input is the byte stream of one connection, sent after a log-in
// when its first byte is odd.
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <utility>

#include "platform/netctrl/protocol/LinkStream.h"
#include "platform/netctrl/protocol/LoginMac.h"
#include "platform/netctrl/protocol/MessageDecoder.h"
#include "platform/netctrl/protocol/SocketIo.h"
#include "tests/support/FuzzScratch.h"
#include "tools/recorder-emulator/RecorderSession.h"
#include "tools/recorder-emulator/RecorderState.h"

namespace {

constexpr int kWaitMs = 2000;

std::filesystem::path SandboxFolder() { return FuzzScratchPath("emulator_fuzzer"); }

// Two channels of four tiny frames: the session only passes payloads on.
RecorderState& State() {
    static RecorderState state = [] {
        RecorderConfig config = DefaultRecorderConfig(2, 14000);
        config.first_record_day = config.last_record_day = 14000;
        auto loop = std::make_shared<FrameLoop>();
        for (int i = 0; i < 4; ++i)
            loop->frames.push_back({std::vector<uint8_t>(16, static_cast<uint8_t>(i)), i == 0});
        return RecorderState(config, SandboxFolder(), {loop, loop});
    }();
    return state;
}

// The recorder side runs on one long-lived thread: a thread per input would cost more than the
// input itself under the sanitizers.
class RecorderThread {
public:
    RecorderThread() : thread_([this] { Loop(); }) {}

    void Start(int fd) {
        std::lock_guard lock(mutex_);
        fd_ = fd;
        done_ = false;
        changed_.notify_all();
    }

    void WaitDone() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return done_; });
    }

private:
    void Loop() {
        for (;;) {
            int fd;
            {
                std::unique_lock lock(mutex_);
                changed_.wait(lock, [this] { return fd_ >= 0; });
                fd = std::exchange(fd_, -1);
            }
            {
                std::atomic<bool> stop{false};
                std::atomic<bool> logged_in{false};
                RecorderSession session(State(), fd);  // closes fd
                session.Run(stop, logged_in);
            }
            std::lock_guard lock(mutex_);
            done_ = true;
            changed_.notify_all();
        }
    }

    std::mutex mutex_;
    std::condition_variable changed_;
    int fd_ = -1;
    bool done_ = true;
    std::thread thread_;  // runs for the whole process
};

bool LogIn(netproto::LinkStream& link) {
    netproto::MessageDecoder decoder;
    netproto::Message message;
    std::string error;
    if (!netproto::SendMessage(link, {1, netproto::Hello{}}, kWaitMs, error) ||
        !netproto::RecvMessage(link, decoder, kWaitMs, message, error)) {
        return false;
    }
    const auto* challenge = std::get_if<netproto::Challenge>(&message.body);
    if (challenge == nullptr) return false;
    netproto::Login login;
    login.user = "admin";
    login.client_nonce = netproto::RandomNonce();
    // The fuzzed recorder speaks without TLS: its binding is all zero.
    const auto key = netproto::DeriveLoginKey("admin", challenge->server_nonce, login.client_nonce);
    login.mac = netproto::ClientProof(key, "admin", challenge->server_nonce, login.client_nonce,
                                      netproto::ChannelBinding{});
    return netproto::SendMessage(link, {2, login}, kWaitMs, error) &&
           netproto::RecvMessage(link, decoder, kWaitMs, message, error);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    int fds[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fds) != 0) return 0;
    static RecorderThread* recorder = new RecorderThread;  // never joined: lives to the end
    recorder->Start(fds[1]);
    const auto client = netproto::LinkStream::PlainForMeasurement(fds[0]);
    if (data[0] % 2 == 0 || LogIn(*client)) {
        client->SendAll(data + 1, size - 1, kWaitMs);
    }
    ::shutdown(client->Fd(), SHUT_WR);
    // Whatever the recorder answers or streams is read until it hangs up.
    uint8_t sink[65536];
    for (;;) {
        std::size_t got = 0;
        const auto status = client->RecvSome(sink, sizeof sink, kWaitMs, got);
        if (status != netproto::IoStatus::kOk) break;
    }
    recorder->WaitDone();
    std::error_code ignored;
    std::filesystem::remove_all(SandboxFolder(), ignored);
    return 0;
}
