#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "platform/surface/VideoSurface.h"
#include "tests/support/SurfacePixels.h"

namespace {

// Draws a src_width x src_height picture whose pixel (x, y) encodes its own position: blue x,
// green y (their low bytes), red the picture's tag, opaque.
void Draw(CVideoSurface& surface, int left, int top, int right, int bottom, int src_width,
          int src_height, std::uint32_t tag = 0x80) {
    surface.DrawScaledRows(
        {left, top, right, bottom}, src_width, src_height, [tag](const ScaledRow& row) {
            for (int i = 0; i < row.count; ++i)
                row.out[i] = 0xFF000000u | tag << 16 |
                             (static_cast<std::uint32_t>(row.src_y) & 0xFFu) << 8 |
                             (static_cast<std::uint32_t>(row.columns[i]) & 0xFFu);
        });
}

std::vector<std::uint32_t> PixelsOf(const CVideoSurface& surface) {
    std::vector<std::uint32_t> pixels;
    surface.Read([&](const std::uint32_t* data, int width, int height) {
        pixels.assign(data, data + static_cast<std::size_t>(width) * height);
    });
    return pixels;
}

// The rectangle's pixels out of a whole surface's, rows of width.
std::vector<std::uint32_t> Area(const std::vector<std::uint32_t>& pixels, int width,
                                const ScreenRect& rect) {
    std::vector<std::uint32_t> area;
    for (int y = rect.top; y < rect.bottom; ++y) {
        const auto row = pixels.begin() + static_cast<std::ptrdiff_t>(y) * width;
        area.insert(area.end(), row + rect.left, row + rect.right);
    }
    return area;
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

// Frame threads drawing at once leave what drawing one after another leaves; where cells
// overlap, every read finds one whole picture, never rows of two. Small cells, a cell cut by
// the surface's edge and cells too large to be staged.
TEST(VideoSurfaceTest, DrawsAtOnceLandWholeAsIfOneAfterAnother) {
    const ScreenRect whole_surface{0, 0, 800, 400};
    struct Drawer {
        ScreenRect cell;  // drawers of one cell draw over each other
        int src_width;
        int src_height;
    };
    const std::vector<Drawer> drawers = {
        {{0, 0, 84, 68}, 352, 288},      {{84, 0, 168, 68}, 176, 144},
        {{0, 68, 84, 136}, 40, 30},      {{84, 68, 400, 380}, 352, 288},
        {{260, 0, 344, 68}, 352, 288},   {{260, 0, 344, 68}, 176, 144},
        {{260, 0, 344, 68}, 704, 576},   {{760, 350, 860, 450}, 64, 48},
        {{760, 350, 860, 450}, 100, 99}, {{410, 10, 750, 340}, 352, 288},
        {{410, 10, 750, 340}, 704, 576},
    };
    std::vector<std::vector<std::uint32_t>> alone;  // each drawer's cell drawn by it alone
    for (std::size_t i = 0; i < drawers.size(); ++i) {
        auto reference = SurfaceOfSize(whole_surface.right, whole_surface.bottom);
        const Drawer& d = drawers[i];
        Draw(*reference, d.cell.left, d.cell.top, d.cell.right, d.cell.bottom, d.src_width,
             d.src_height, static_cast<std::uint32_t>(i));
        alone.push_back(
            Area(PixelsOf(*reference), whole_surface.right, d.cell.Intersected(whole_surface)));
    }
    // Every cell holds one of its drawers' pictures, or nothing before all have drawn.
    const auto check = [&](const std::vector<std::uint32_t>& pixels, bool all_drawn) {
        for (std::size_t i = 0; i < drawers.size(); ++i) {
            const auto found =
                Area(pixels, whole_surface.right, drawers[i].cell.Intersected(whole_surface));
            bool whole = !all_drawn &&
                         std::all_of(found.begin(), found.end(), [](auto p) { return p == 0u; });
            for (std::size_t j = 0; j < drawers.size(); ++j)
                whole = whole || (drawers[j].cell == drawers[i].cell && found == alone[j]);
            EXPECT_TRUE(whole) << "cell of drawer " << i << " mixes pictures";
        }
    };

    auto surface = SurfaceOfSize(whole_surface.right, whole_surface.bottom);
    std::atomic<int> finished{0};
    std::vector<std::thread> frame_threads;
    for (std::size_t i = 0; i < drawers.size(); ++i) {
        frame_threads.emplace_back([&, i] {
            const Drawer& d = drawers[i];
            for (int n = 0; n < 300; ++n)
                Draw(*surface, d.cell.left, d.cell.top, d.cell.right, d.cell.bottom, d.src_width,
                     d.src_height, static_cast<std::uint32_t>(i));
            finished.fetch_add(1);
        });
    }
    do {
        check(PixelsOf(*surface), false);
    } while (finished.load() < static_cast<int>(drawers.size()));
    for (std::thread& t : frame_threads)
        t.join();
    check(PixelsOf(*surface), true);
}

// A window that moves, resizes or narrows its clip while a frame thread converts a picture:
// the picture lands as if drawn after the change, never at the old place or outside the clip.
TEST(VideoSurfaceTest, AWindowChangeDuringAConversionPlacesThePictureByTheNewGeometry) {
    struct Case {
        const char* name;
        std::function<void(CVideoSurface&)> change;
    };
    const std::vector<Case> cases = {
        {"clip narrowed",
         [](CVideoSurface& s) {
             s.ClipTo({0, 0, 30, 100});
         }},
        {"clip emptied", [](CVideoSurface& s) { s.ClipTo({}); }},
        {"moved", [](CVideoSurface& s) { s.SetOrigin(7, -5); }},
        {"made smaller", [](CVideoSurface& s) { s.Resize(25, 20); }},
        {"made larger", [](CVideoSurface& s) { s.Resize(140, 120); }},
        {"unchanged", [](CVideoSurface& s) { s.SetOrigin(0, 0); }},
    };
    const ScreenRect cell{10, 10, 60, 50};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto expected = SurfaceOfSize(100, 100);
        c.change(*expected);
        const int expected_rows = expected->DrawScaledRows(cell, 40, 40, [](const ScaledRow& row) {
            std::fill(row.out, row.out + row.count, 0xFF102030u);
        });

        auto surface = SurfaceOfSize(100, 100);
        bool changed = false;
        // The rows of a cell this small are written without the surface's lock: the change
        // lands between their conversion and their copy.
        const int rows = surface->DrawScaledRows(cell, 40, 40, [&](const ScaledRow& row) {
            if (!changed) {
                changed = true;
                c.change(*surface);
            }
            std::fill(row.out, row.out + row.count, 0xFF102030u);
        });
        EXPECT_EQ(rows, expected_rows);
        EXPECT_EQ(surface->Width(), expected->Width());
        EXPECT_EQ(PixelsOf(*surface), PixelsOf(*expected));
    }
}
