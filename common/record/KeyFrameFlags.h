#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>

// Which decoders (display channels, video cells) have had a key frame since they last lost
// their place: a decoder is fed from a key frame on, never from the middle of a group. Each
// flag is one bit of a word changed atomically, so another thread may close them while the
// frame thread passes frames; passing an open flag is a plain load.
template <int Count>
class KeyFrameFlags {
public:
    KeyFrameFlags() = default;
    // A copy takes each word as it is at the moment.
    KeyFrameFlags(const KeyFrameFlags& other) { *this = other; }
    KeyFrameFlags& operator=(const KeyFrameFlags& other) {
        for (std::size_t i = 0; i < words_.size(); ++i)
            words_[i].store(other.words_[i].load(std::memory_order_relaxed),
                            std::memory_order_relaxed);
        return *this;
    }

    // A key frame opens the flag; other frames pass only once it is open. False outside
    // 0..Count-1.
    bool Pass(int i, bool key_frame) {
        if (i < 0 || i >= Count) return false;
        std::atomic<uint64_t>& word = words_[Word(i)];
        if ((word.load(std::memory_order_relaxed) & Bit(i)) != 0) return true;
        if (!key_frame) return false;
        word.fetch_or(Bit(i), std::memory_order_relaxed);
        return true;
    }

    // After a decode error the decoder waits for the next key frame.
    void Close(int i) {
        if (i < 0 || i >= Count) return;
        std::atomic<uint64_t>& word = words_[Word(i)];
        if ((word.load(std::memory_order_relaxed) & Bit(i)) != 0) {
            word.fetch_and(~Bit(i), std::memory_order_relaxed);
        }
    }

    // Link lost, another picture size, another view: every decoder waits for a key frame.
    void CloseAll() {
        for (std::atomic<uint64_t>& word : words_)
            word.store(0, std::memory_order_relaxed);
    }

    bool IsOpen(int i) const {
        return i >= 0 && i < Count &&
               (words_[Word(i)].load(std::memory_order_relaxed) & Bit(i)) != 0;
    }

private:
    static constexpr int kWordBits = 64;
    static int Word(int i) { return i / kWordBits; }
    static uint64_t Bit(int i) { return uint64_t{1} << (i % kWordBits); }

    std::array<std::atomic<uint64_t>, (Count + kWordBits - 1) / kWordBits> words_{};
};
