#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "common/lookup/LookupClient.h"

// Any 600 bytes from the network: the parser must stay inside the message and leave every
// text field terminated.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    LookupWire reply{};
    std::memcpy(reply.data(), data, std::min(size, reply.size()));

    std::string address = "unchanged";
    int port = -7;
    const int result = CLookupClient::ReadReply(reply, address, port);
    if (result != 1 && result != kLookupRefused && result != kLookupNotOnline) {
        std::abort();
    }
    if (result != 1 && (address != "unchanged" || port != -7)) {
        std::abort();
    }
    if (address.size() >= sizeof(_LOOKUP_MESSAGE_::szText)) {
        std::abort();
    }

    _LOOKUP_MESSAGE_ record;
    CLookupClient::UnpackMessage(record, reply);
    if (::strnlen(record.szText, sizeof record.szText) == sizeof record.szText ||
        ::strnlen(record.szKind, sizeof record.szKind) == sizeof record.szKind ||
        ::strnlen(record.szExtra, sizeof record.szExtra) == sizeof record.szExtra) {
        std::abort();
    }
    LookupWire again;
    CLookupClient::PackMessage(again, record);
    _LOOKUP_MESSAGE_ twice;
    CLookupClient::UnpackMessage(twice, again);
    if (std::memcmp(&record, &twice, sizeof record) != 0) {
        std::abort();
    }
    return 0;
}
