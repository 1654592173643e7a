#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "DvrMachineInfo.h"
#include "NetCommand.h"
#include "NetFrameHead.h"
#include "NetMacSetPara.h"
#include "ProtocolLimits.h"
#include "QrfFileShowInfo.h"

// The messages of the recorder protocol (docs/protocol.md). C = client to recorder,
// R = recorder to client.
namespace netproto {

enum class MsgType : uint16_t {
    Hello = 0x0001,
    Challenge = 0x0002,
    Login = 0x0003,
    LoginReply = 0x0004,
    Logout = 0x0005,
    KeepAlive = 0x0006,
    Ack = 0x0007,
    DiskQuery = 0x0010,
    DiskReply = 0x0011,
    LampQuery = 0x0012,
    LampReply = 0x0013,
    SetNetParam = 0x0014,
    LiveStart = 0x0020,
    LiveStop = 0x0021,
    KeyFrame = 0x0022,
    Frame = 0x0023,
    Command = 0x0030,
    ParaGet = 0x0031,
    ParaReply = 0x0032,
    ParaSet = 0x0033,
    RecListQuery = 0x0040,
    RecListReply = 0x0041,
    PlayStart = 0x0042,
    PlayStop = 0x0043,
    PlayEnd = 0x0044,
    UploadBegin = 0x0050,
    UploadChunk = 0x0051,
    UploadEnd = 0x0052,
    Shell = 0x0053,
};

using Nonce = std::array<uint8_t, kNonceBytes>;
using Mac = std::array<uint8_t, kMacBytes>;

struct Hello {  // C
    static constexpr MsgType kType = MsgType::Hello;
};
struct Challenge {  // R: answer to Hello
    static constexpr MsgType kType = MsgType::Challenge;
    Nonce server_nonce{};
};
struct Login {  // C: mac = HMAC-SHA256(password, server_nonce || client_nonce)
    static constexpr MsgType kType = MsgType::Login;
    std::string user;
    Nonce client_nonce{};
    Mac mac{};
};
struct LoginReply {  // R: result >= 0 logged in, else kLogin*; info describes the recorder
    static constexpr MsgType kType = MsgType::LoginReply;
    int32_t result = 0;
    _DVR_MACHINE_INFO_ info{};
};
struct Logout {  // C, answered by Ack
    static constexpr MsgType kType = MsgType::Logout;
};
struct KeepAlive {  // C, echoed by R with the same request id
    static constexpr MsgType kType = MsgType::KeepAlive;
};
struct Ack {  // R: result of the request with the same id; < 0 = refused
    static constexpr MsgType kType = MsgType::Ack;
    int32_t result = 0;
};
struct DiskQuery {  // C
    static constexpr MsgType kType = MsgType::DiskQuery;
};
struct DiskReply {  // R
    static constexpr MsgType kType = MsgType::DiskReply;
    int32_t disk_count = 0;
    _DVR_DISK_INFO_ disks[kDvrMaxDisks]{};
};
struct LampQuery {  // C
    static constexpr MsgType kType = MsgType::LampQuery;
};
struct LampReply {  // R
    static constexpr MsgType kType = MsgType::LampReply;
    int32_t lamp_low = 0;
    int32_t lamp_high = 0;
};
struct SetNetParam {  // C: live stream rate and frame rate
    static constexpr MsgType kType = MsgType::SetNetParam;
    int32_t rate = 0;
    int32_t fps = 0;
    int32_t reserved = 0;
};
struct LiveStart {  // C
    static constexpr MsgType kType = MsgType::LiveStart;
    uint32_t channel_mask = 0;
    int32_t send_audio = 0;
};
struct LiveStop {  // C
    static constexpr MsgType kType = MsgType::LiveStop;
};
struct KeyFrame {  // C: next video frame of each streamed channel is a key frame
    static constexpr MsgType kType = MsgType::KeyFrame;
};
struct Frame {  // R, request id 0: head.nLength == payload.size()
    static constexpr MsgType kType = MsgType::Frame;
    _NET_FRAME_HEAD_ head{};
    std::vector<uint8_t> payload;
};
struct Command {  // C
    static constexpr MsgType kType = MsgType::Command;
    _NET_COMMAND_ command{};
};
struct ParaGet {  // C
    static constexpr MsgType kType = MsgType::ParaGet;
};
struct ParaReply {  // R: para is meaningful when result >= 0
    static constexpr MsgType kType = MsgType::ParaReply;
    int32_t result = 0;
    NET_MAC_SET_PARA para{};
};
struct ParaSet {  // C
    static constexpr MsgType kType = MsgType::ParaSet;
    NET_MAC_SET_PARA para{};
};
struct RecListQuery {  // C
    static constexpr MsgType kType = MsgType::RecListQuery;
    int32_t day_key = 0;
    int32_t page = 0;
};
struct RecListReply {  // R: page 0: result = page count; later pages: entries or < 0
    static constexpr MsgType kType = MsgType::RecListReply;
    int32_t result = 0;
    std::vector<_QRF_FILESHOWINFO> entries;
};
struct PlayStart {  // C: seconds of the day of the last record search
    static constexpr MsgType kType = MsgType::PlayStart;
    int32_t start_s = 0;
    int32_t end_s = 0;
    uint32_t channel_mask = 0;
    int32_t audio = 0;
    int32_t fast = 0;
};
struct PlayStop {  // C
    static constexpr MsgType kType = MsgType::PlayStop;
};
struct PlayEnd {  // R, request id 0: the span of play request play_request_id has been sent
    static constexpr MsgType kType = MsgType::PlayEnd;
    uint32_t play_request_id = 0;
};
struct UploadBegin {  // C
    static constexpr MsgType kType = MsgType::UploadBegin;
    std::string remote_path;
    uint64_t size_bytes = 0;
};
struct UploadChunk {  // C, not answered
    static constexpr MsgType kType = MsgType::UploadChunk;
    std::vector<uint8_t> data;
};
struct UploadEnd {  // C: Ack < 0 when the bytes received differ from size_bytes
    static constexpr MsgType kType = MsgType::UploadEnd;
};
struct Shell {  // C
    static constexpr MsgType kType = MsgType::Shell;
    std::string command;
};

using Body =
    std::variant<Hello, Challenge, Login, LoginReply, Logout, KeepAlive, Ack, DiskQuery, DiskReply,
                 LampQuery, LampReply, SetNetParam, LiveStart, LiveStop, KeyFrame, Frame, Command,
                 ParaGet, ParaReply, ParaSet, RecListQuery, RecListReply, PlayStart, PlayStop,
                 PlayEnd, UploadBegin, UploadChunk, UploadEnd, Shell>;

struct Message {
    uint32_t request_id = 0;  // echoed by the answer; 0 for frames and notices
    Body body;
};

inline MsgType TypeOf(const Body& body) {
    return std::visit([](const auto& b) { return std::decay_t<decltype(b)>::kType; }, body);
}

}  // namespace netproto
