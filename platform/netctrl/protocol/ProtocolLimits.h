#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/records/NetFrameHead.h"

namespace netproto {

// "DVRP" in the first four bytes of every message.
inline constexpr uint32_t kMagic = 0x50525644;
inline constexpr uint16_t kVersion = 1;
inline constexpr std::size_t kHeaderBytes = 16;

inline constexpr std::size_t kNonceBytes = 16;
inline constexpr std::size_t kMacBytes = 32;  // HMAC-SHA256

// Fixed maxima, checked before anything is allocated or copied; a frame's payload is held to
// kMaxFramePayloadBytes.
inline constexpr std::size_t kMaxUserBytes = 64;
inline constexpr std::size_t kMaxRemotePathBytes = 255;
inline constexpr std::size_t kMaxShellBytes = 1024;
inline constexpr std::size_t kMaxRecListEntries = 300;
inline constexpr std::size_t kMaxUploadChunkBytes = 65536;
inline constexpr uint64_t kMaxUploadFileBytes = 64ull * 1024 * 1024;
inline constexpr std::size_t kFrameHeadBytes = 36;

// The largest payload of any message: a frame.
inline constexpr std::size_t kMaxPayloadBytes = kFrameHeadBytes + kMaxFramePayloadBytes;

// Login results carried by LoginReply.
inline constexpr int32_t kLoginBadPassword = -2;
inline constexpr int32_t kLoginSuperUserBusy = -3;
inline constexpr int32_t kLoginTooManyUsers = -4;

}  // namespace netproto
