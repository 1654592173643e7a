#include "platform/netctrl/protocol/MessageEncoder.h"

#include <cstring>

#include "platform/netctrl/protocol/PayloadCodec.h"
#include "platform/netctrl/protocol/WireBytes.h"

namespace netproto {

bool EncodeMessage(const Message& message, std::vector<uint8_t>& out, std::string& error) {
    error = CheckLimits(message.body);
    if (!error.empty()) {
        return false;
    }
    const std::size_t start = out.size();
    ByteWriter w(out);
    w.U32(kMagic);
    w.U16(kVersion);
    w.U16(static_cast<uint16_t>(TypeOf(message.body)));
    w.U32(message.request_id);
    w.U32(0);  // payload length, filled in below
    WritePayload(message.body, out);
    const auto payload_bytes = static_cast<uint32_t>(out.size() - start - kHeaderBytes);
    std::memcpy(out.data() + start + kHeaderBytes - 4, &payload_bytes, 4);
    return true;
}

}  // namespace netproto
