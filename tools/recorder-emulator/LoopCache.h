#pragma once

#include "tools/recorder-emulator/FrameLoop.h"
#include "tools/recorder-emulator/PictureSize.h"
#include "tools/recorder-emulator/VideoCodec.h"

#include <map>
#include <memory>
#include <mutex>
#include <tuple>
#include <vector>

// Encoded loops shared by every recorder with the same codec, picture size and channel, so
// many recorders start from one encoding. Thread-safe; loops stay for the cache's lifetime.
class LoopCache {
public:
    struct Key {
        VideoCodec codec;
        int width;
        int height;
        int channel;
        int frame_count;
        int fps;
        auto Tie() const { return std::tie(codec, width, height, channel, frame_count, fps); }
        bool operator<(const Key& other) const { return Tie() < other.Tie(); }
    };

    // The cache that all emulators of this process share.
    static LoopCache& Shared();

    // Encodes every missing loop, several at a time; throws std::runtime_error when an
    // encoding fails (the loops that succeeded stay).
    void Prepare(const std::vector<Key>& keys, int max_threads);

    // A loop encoded before (Prepare) or now.
    std::shared_ptr<const FrameLoop> Get(const Key& key);

private:
    std::mutex mutex_;
    std::map<Key, std::shared_ptr<const FrameLoop>> loops_;
};
