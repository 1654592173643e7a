#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <thread>
#include <vector>

#include "platform/surface/VideoSurface.h"
#include "tests/support/SurfacePixels.h"

namespace {

// Draws a src_width x src_height picture whose pixel (x, y) encodes its own position: blue x,
// green y, red 0x80, opaque.
void Draw(CVideoSurface& surface, int left, int top, int right, int bottom, int src_width,
          int src_height) {
    surface.DrawScaledRows(
        {left, top, right, bottom}, src_width, src_height, [](const ScaledRow& row) {
            for (int i = 0; i < row.count; ++i)
                row.out[i] = 0xFF800000u | static_cast<std::uint32_t>(row.src_y) << 8 |
                             static_cast<std::uint32_t>(row.columns[i]);
        });
}

}  // namespace

TEST(VideoSurfaceTest, PaintRequestsCoalesceUntilTheWindowTakesTheDirtyArea) {
    auto surface = SurfaceOfSize(100, 100);
    int requests = 0;
    surface->SetPaintRequest([&] { ++requests; });
    Draw(*surface, 10, 10, 20, 20, 4, 4);
    Draw(*surface, 50, 60, 70, 80, 4, 4);
    EXPECT_EQ(requests, 1);
    EXPECT_EQ(surface->TakeDirty(), (ScreenRect{10, 10, 70, 80}));
    EXPECT_TRUE(surface->TakeDirty().IsEmpty());
    Draw(*surface, 0, 0, 4, 4, 4, 4);
    EXPECT_EQ(requests, 2);
    surface->SetPaintRequest(nullptr);
    Draw(*surface, 0, 0, 4, 4, 4, 4);
    EXPECT_EQ(requests, 2);
}

TEST(VideoSurfaceTest, ClearMakesPicturesTransparentAndResizeKeepsTheOverlap) {
    auto surface = SurfaceOfSize(20, 20);
    Draw(*surface, 0, 0, 20, 20, 20, 20);
    surface->Clear({5, 5, 10, 10});
    EXPECT_EQ(PixelAt(*surface, 5, 5), 0u);
    EXPECT_EQ(PixelAt(*surface, 9, 9), 0u);
    EXPECT_EQ(PixelAt(*surface, 10, 10), 0xFF800A0Au);
    surface->Clear({-5, -5, 100, 2});  // clipped, not past the pixels
    EXPECT_EQ(PixelAt(*surface, 19, 1), 0u);

    surface->Resize(30, 12);
    EXPECT_EQ(surface->Width(), 30);
    EXPECT_EQ(PixelAt(*surface, 19, 11), 0xFF800B13u);
    EXPECT_EQ(PixelAt(*surface, 25, 5), 0u);
}

// Frame threads draw while the window thread takes, clears and reads; run under TSan.
TEST(VideoSurfaceTest, FrameThreadsAndTheWindowThreadShareTheSurface) {
    auto surface = SurfaceOfSize(320, 240);
    std::atomic<int> requests{0};
    surface->SetPaintRequest([&] { requests.fetch_add(1, std::memory_order_relaxed); });
    std::atomic<bool> stop{false};
    std::atomic<int> draws{0};
    std::vector<std::thread> frame_threads;
    for (int t = 0; t < 4; ++t) {
        frame_threads.emplace_back([&, t] {
            while (!stop.load()) {
                Draw(*surface, t * 80, 0, t * 80 + 80, 120, 64 + 16 * t, 48);
                draws.fetch_add(1);
            }
        });
    }
    bool resized = false;
    while (draws.load() < 2000) {
        surface->TakeDirty();
        surface->Clear({0, 0, 320, 60});
        surface->Read([](const std::uint32_t*, int, int) {});
        if (!resized && draws.load() > 1000) {
            surface->Resize(300, 200);
            resized = true;
        }
    }
    stop.store(true);
    for (std::thread& t : frame_threads)
        t.join();
    EXPECT_GT(requests.load(), 0);
}

// Every scale a cell takes, cut by the surface's edge or not: each pixel is the nearest source
// pixel, rows and columns dropped or repeated.
