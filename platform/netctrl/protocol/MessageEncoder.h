#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/netctrl/protocol/Messages.h"

namespace netproto {

// Appends the wire form of message to out. A message over a protocol limit is not written:
// the result is false and error says why.
bool EncodeMessage(const Message& message, std::vector<uint8_t>& out, std::string& error);

}  // namespace netproto
