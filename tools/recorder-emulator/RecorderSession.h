#pragma once

#include "platform/netctrl/protocol/MessageDecoder.h"
#include "platform/netctrl/protocol/Messages.h"
#include "tools/recorder-emulator/Fault.h"
#include "tools/recorder-emulator/LiveStreamer.h"
#include "tools/recorder-emulator/PlaybackStreamer.h"
#include "tools/recorder-emulator/UploadFile.h"

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class RecorderState;

// One client connection to a recorder, served on the caller's thread by Run: log-in,
// requests, the live or playback stream, and the faults a test injects.
class RecorderSession : public FaultTarget {
public:
    RecorderSession(RecorderState& state, int fd);
    ~RecorderSession() override;
    RecorderSession(const RecorderSession&) = delete;
    RecorderSession& operator=(const RecorderSession&) = delete;

    // Serves the connection until the client leaves, the link fails or stop becomes true;
    // closes the socket and logs the user out. logged_in turns true once the client has.
    void Run(const std::atomic<bool>& stop, std::atomic<bool>& logged_in);

    void Inject(Fault fault, int duration_ms) override;

private:
    bool Receive();
    bool Handle(const netproto::Message& message);
    // A logged-in client's request, answered by its type's handler; false closes the link.
    bool HandleLoggedIn(uint32_t id, const netproto::Body& body);
    bool On(uint32_t id, const netproto::Logout& logout);
    bool On(uint32_t id, const netproto::DiskQuery& query);
    bool On(uint32_t id, const netproto::LampQuery& query);
    bool On(uint32_t id, const netproto::SetNetParam& p);
    bool On(uint32_t id, const netproto::LiveStart& start);
    bool On(uint32_t id, const netproto::LiveStop& stop);
    bool On(uint32_t id, const netproto::KeyFrame& key_frame);
    bool On(uint32_t id, const netproto::Command& command);
    bool On(uint32_t id, const netproto::ParaGet& get);
    bool On(uint32_t id, const netproto::ParaSet& set);
    bool On(uint32_t id, const netproto::RecListQuery& query);
    bool On(uint32_t id, const netproto::PlayStart& play);
    bool On(uint32_t id, const netproto::PlayStop& stop);
    bool On(uint32_t id, const netproto::Shell& shell);
    bool On(uint32_t id, const netproto::UploadBegin& begin);
    bool On(uint32_t id, const netproto::UploadChunk& chunk);
    bool On(uint32_t id, const netproto::UploadEnd& end);
    // Recorder-to-client messages have no business arriving from a client.
    template <class Unexpected>
    bool On(uint32_t, const Unexpected&) {
        Log("unexpected message from the client, link closed");
        return false;
    }
    bool SuperUser() const;
    bool Queue(uint32_t request_id, netproto::Body body);
    bool Ack(uint32_t request_id, int32_t result) {
        return Queue(request_id, netproto::Ack{result});
    }
    bool Flush();
    bool PumpStreams(int64_t now_us);
    void SendFrame(const _NET_FRAME_HEAD_& head, std::span<const uint8_t> payload);
    int WaitMs(int64_t now_us) const;
    void StopStreams();
    void Log(const std::string& text) const;

    RecorderState& state_;
    int fd_;
    const std::atomic<bool>* stop_ = nullptr;
    std::atomic<bool>* logged_in_flag_ = nullptr;
    netproto::MessageDecoder decoder_;
    std::vector<uint8_t> out_;
    bool out_failed_ = false;

    bool hello_seen_ = false;
    netproto::Nonce server_nonce_{};
    bool logged_in_ = false;
    bool closing_ = false;  // after a log-out or a refused log-in
    std::string user_;
    int level_ = 0;

    int live_fps_;
    std::optional<LiveStreamer> live_;
    std::optional<PlaybackStreamer> play_;
    uint32_t play_request_id_ = 0;
    // The journal's record of the running playback, when it arrived, and the channels whose
    // first key frame is still to be sent.
    size_t play_record_ = 0;
    int64_t play_arrived_us_ = 0;
    uint32_t play_keys_due_ = 0;
    bool play_keys_sent_ = false;
    std::optional<int64_t> searched_day_;
    std::optional<UploadFile> upload_;
    std::string upload_remote_path_;

    std::atomic<bool> drop_{false};
    std::atomic<bool> bad_header_{false};
    std::atomic<bool> bad_type_{false};
    std::atomic<bool> oversize_{false};
    std::atomic<bool> bad_channel_{false};
    std::atomic<bool> gap_{false};
    std::atomic<bool> bad_size_code_{false};
    std::atomic<bool> no_frame_number_{false};
    std::atomic<bool> far_time_{false};
    std::atomic<bool> unannounced_audio_{false};
    std::atomic<bool> no_play_end_{false};
    std::atomic<int64_t> stall_until_us_{0};
};
