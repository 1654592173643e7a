#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/netctrl/protocol/Messages.h"

// Payload layouts of each message type: their size limits, writing and checked reading.
namespace netproto {

struct PayloadBounds {
    std::size_t min_bytes = 0;
    std::size_t max_bytes = 0;
};

// False for a type this version does not know.
bool BoundsOf(uint16_t type, PayloadBounds& out);
const char* TypeName(MsgType type);
// True for the types a client sends (C in the protocol's table; KeepAlive goes both ways).
bool SentByClient(MsgType type);

// Empty when the body fits every limit of the protocol, else why not.
std::string CheckLimits(const Body& body);
void WritePayload(const Body& body, std::vector<uint8_t>& out);
// The payload must already lie within BoundsOf(type).
bool ReadPayload(MsgType type, const uint8_t* data, std::size_t size_bytes, Body& out,
                 std::string& error);

}  // namespace netproto
