#pragma once

#include <cstddef>
#include <cstdint>

// The lookup server's wire record, the same in both directions: exactly 600 bytes, integers
// little-endian. In a request, szText is the recorder's device name; in a reply, its address as
// dotted IPv4 text. Reply codes other than the two below mean "found".
// The record keeps the field names of its layout.
// NOLINTBEGIN(readability-identifier-naming)
#pragma pack(push, 1)
struct _LOOKUP_MESSAGE_ {
    int32_t nCode;
    char szText[200];
    char szKind[10];   // request: kind of client, "pc"
    char szExtra[10];  // empty in every exchange
    int32_t nPort;     // reply: the recorder's port
    int32_t nExtra;    // 0 in every exchange
    uint8_t reserved[368];
};
#pragma pack(pop)
// NOLINTEND(readability-identifier-naming)

static_assert(sizeof(_LOOKUP_MESSAGE_) == 600);
static_assert(offsetof(_LOOKUP_MESSAGE_, szText) == 4);
static_assert(offsetof(_LOOKUP_MESSAGE_, szKind) == 204);
static_assert(offsetof(_LOOKUP_MESSAGE_, szExtra) == 214);
static_assert(offsetof(_LOOKUP_MESSAGE_, nPort) == 224);
static_assert(offsetof(_LOOKUP_MESSAGE_, nExtra) == 228);

constexpr std::size_t kLookupMessageBytes = sizeof(_LOOKUP_MESSAGE_);
constexpr int32_t kLookupRequestCode = 101;
constexpr int32_t kLookupRefused = -1009;
constexpr int32_t kLookupNotOnline = -1010;
constexpr const char* kLookupClientKind = "pc";
