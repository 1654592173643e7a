// The engine's rooms on their own: the device registry's mirrors for the frame threads and
// the cells' decoder pairs.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <vector>

#include "liveview/manager/CellDecoders.h"
#include "liveview/manager/DvrRegistry.h"
#include "platform/records/DvrMachineInfo.h"
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

}  // namespace
