// Feeds arbitrary bytes to the message decoder in pieces; every message it accepts must
// encode again to a message that decodes to the same bytes.
//
// Built twice: as is, inputs may be as long as the largest message (a full frame); with
// FILL_UNFINISHED set, the message an input announces but does not hold is filled up with the
// input repeated, so small inputs reach messages of every size up to the largest. Filling costs
// the time of many small inputs, so the two run apart.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/netctrl/protocol/MessageDecoder.h"
#include "platform/netctrl/protocol/MessageEncoder.h"
#include "tests/support/FuzzDefaults.h"

#ifndef FILL_UNFINISHED
#define FILL_UNFINISHED 0
#endif

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

// Takes every whole message the decoder holds: how many, or -1 once it has failed.
int Drain(MessageDecoder& decoder, Message& message) {
    for (int taken = 0;; ++taken) {
        const DecodeStatus status = decoder.Next(message);
        if (status == DecodeStatus::kNeedMore) return taken;
        if (status == DecodeStatus::kError) return -1;
        CheckRoundTrip(message);
    }
}

constexpr std::size_t kLargestMessageBytes = kHeaderBytes + kMaxPayloadBytes;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    // Room for a whole largest message and the piece-size byte, should a mutation build one.
    AddDefaultFuzzFlags(argc, argv, {"-max_len=" + std::to_string(kLargestMessageBytes + 1)});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    // The first byte picks the piece size, so split headers and payloads are exercised.
    const std::size_t piece = 1 + data[0] % 64;
    const std::vector<uint8_t> input(data + 1, data + size);
    MessageDecoder decoder;
    Message message;
    for (std::size_t at = 0; at < input.size(); at += piece) {
        const std::size_t n = std::min(piece, input.size() - at);
        if (!decoder.Feed(input.data() + at, n) || Drain(decoder, message) < 0) {
            return 0;
        }
    }
    std::vector<uint8_t> filler;
    while (FILL_UNFINISHED && !input.empty() && filler.size() < 4096) {
        filler.insert(filler.end(), input.begin(), input.end());
    }
    for (std::size_t fed = 0;
         !filler.empty() && decoder.BufferedBytes() > 0 && fed <= kLargestMessageBytes;
         fed += filler.size()) {
        if (!decoder.Feed(filler.data(), filler.size()) || Drain(decoder, message) != 0) {
            return 0;  // finished, or refused
        }
    }
    return 0;
}
