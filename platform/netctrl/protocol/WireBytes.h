#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

// Little-endian field access for message payloads. The records are copied as they stand, so
// the host must be little-endian like the wire.
static_assert(std::endian::native == std::endian::little, "the wire and the records are LE");

namespace netproto {

class ByteWriter {
public:
    explicit ByteWriter(std::vector<uint8_t>& out) : out_(out) {}

    void U16(uint16_t v) { Raw(&v, sizeof v); }
    void U32(uint32_t v) { Raw(&v, sizeof v); }
    void I32(int32_t v) { Raw(&v, sizeof v); }
    void U64(uint64_t v) { Raw(&v, sizeof v); }
    void Raw(const void* data, std::size_t size_bytes) {
        const auto* p = static_cast<const uint8_t*>(data);
        out_.insert(out_.end(), p, p + size_bytes);
    }
    void Text(const std::string& text) {
        U16(static_cast<uint16_t>(text.size()));
        Raw(text.data(), text.size());
    }

private:
    std::vector<uint8_t>& out_;
};

// Reads fields from a bounded payload; every read past the end fails and leaves Ok() false.
class ByteReader {
public:
    ByteReader(const uint8_t* data, std::size_t size_bytes) : p_(data), left_(size_bytes) {}

    bool Ok() const { return ok_; }
    std::size_t Left() const { return left_; }

    uint16_t U16() { return Scalar<uint16_t>(); }
    uint32_t U32() { return Scalar<uint32_t>(); }
    int32_t I32() { return Scalar<int32_t>(); }
    uint64_t U64() { return Scalar<uint64_t>(); }
    void Raw(void* out, std::size_t size_bytes) {
        if (size_bytes == 0) {
            return;  // out may be the null data() of an empty vector
        }
        if (!Take(size_bytes)) {
            std::memset(out, 0, size_bytes);
            return;
        }
        std::memcpy(out, p_ - size_bytes, size_bytes);
    }
    // A text of at most max_bytes, checked before it is copied.
    bool Text(std::string& out, std::size_t max_bytes) {
        const uint16_t size_bytes = U16();
        if (!ok_ || size_bytes > max_bytes || !Take(size_bytes)) {
            ok_ = false;
            return false;
        }
        out.assign(reinterpret_cast<const char*>(p_ - size_bytes), size_bytes);
        return true;
    }
    const uint8_t* Span(std::size_t size_bytes) {
        return Take(size_bytes) ? p_ - size_bytes : nullptr;
    }

private:
    template <typename T>
    T Scalar() {
        T v{};
        Raw(&v, sizeof v);
        return v;
    }
    bool Take(std::size_t size_bytes) {
        if (!ok_ || size_bytes > left_) {
            ok_ = false;
            return false;
        }
        p_ += size_bytes;
        left_ -= size_bytes;
        return true;
    }

    const uint8_t* p_;
    std::size_t left_;
    bool ok_ = true;
};

}  // namespace netproto
