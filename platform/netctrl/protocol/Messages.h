#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "platform/netctrl/protocol/ProtocolLimits.h"
#include "platform/records/DvrMachineInfo.h"
#include "platform/records/NetCommand.h"
#include "platform/records/NetFrameHead.h"
#include "platform/records/NetMacSetPara.h"
#include "platform/records/QrfFileShowInfo.h"

// The messages of the recorder protocol (docs/protocol.md). C = client to recorder,
// R = recorder to client.
namespace netproto {

enum class MsgType : uint16_t {
    kHello = 0x0001,
    kChallenge = 0x0002,
    kLogin = 0x0003,
    kLoginReply = 0x0004,
    kLogout = 0x0005,
    kKeepAlive = 0x0006,
    kAck = 0x0007,
    kDiskQuery = 0x0010,
    kDiskReply = 0x0011,
    kLampQuery = 0x0012,
    kLampReply = 0x0013,
    kSetNetParam = 0x0014,
    kLiveStart = 0x0020,
    kLiveStop = 0x0021,
    kKeyFrame = 0x0022,
    kFrame = 0x0023,
    kCommand = 0x0030,
    kParaGet = 0x0031,
    kParaReply = 0x0032,
    kParaSet = 0x0033,
    kRecListQuery = 0x0040,
    kRecListReply = 0x0041,
    kPlayStart = 0x0042,
    kPlayStop = 0x0043,
    kPlayEnd = 0x0044,
    kUploadBegin = 0x0050,
    kUploadChunk = 0x0051,
    kUploadEnd = 0x0052,
    kShell = 0x0053,
};

using Nonce = std::array<uint8_t, kNonceBytes>;
using Mac = std::array<uint8_t, kMacBytes>;

struct Hello {  // C
    static constexpr MsgType kType = MsgType::kHello;
};
struct Challenge {  // R: answer to Hello
    static constexpr MsgType kType = MsgType::kChallenge;
    Nonce server_nonce{};
};
struct Login {  // C: mac = HMAC-SHA256(password, server_nonce || client_nonce)
    static constexpr MsgType kType = MsgType::kLogin;
    std::string user;
    Nonce client_nonce{};
    Mac mac{};
};
struct LoginReply {  // R: result >= 0 logged in, else kLogin*; info describes the recorder
    static constexpr MsgType kType = MsgType::kLoginReply;
    int32_t result = 0;
    _DVR_MACHINE_INFO_ info{};
};
struct Logout {  // C, answered by Ack
    static constexpr MsgType kType = MsgType::kLogout;
};
struct KeepAlive {  // C, echoed by R with the same request id
    static constexpr MsgType kType = MsgType::kKeepAlive;
};
struct Ack {  // R: result of the request with the same id; < 0 = refused
    static constexpr MsgType kType = MsgType::kAck;
    int32_t result = 0;
};
struct DiskQuery {  // C
    static constexpr MsgType kType = MsgType::kDiskQuery;
};
struct DiskReply {  // R
    static constexpr MsgType kType = MsgType::kDiskReply;
    int32_t disk_count = 0;
    _DVR_DISK_INFO_ disks[kDvrMaxDisks]{};
};
struct LampQuery {  // C
    static constexpr MsgType kType = MsgType::kLampQuery;
};
struct LampReply {  // R
    static constexpr MsgType kType = MsgType::kLampReply;
    int32_t lamp_low = 0;
    int32_t lamp_high = 0;
};
struct SetNetParam {  // C: live stream rate and frame rate
    static constexpr MsgType kType = MsgType::kSetNetParam;
    int32_t rate = 0;
    int32_t fps = 0;
    int32_t reserved = 0;
};
struct LiveStart {  // C
    static constexpr MsgType kType = MsgType::kLiveStart;
    uint32_t channel_mask = 0;
    int32_t send_audio = 0;
};
struct LiveStop {  // C
    static constexpr MsgType kType = MsgType::kLiveStop;
};
struct KeyFrame {  // C: next video frame of each streamed channel is a key frame
    static constexpr MsgType kType = MsgType::kKeyFrame;
};
struct Frame {  // R, request id 0: head.nLength == payload.size()
    static constexpr MsgType kType = MsgType::kFrame;
    _NET_FRAME_HEAD_ head{};
    std::vector<uint8_t> payload;
};
struct Command {  // C
    static constexpr MsgType kType = MsgType::kCommand;
    _NET_COMMAND_ command{};
};
struct ParaGet {  // C
    static constexpr MsgType kType = MsgType::kParaGet;
};
struct ParaReply {  // R: para is meaningful when result >= 0
    static constexpr MsgType kType = MsgType::kParaReply;
    int32_t result = 0;
    NET_MAC_SET_PARA para{};
};
struct ParaSet {  // C
    static constexpr MsgType kType = MsgType::kParaSet;
    NET_MAC_SET_PARA para{};
};
struct RecListQuery {  // C
    static constexpr MsgType kType = MsgType::kRecListQuery;
    int32_t day_key = 0;
    int32_t page = 0;
};
struct RecListReply {  // R: page 0: result = page count; later pages: entries or < 0
    static constexpr MsgType kType = MsgType::kRecListReply;
    int32_t result = 0;
    std::vector<_QRF_FILESHOWINFO> entries;
};
struct PlayStart {  // C: seconds of the day of the last record search
    static constexpr MsgType kType = MsgType::kPlayStart;
    int32_t start_s = 0;
    int32_t end_s = 0;
    uint32_t channel_mask = 0;
    int32_t audio = 0;
    int32_t fast = 0;
};
struct PlayStop {  // C
    static constexpr MsgType kType = MsgType::kPlayStop;
};
struct PlayEnd {  // R, request id 0: the span of play request play_request_id has been sent
    static constexpr MsgType kType = MsgType::kPlayEnd;
    uint32_t play_request_id = 0;
};
struct UploadBegin {  // C
    static constexpr MsgType kType = MsgType::kUploadBegin;
    std::string remote_path;
    uint64_t size_bytes = 0;
};
struct UploadChunk {  // C, not answered
    static constexpr MsgType kType = MsgType::kUploadChunk;
    std::vector<uint8_t> data;
};
struct UploadEnd {  // C: Ack < 0 when the bytes received differ from size_bytes
    static constexpr MsgType kType = MsgType::kUploadEnd;
};
struct Shell {  // C
    static constexpr MsgType kType = MsgType::kShell;
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
