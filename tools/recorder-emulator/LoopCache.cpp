#include "tools/recorder-emulator/LoopCache.h"

#include "tools/recorder-emulator/LoopEncoder.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <stdexcept>
#include <thread>

namespace {

std::shared_ptr<const FrameLoop> Encode(const LoopCache::Key& key) {
    return std::make_shared<const FrameLoop>(EncodeChannelLoop(
        key.codec, PictureSize{key.width, key.height}, key.channel, key.frame_count, key.fps));
}

}  // namespace

LoopCache& LoopCache::Shared() {
    static LoopCache cache;
    return cache;
}

void LoopCache::Prepare(const std::vector<Key>& keys, int max_threads) {
    std::vector<Key> missing;
    {
        std::lock_guard lock(mutex_);
        for (const Key& key : keys) {
            if (!loops_.count(key) &&
                std::find_if(missing.begin(), missing.end(), [&](const Key& k) {
                    return !(k < key) && !(key < k);
                }) == missing.end()) {
                missing.push_back(key);
            }
        }
    }
    if (missing.empty()) return;

    std::atomic<size_t> next{0};
    std::mutex error_mutex;
    std::exception_ptr error;
    auto work = [&] {
        for (size_t i = next++; i < missing.size(); i = next++) {
            try {
                auto loop = Encode(missing[i]);
                std::lock_guard lock(mutex_);
                loops_.emplace(missing[i], std::move(loop));
            } catch (...) {
                std::lock_guard lock(error_mutex);
                if (!error) error = std::current_exception();
            }
        }
    };
    const size_t thread_count =
        std::clamp<size_t>(static_cast<size_t>(std::max(1, max_threads)), 1, missing.size());
    std::vector<std::thread> threads;
    for (size_t t = 1; t < thread_count; ++t)
        threads.emplace_back(work);
    work();
    for (auto& t : threads)
        t.join();
    if (error) std::rethrow_exception(error);
}

std::shared_ptr<const FrameLoop> LoopCache::Get(const Key& key) {
    {
        std::lock_guard lock(mutex_);
        auto it = loops_.find(key);
        if (it != loops_.end()) return it->second;
    }
    auto loop = Encode(key);
    std::lock_guard lock(mutex_);
    return loops_.emplace(key, std::move(loop)).first->second;
}
