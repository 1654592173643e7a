// Feeds arbitrary bytes to the message decoder in pieces; every message it accepts must
// encode again to a message that decodes to the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "MessageDecoder.h"
#include "MessageEncoder.h"

using namespace netproto;

namespace {

void CheckRoundTrip(const Message& message) {
    std::vector<uint8_t> bytes;
    std::string error;
    if (!EncodeMessage(message, bytes, error)) {
        std::abort();  // the decoder accepted something the encoder calls over a limit
    }
    MessageDecoder again;
    Message copy;
    std::vector<uint8_t> bytes2;
    if (!again.Feed(bytes.data(), bytes.size()) || again.Next(copy) != DecodeStatus::kMessage ||
        !EncodeMessage(copy, bytes2, error) || bytes != bytes2) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    // The first byte picks the piece size, so split headers and payloads are exercised.
    const std::size_t piece = 1 + data[0] % 64;
    ++data;
    --size;
    MessageDecoder decoder;
    Message message;
    while (size > 0) {
        const std::size_t n = size < piece ? size : piece;
        if (!decoder.Feed(data, n)) {
            return 0;
        }
        data += n;
        size -= n;
        for (;;) {
            const DecodeStatus status = decoder.Next(message);
            if (status == DecodeStatus::kMessage) {
                CheckRoundTrip(message);
                continue;
            }
            if (status == DecodeStatus::kError) {
                return 0;
            }
            break;
        }
    }
    return 0;
}
