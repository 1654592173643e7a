#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/netctrl/protocol/Messages.h"

namespace netproto {

enum class DecodeStatus { kMessage, kNeedMore, kError };

// Turns a byte stream into messages. The header is checked (magic, version, type, payload
// length against the type's maximum) as soon as it is complete, before any payload is
// buffered; after an error the decoder stays failed, as the link must be closed.
class MessageDecoder {
public:
    // False when the decoder has failed or the bytes would exceed one whole message plus
    // kFeedChunkBytes; the caller should drain Next() between feeds.
    bool Feed(const uint8_t* data, std::size_t size_bytes);
    DecodeStatus Next(Message& out);

    // The types the reader takes at present (all while none is set); any other fails the
    // decoder from its header, before its payload is buffered.
    using TypeFilter = bool (*)(MsgType type);
    void SetAccepted(TypeFilter accepts) { accepts_ = accepts; }

    bool Failed() const { return !error_.empty(); }
    const std::string& Error() const { return error_; }
    std::size_t BufferedBytes() const { return buffer_.size() - read_pos_; }

    static constexpr std::size_t kFeedChunkBytes = 65536;

private:
    DecodeStatus Fail(std::string error);

    std::vector<uint8_t> buffer_;
    std::size_t read_pos_ = 0;
    std::string error_;
    TypeFilter accepts_ = nullptr;
};

}  // namespace netproto
