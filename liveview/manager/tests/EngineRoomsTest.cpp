// The engine's rooms on their own: the device registry's mirrors for the frame threads, the
// cells' decoder pairs and the slots' lifecycle.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <functional>
#include <memory>
#include <vector>

#include "liveview/manager/CellDecoders.h"
#include "liveview/manager/DvrRegistry.h"
#include "liveview/manager/DvrSlots.h"
#include "platform/records/DvrMachineInfo.h"
#include "tests/support/PollUntil.h"
#include "tests/support/TestFolder.h"

namespace {

// The count and every slot's channel mask the frame threads read must follow each change of
// the entries, including the moves of a delete and a load.
TEST(DvrRegistry, TheFrameThreadsMirrorsFollowEveryChange) {
    TestFolder folder;
    const std::string store = (folder.Path() / "uss.dat").string();
    CDvrRegistry registry(store);
    const auto set_mask = [&](int a, int32_t mask) {
        _DVR_SETTINGS_ settings;
        ASSERT_EQ(registry.GetDvr(a, settings), 1);
        settings.channel_mask = mask;
        ASSERT_EQ(registry.UpdateDvr(a, settings), 1);
    };
    struct Step {
        const char* what;
        std::function<void()> run;
        std::vector<int32_t> masks;  // of the devices; empty slots keep their entry's
    };
    const std::vector<Step> steps = {
        {"add", [&] { registry.AddDvr("a:1", "", "u", "p", "a"); }, {0xffff}},
        {"add", [&] { registry.AddDvr("b:2", "", "u", "p", "b"); }, {0xffff, 0xffff}},
        {"update", [&] { set_mask(0, 0x5); }, {0x5, 0xffff}},
        {"update", [&] { set_mask(1, 0x30); }, {0x5, 0x30}},
        {"save", [&] { ASSERT_EQ(registry.SaveUserStore(), 1); }, {0x5, 0x30}},
        {"delete", [&] { registry.DeleteDvr(0); }, {0x30}},
        {"load", [&] { ASSERT_EQ(registry.LoadUserStore(), 1); }, {0x5, 0x30}},
    };
    for (const Step& step : steps) {
        step.run();
        EXPECT_EQ(registry.GetDvrCount(), static_cast<int>(step.masks.size())) << step.what;
        for (int a = 0; a < CDvrRegistry::kMaxDvrs; ++a) {
            const int32_t want = a < static_cast<int>(step.masks.size())
                                     ? step.masks[a]
                                     : registry.Settings(a).channel_mask;
            EXPECT_EQ(registry.ChannelMask(a), want) << step.what << ", slot " << a;
        }
    }
}

// The codec word picks the cell's decoder, which is opened for the frame's format and kept
// while the format stays; a format without a size opens nothing.
TEST(CellDecoders, EachCodecsDecoderHoldsTheFormatsSize) {
    CDrawLock open_lock;
    std::atomic<bool> stopping{false};
    CCellDecoders cells(open_lock, stopping, [](int, int, int) { return std::string(); });
    constexpr int32_t kMpeg4 = 0x20002000;
    const struct {
        int f;
        int32_t codec;
        int result;
        int width, height;  // of the codec's decoder afterwards
    } cases[] = {
        {0, kCodecH264, 1, 720, 576}, {2, kCodecH264, 1, 352, 288}, {5, kMpeg4, 1, 352, 240},
        {2, kCodecH264, 1, 352, 288}, {-1, kMpeg4, 0, 352, 240},
    };
    for (const auto& c : cases) {
        auto held = cells.Hold(7);
        EXPECT_EQ(cells.Prepare(-1, -1, c.f, 7, c.codec, false, 0), c.result) << "format " << c.f;
        const CVideoDecoder& decoder = cells.Pair(7).For(c.codec);
        EXPECT_EQ(decoder.OpenedWidth() * 10000 + decoder.OpenedHeight(),
                  c.width * 10000 + c.height)
            << "format " << c.f;
    }
    EXPECT_EQ(cells.Pair(8).For(kCodecH264).OpenedWidth(), 0);  // other cells untouched
}

// A slot runs from its launch until StopAll, whose wake-up ends a frame thread's wait without a
// time-out; a start that finds no memory leaves nothing running and every slot startable.
TEST(DvrSlots, SlotsStartStopAndStartAgain) {
    std::atomic<bool> out_of_memory{false};
    std::array<std::atomic<int>, CDvrSlots::kMaxDvrs> entered{};
    std::unique_ptr<CDvrSlots> made;
    made = std::make_unique<CDvrSlots>(
        NetTimeouts{},
        [&](std::size_t size_bytes) -> std::unique_ptr<uint8_t[]> {
            if (out_of_memory) return nullptr;
            return std::make_unique<uint8_t[]>(size_bytes);
        },
        [&](int a) {
            ++entered[a];
            NetCtrl& connection = made->Connection(a);
            for (;;) {
                const uint64_t wakes = connection.PicWakes();
                if (!made->Running(a)) return;
                connection.WaitForPicBufOrWake(wakes);
            }
        });
    CDvrSlots& slots = *made;
    enum class Do { kStart, kStartWithoutMemory, kStopAll, kResumeStarts };
    struct Step {
        Do what;
        int slot;
        bool result;
        std::vector<int> running;  // with their buffers; every other slot has none
        bool stopping;
    };
    const std::vector<Step> steps = {
        {Do::kStart, 3, true, {3}, false},
        {Do::kStart, 63, true, {3, 63}, false},
        {Do::kStartWithoutMemory, 5, false, {3, 63}, false},
        {Do::kStopAll, -1, true, {}, true},
        {Do::kResumeStarts, -1, true, {}, false},
        {Do::kStart, 5, true, {5}, false},
        {Do::kStart, 3, true, {3, 5}, false},
        {Do::kStopAll, -1, true, {}, true},
    };
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const Step& step = steps[i];
        bool result = true;
        switch (step.what) {
            case Do::kStart:
            case Do::kStartWithoutMemory:
                out_of_memory = step.what == Do::kStartWithoutMemory;
                result = slots.AllocateBuffers(step.slot) && slots.StartNetwork(step.slot) &&
                         slots.Launch(step.slot);
                break;
            case Do::kStopAll:
                slots.StopAll();
                break;
            case Do::kResumeStarts:
                slots.ResumeStarts();
                break;
        }
        EXPECT_EQ(result, step.result) << "step " << i;
        EXPECT_EQ(slots.Stopping().load(), step.stopping) << "step " << i;
        for (int a = 0; a < CDvrSlots::kMaxDvrs; ++a) {
            const bool runs = std::ranges::find(step.running, a) != step.running.end();
            EXPECT_EQ(slots.Running(a), runs) << "step " << i << ", slot " << a;
            EXPECT_EQ(slots.Payload(a) != nullptr && slots.Picture(a) != nullptr, runs)
                << "step " << i << ", slot " << a;
            if (runs) {
                EXPECT_TRUE(PollUntil([&] { return entered[a] > 0; })) << "step " << i;
            }
        }
    }
    EXPECT_EQ(entered[3], 2);
    EXPECT_EQ(entered[5], 1);
    EXPECT_EQ(entered[63], 1);
}

// Each of a slot's five tallies reads back in its own place, and only for that slot.
TEST(DvrSlots, FrameCountsReadEachTallyOfItsSlot) {
    CDvrSlots slots(NetTimeouts{}, {}, [](int) {});
    SlotFrameCounters& counters = slots.Counters(9);
    counters.received += 1;
    counters.decoded += 2;
    counters.shown += 3;
    counters.dropped += 4;
    counters.decode_failures += 5;
    const DvrFrameCounts got = slots.FrameCounts(9);
    EXPECT_EQ(got.received, 1u);
    EXPECT_EQ(got.decoded, 2u);
    EXPECT_EQ(got.shown, 3u);
    EXPECT_EQ(got.dropped, 4u);
    EXPECT_EQ(got.decode_failures, 5u);
    const DvrFrameCounts other = slots.FrameCounts(10);
    EXPECT_EQ(other.received + other.decoded + other.shown + other.dropped + other.decode_failures,
              0u);
}

}  // namespace
