#include "platform/netctrl/protocol/PayloadCodec.h"

#include <string>
#include <type_traits>

#include "platform/netctrl/protocol/WireBytes.h"

namespace netproto {
namespace {

constexpr std::size_t kTextPrefix = 2;
constexpr std::size_t kRecListFixed = 8;

template <typename T>
constexpr bool kIsEmpty = std::is_empty_v<T>;

std::string Num(uint64_t v) { return std::to_string(v); }

}  // namespace

bool BoundsOf(uint16_t type, PayloadBounds& out) {
    auto fixed = [&](std::size_t n) { out = {n, n}; };
    switch (static_cast<MsgType>(type)) {
        case MsgType::kHello:
        case MsgType::kLogout:
        case MsgType::kKeepAlive:
        case MsgType::kDiskQuery:
        case MsgType::kLampQuery:
        case MsgType::kLiveStop:
        case MsgType::kKeyFrame:
        case MsgType::kParaGet:
        case MsgType::kPlayStop:
        case MsgType::kUploadEnd:
            fixed(0);
            return true;
        case MsgType::kChallenge:
            fixed(kNonceBytes);
            return true;
        case MsgType::kLogin:
            out = {kTextPrefix + kNonceBytes + kMacBytes,
                   kTextPrefix + kMaxUserBytes + kNonceBytes + kMacBytes};
            return true;
        case MsgType::kLoginReply:
            fixed(4 + sizeof(_DVR_MACHINE_INFO_));
            return true;
        case MsgType::kAck:
            fixed(4);
            return true;
        case MsgType::kDiskReply:
            fixed(4 + sizeof(_DVR_DISK_INFO_) * kDvrMaxDisks);
            return true;
        case MsgType::kLampReply:
            fixed(8);
            return true;
        case MsgType::kSetNetParam:
            fixed(12);
            return true;
        case MsgType::kLiveStart:
            fixed(8);
            return true;
        case MsgType::kFrame:
            out = {kFrameHeadBytes, kMaxPayloadBytes};
            return true;
        case MsgType::kCommand:
            fixed(sizeof(_NET_COMMAND_));
            return true;
        case MsgType::kParaReply:
            fixed(4 + sizeof(NET_MAC_SET_PARA));
            return true;
        case MsgType::kParaSet:
            fixed(sizeof(NET_MAC_SET_PARA));
            return true;
        case MsgType::kRecListQuery:
            fixed(8);
            return true;
        case MsgType::kRecListReply:
            out = {kRecListFixed, kRecListFixed + kMaxRecListEntries * sizeof(_QRF_FILESHOWINFO)};
            return true;
        case MsgType::kPlayStart:
            fixed(20);
            return true;
        case MsgType::kPlayEnd:
            fixed(4);
            return true;
        case MsgType::kUploadBegin:
            out = {kTextPrefix + 1 + 8, kTextPrefix + kMaxRemotePathBytes + 8};
            return true;
        case MsgType::kUploadChunk:
            out = {1, kMaxUploadChunkBytes};
            return true;
        case MsgType::kShell:
            out = {kTextPrefix + 1, kTextPrefix + kMaxShellBytes};
            return true;
    }
    return false;
}

bool SentByClient(MsgType type) {
    switch (type) {
        case MsgType::kHello:
        case MsgType::kLogin:
        case MsgType::kLogout:
        case MsgType::kKeepAlive:
        case MsgType::kDiskQuery:
        case MsgType::kLampQuery:
        case MsgType::kSetNetParam:
        case MsgType::kLiveStart:
        case MsgType::kLiveStop:
        case MsgType::kKeyFrame:
        case MsgType::kCommand:
        case MsgType::kParaGet:
        case MsgType::kParaSet:
        case MsgType::kRecListQuery:
        case MsgType::kPlayStart:
        case MsgType::kPlayStop:
        case MsgType::kUploadBegin:
        case MsgType::kUploadChunk:
        case MsgType::kUploadEnd:
        case MsgType::kShell:
            return true;
        default:
            return false;
    }
}

const char* TypeName(MsgType type) {
    switch (type) {
        case MsgType::kHello:
            return "Hello";
        case MsgType::kChallenge:
            return "Challenge";
        case MsgType::kLogin:
            return "Login";
        case MsgType::kLoginReply:
            return "LoginReply";
        case MsgType::kLogout:
            return "Logout";
        case MsgType::kKeepAlive:
            return "KeepAlive";
        case MsgType::kAck:
            return "Ack";
        case MsgType::kDiskQuery:
            return "DiskQuery";
        case MsgType::kDiskReply:
            return "DiskReply";
        case MsgType::kLampQuery:
            return "LampQuery";
        case MsgType::kLampReply:
            return "LampReply";
        case MsgType::kSetNetParam:
            return "SetNetParam";
        case MsgType::kLiveStart:
            return "LiveStart";
        case MsgType::kLiveStop:
            return "LiveStop";
        case MsgType::kKeyFrame:
            return "KeyFrame";
        case MsgType::kFrame:
            return "Frame";
        case MsgType::kCommand:
            return "Command";
        case MsgType::kParaGet:
            return "ParaGet";
        case MsgType::kParaReply:
            return "ParaReply";
        case MsgType::kParaSet:
            return "ParaSet";
        case MsgType::kRecListQuery:
            return "RecListQuery";
        case MsgType::kRecListReply:
            return "RecListReply";
        case MsgType::kPlayStart:
            return "PlayStart";
        case MsgType::kPlayStop:
            return "PlayStop";
        case MsgType::kPlayEnd:
            return "PlayEnd";
        case MsgType::kUploadBegin:
            return "UploadBegin";
        case MsgType::kUploadChunk:
            return "UploadChunk";
        case MsgType::kUploadEnd:
            return "UploadEnd";
        case MsgType::kShell:
            return "Shell";
    }
    return "unknown";
}

std::string CheckLimits(const Body& body) {
    if (const auto* m = std::get_if<Login>(&body); m && m->user.size() > kMaxUserBytes) {
        return "user name of " + Num(m->user.size()) + " bytes, at most " + Num(kMaxUserBytes);
    }
    if (const auto* m = std::get_if<DiskReply>(&body);
        m && (m->disk_count < 0 || m->disk_count > kDvrMaxDisks)) {
        return "disk count " + std::to_string(m->disk_count) + " outside 0.." + Num(kDvrMaxDisks);
    }
    if (const auto* m = std::get_if<Frame>(&body)) {
        if (m->payload.size() > kMaxFramePayloadBytes) {
            return "frame payload of " + Num(m->payload.size()) + " bytes, at most " +
                   Num(kMaxFramePayloadBytes);
        }
        if (m->head.nLength != m->payload.size()) {
            return "frame head length " + Num(m->head.nLength) + " differs from payload " +
                   Num(m->payload.size());
        }
    }
    if (const auto* m = std::get_if<RecListReply>(&body);
        m && m->entries.size() > kMaxRecListEntries) {
        return "record list of " + Num(m->entries.size()) + " entries, at most " +
               Num(kMaxRecListEntries);
    }
    if (const auto* m = std::get_if<UploadBegin>(&body)) {
        if (m->remote_path.empty() || m->remote_path.size() > kMaxRemotePathBytes) {
            return "remote path of " + Num(m->remote_path.size()) + " bytes, 1.." +
                   Num(kMaxRemotePathBytes) + " allowed";
        }
        if (m->size_bytes > kMaxUploadFileBytes) {
            return "upload of " + Num(m->size_bytes) + " bytes, at most " +
                   Num(kMaxUploadFileBytes);
        }
    }
    if (const auto* m = std::get_if<UploadChunk>(&body);
        m && (m->data.empty() || m->data.size() > kMaxUploadChunkBytes)) {
        return "upload chunk of " + Num(m->data.size()) + " bytes, 1.." +
               Num(kMaxUploadChunkBytes) + " allowed";
    }
    if (const auto* m = std::get_if<Shell>(&body);
        m && (m->command.empty() || m->command.size() > kMaxShellBytes)) {
        return "shell command of " + Num(m->command.size()) + " bytes, 1.." + Num(kMaxShellBytes) +
               " allowed";
    }
    return {};
}

void WritePayload(const Body& body, std::vector<uint8_t>& out) {
    ByteWriter w(out);
    std::visit(
        [&](const auto& m) {
            using T = std::decay_t<decltype(m)>;
            if constexpr (kIsEmpty<T>) {
                // no payload
            } else if constexpr (std::is_same_v<T, Challenge>) {
                w.Raw(m.server_nonce.data(), kNonceBytes);
            } else if constexpr (std::is_same_v<T, Login>) {
                w.Text(m.user);
                w.Raw(m.client_nonce.data(), kNonceBytes);
                w.Raw(m.mac.data(), kMacBytes);
            } else if constexpr (std::is_same_v<T, LoginReply>) {
                w.I32(m.result);
                w.Raw(&m.info, sizeof m.info);
            } else if constexpr (std::is_same_v<T, Ack>) {
                w.I32(m.result);
            } else if constexpr (std::is_same_v<T, DiskReply>) {
                w.I32(m.disk_count);
                w.Raw(m.disks, sizeof m.disks);
            } else if constexpr (std::is_same_v<T, LampReply>) {
                w.I32(m.lamp_low);
                w.I32(m.lamp_high);
            } else if constexpr (std::is_same_v<T, SetNetParam>) {
                w.I32(m.rate);
                w.I32(m.fps);
                w.I32(m.reserved);
            } else if constexpr (std::is_same_v<T, LiveStart>) {
                w.U32(m.channel_mask);
                w.I32(m.send_audio);
            } else if constexpr (std::is_same_v<T, Frame>) {
                w.Raw(&m.head, sizeof m.head);
                w.Raw(m.payload.data(), m.payload.size());
            } else if constexpr (std::is_same_v<T, Command>) {
                w.Raw(&m.command, sizeof m.command);
            } else if constexpr (std::is_same_v<T, ParaReply>) {
                w.I32(m.result);
                w.Raw(&m.para, sizeof m.para);
            } else if constexpr (std::is_same_v<T, ParaSet>) {
                w.Raw(&m.para, sizeof m.para);
            } else if constexpr (std::is_same_v<T, RecListQuery>) {
                w.I32(m.day_key);
                w.I32(m.page);
            } else if constexpr (std::is_same_v<T, RecListReply>) {
                w.I32(m.result);
                w.U32(static_cast<uint32_t>(m.entries.size()));
                w.Raw(m.entries.data(), m.entries.size() * sizeof(_QRF_FILESHOWINFO));
            } else if constexpr (std::is_same_v<T, PlayStart>) {
                w.I32(m.start_s);
                w.I32(m.end_s);
                w.U32(m.channel_mask);
                w.I32(m.audio);
                w.I32(m.fast);
            } else if constexpr (std::is_same_v<T, PlayEnd>) {
                w.U32(m.play_request_id);
            } else if constexpr (std::is_same_v<T, UploadBegin>) {
                w.Text(m.remote_path);
                w.U64(m.size_bytes);
            } else if constexpr (std::is_same_v<T, UploadChunk>) {
                w.Raw(m.data.data(), m.data.size());
            } else if constexpr (std::is_same_v<T, Shell>) {
                w.Text(m.command);
            } else {
                static_assert(sizeof(T) == 0, "payload layout missing");
            }
        },
        body);
}

namespace {

// Reads the payload of T; returns an error text or empty.
std::string Read(ByteReader& r, Challenge& m) {
    r.Raw(m.server_nonce.data(), kNonceBytes);
    return {};
}
std::string Read(ByteReader& r, Login& m) {
    if (!r.Text(m.user, kMaxUserBytes)) {
        return "user name longer than " + Num(kMaxUserBytes) + " bytes or truncated";
    }
    r.Raw(m.client_nonce.data(), kNonceBytes);
    r.Raw(m.mac.data(), kMacBytes);
    return {};
}
std::string Read(ByteReader& r, LoginReply& m) {
    m.result = r.I32();
    r.Raw(&m.info, sizeof m.info);
    return {};
}
std::string Read(ByteReader& r, Ack& m) {
    m.result = r.I32();
    return {};
}
std::string Read(ByteReader& r, DiskReply& m) {
    m.disk_count = r.I32();
    r.Raw(m.disks, sizeof m.disks);
    return {};
}
std::string Read(ByteReader& r, LampReply& m) {
    m.lamp_low = r.I32();
    m.lamp_high = r.I32();
    return {};
}
std::string Read(ByteReader& r, SetNetParam& m) {
    m.rate = r.I32();
    m.fps = r.I32();
    m.reserved = r.I32();
    return {};
}
std::string Read(ByteReader& r, LiveStart& m) {
    m.channel_mask = r.U32();
    m.send_audio = r.I32();
    return {};
}
std::string Read(ByteReader& r, Frame& m) {
    r.Raw(&m.head, sizeof m.head);
    if (m.head.nLength != r.Left()) {
        return "frame head length " + Num(m.head.nLength) + " differs from payload " +
               Num(r.Left());
    }
    const std::size_t size_bytes = r.Left();
    const uint8_t* p = r.Span(size_bytes);
    m.payload.assign(p, p + size_bytes);
    return {};
}
std::string Read(ByteReader& r, Command& m) {
    r.Raw(&m.command, sizeof m.command);
    return {};
}
std::string Read(ByteReader& r, ParaReply& m) {
    m.result = r.I32();
    r.Raw(&m.para, sizeof m.para);
    return {};
}
std::string Read(ByteReader& r, ParaSet& m) {
    r.Raw(&m.para, sizeof m.para);
    return {};
}
std::string Read(ByteReader& r, RecListQuery& m) {
    m.day_key = r.I32();
    m.page = r.I32();
    return {};
}
std::string Read(ByteReader& r, RecListReply& m) {
    m.result = r.I32();
    const uint32_t count = r.U32();
    if (count > kMaxRecListEntries) {
        return "record list of " + Num(count) + " entries, at most " + Num(kMaxRecListEntries);
    }
    if (r.Left() != count * sizeof(_QRF_FILESHOWINFO)) {
        return "record list of " + Num(count) + " entries in " + Num(r.Left()) + " bytes";
    }
    m.entries.resize(count);
    r.Raw(m.entries.data(), count * sizeof(_QRF_FILESHOWINFO));
    return {};
}
std::string Read(ByteReader& r, PlayStart& m) {
    m.start_s = r.I32();
    m.end_s = r.I32();
    m.channel_mask = r.U32();
    m.audio = r.I32();
    m.fast = r.I32();
    return {};
}
std::string Read(ByteReader& r, PlayEnd& m) {
    m.play_request_id = r.U32();
    return {};
}
std::string Read(ByteReader& r, UploadBegin& m) {
    if (!r.Text(m.remote_path, kMaxRemotePathBytes) || m.remote_path.empty()) {
        return "remote path empty, longer than " + Num(kMaxRemotePathBytes) + " bytes or truncated";
    }
    m.size_bytes = r.U64();
    return {};
}
std::string Read(ByteReader& r, UploadChunk& m) {
    const std::size_t size_bytes = r.Left();
    const uint8_t* p = r.Span(size_bytes);
    m.data.assign(p, p + size_bytes);
    return {};
}
std::string Read(ByteReader& r, Shell& m) {
    if (!r.Text(m.command, kMaxShellBytes) || m.command.empty()) {
        return "shell command empty, longer than " + Num(kMaxShellBytes) + " bytes or truncated";
    }
    return {};
}

template <typename T>
bool ReadAs(ByteReader& r, Body& out, std::string& error) {
    T m{};
    if constexpr (std::is_same_v<T, Frame>) {
        // A frame is read into the payload buffer that the previous frame left behind.
        if (auto* previous = std::get_if<Frame>(&out)) {
            m.payload = std::move(previous->payload);
        }
    }
    if constexpr (!kIsEmpty<T>) {
        error = Read(r, m);
        if (!error.empty()) {
            return false;
        }
    }
    if (!r.Ok()) {
        error = std::string(TypeName(T::kType)) + " payload truncated";
        return false;
    }
    if (r.Left() != 0) {
        error =
            std::string(TypeName(T::kType)) + " payload has " + Num(r.Left()) + " trailing bytes";
        return false;
    }
    out = std::move(m);
    return true;
}

template <std::size_t I = 0>
bool ReadIndexed(MsgType type, ByteReader& r, Body& out, std::string& error) {
    if constexpr (I == std::variant_size_v<Body>) {
        error = "unknown message type";
        return false;
    } else {
        using T = std::variant_alternative_t<I, Body>;
        if (T::kType == type) {
            return ReadAs<T>(r, out, error);
        }
        return ReadIndexed<I + 1>(type, r, out, error);
    }
}

}  // namespace

bool ReadPayload(MsgType type, const uint8_t* data, std::size_t size_bytes, Body& out,
                 std::string& error) {
    ByteReader r(data, size_bytes);
    if (!ReadIndexed(type, r, out, error)) {
        return false;
    }
    if (auto* reply = std::get_if<DiskReply>(&out);
        reply && (reply->disk_count < 0 || reply->disk_count > kDvrMaxDisks)) {
        error =
            "disk count " + std::to_string(reply->disk_count) + " outside 0.." + Num(kDvrMaxDisks);
        return false;
    }
    if (auto* begin = std::get_if<UploadBegin>(&out);
        begin && begin->size_bytes > kMaxUploadFileBytes) {
        error =
            "upload of " + Num(begin->size_bytes) + " bytes, at most " + Num(kMaxUploadFileBytes);
        return false;
    }
    return true;
}

}  // namespace netproto
