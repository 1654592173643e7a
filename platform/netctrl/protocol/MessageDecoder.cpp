#include "platform/netctrl/protocol/MessageDecoder.h"

#include <cstdio>

#include "platform/netctrl/protocol/PayloadCodec.h"
#include "platform/netctrl/protocol/WireBytes.h"

namespace netproto {
namespace {

std::string Hex(uint32_t v) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08x", v);
    return text;
}

}  // namespace

bool MessageDecoder::Feed(const uint8_t* data, std::size_t size_bytes) {
    if (Failed()) {
        return false;
    }
    if (BufferedBytes() + size_bytes > kHeaderBytes + kMaxPayloadBytes + kFeedChunkBytes) {
        Fail("input buffered beyond one message; the reader does not drain it");
        return false;
    }
    if (read_pos_ > 0 && read_pos_ >= buffer_.size() / 2) {
        buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(read_pos_));
        read_pos_ = 0;
    }
    buffer_.insert(buffer_.end(), data, data + size_bytes);
    return true;
}

DecodeStatus MessageDecoder::Next(Message& out) {
    if (Failed()) {
        return DecodeStatus::kError;
    }
    if (BufferedBytes() < kHeaderBytes) {
        return DecodeStatus::kNeedMore;
    }
    ByteReader header(buffer_.data() + read_pos_, kHeaderBytes);
    const uint32_t magic = header.U32();
    const uint16_t version = header.U16();
    const uint16_t type = header.U16();
    const uint32_t request_id = header.U32();
    const uint32_t payload_bytes = header.U32();
    if (magic != kMagic) {
        return Fail("bad magic " + Hex(magic) + ", expected " + Hex(kMagic));
    }
    if (version != kVersion) {
        return Fail("unsupported protocol version " + std::to_string(version) + ", expected " +
                    std::to_string(kVersion));
    }
    PayloadBounds bounds;
    if (!BoundsOf(type, bounds)) {
        return Fail("unknown message type " + Hex(type));
    }
    const auto msg_type = static_cast<MsgType>(type);
    if (accepts_ != nullptr && !accepts_(msg_type)) {
        return Fail("unexpected " + std::string(TypeName(msg_type)) + " message");
    }
    if (payload_bytes < bounds.min_bytes || payload_bytes > bounds.max_bytes) {
        return Fail(std::string(TypeName(msg_type)) + " payload length " +
                    std::to_string(payload_bytes) + " outside " + std::to_string(bounds.min_bytes) +
                    ".." + std::to_string(bounds.max_bytes));
    }
    if (BufferedBytes() < kHeaderBytes + payload_bytes) {
        return DecodeStatus::kNeedMore;
    }
    std::string error;
    // Straight into out, so a frame reuses the payload buffer out already holds.
    if (!ReadPayload(msg_type, buffer_.data() + read_pos_ + kHeaderBytes, payload_bytes, out.body,
                     error)) {
        return Fail(std::string(TypeName(msg_type)) + ": " + error);
    }
    read_pos_ += kHeaderBytes + payload_bytes;
    if (read_pos_ == buffer_.size()) {
        buffer_.clear();
        read_pos_ = 0;
    }
    out.request_id = request_id;
    return DecodeStatus::kMessage;
}

DecodeStatus MessageDecoder::Fail(std::string error) {
    error_ = "malformed message: " + std::move(error);
    buffer_.clear();
    read_pos_ = 0;
    return DecodeStatus::kError;
}

}  // namespace netproto
