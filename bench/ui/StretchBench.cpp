// Frame threads draw every decoded picture into the video surface, scaled nearest-neighbour:
// from a decoder's 4:2:0 planes (the live view), from packed 4:2:2 (DDrawCtrl) and from 24-bit
// rows (the renderer's picture). Measured against libyuv doing the same with its own scalers
// and converters (and, for packed 4:2:2, libswscale too) on the same pictures.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

extern "C" {
#include <libswscale/swscale.h>
}
#include <libyuv.h>

#include "bench/support/BenchPairs.h"
#include "common/ui/core/GdiRenderer.h"
#include "platform/ddraw/Yuy2Picture.h"
#include "platform/surface/VideoSurface.h"

namespace {

struct Size {
    int src_w, src_h, dest_w, dest_h;
    std::string Name() const {
        return std::to_string(src_w) + "x" + std::to_string(src_h) + " to " +
               std::to_string(dest_w) + "x" + std::to_string(dest_h);
    }
};

// The cells of the 256-, 64- and 16-cell views of a 1408 x 1152 grid and a single enlarged
// cell; D1 pictures into the smallest cells too.
constexpr Size kPlanarCases[] = {
    {352, 288, 88, 72}, {352, 288, 176, 144}, {720, 576, 1280, 960}, {720, 576, 88, 72}};
constexpr Size kPackedCases[] = {{352, 288, 176, 144}, {720, 576, 1280, 960}, {352, 288, 88, 72}};

std::vector<uint8_t> Noise(std::size_t bytes) {
    std::vector<uint8_t> data(bytes);
    unsigned state = 12345;
    for (uint8_t& b : data) {
        state = state * 1103515245u + 12345u;
        b = static_cast<uint8_t>(state >> 16);
    }
    return data;
}

std::shared_ptr<CVideoSurface> SurfaceOf(const Size& s) {
    auto surface = std::make_shared<CVideoSurface>();
    surface->Resize(s.dest_w, s.dest_h);
    return surface;
}

struct Planes {
    explicit Planes(const Size& s)
        : width(s.src_w),
          height(s.src_h),
          bytes(Noise(static_cast<std::size_t>(width) * height * 3 / 2)) {}
    const uint8_t* Y() const { return bytes.data(); }
    const uint8_t* U() const { return bytes.data() + width * height; }
    const uint8_t* V() const { return bytes.data() + width * height * 5 / 4; }
    DecodedPicture Decoded() const {
        return {Y(), U(), V(), width, width / 2, width / 2, width, height};
    }
    int width, height;
    std::vector<uint8_t> bytes;
};

void OursPlanar(benchmark::State& state, Size s) {
    auto surface = SurfaceOf(s);
    CGdiRenderer renderer;
    renderer.SetDC(surface);
    const Planes picture(s);
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            renderer.DrawPlanes({0, 0, s.dest_w, s.dest_h}, s.src_w, s.src_h, picture.Decoded()));
        surface->TakeDirty();
    }
}

// libyuv: the planes scaled point-sampled to the cell's size, then converted into 32-bit rows.
void LibyuvPlanar(benchmark::State& state, Size s) {
    const Planes picture(s);
    const int cw = (s.dest_w + 1) / 2;
    std::vector<uint8_t> y(static_cast<std::size_t>(s.dest_w) * s.dest_h);
    std::vector<uint8_t> u(static_cast<std::size_t>(cw) * ((s.dest_h + 1) / 2));
    std::vector<uint8_t> v(u.size());
    std::vector<uint8_t> argb(static_cast<std::size_t>(s.dest_w) * s.dest_h * 4);
    for (auto _ : state) {
        libyuv::I420Scale(picture.Y(), s.src_w, picture.U(), s.src_w / 2, picture.V(), s.src_w / 2,
                          s.src_w, s.src_h, y.data(), s.dest_w, u.data(), cw, v.data(), cw,
                          s.dest_w, s.dest_h, libyuv::kFilterNone);
        libyuv::I420ToARGB(y.data(), s.dest_w, u.data(), cw, v.data(), cw, argb.data(),
                           s.dest_w * 4, s.dest_w, s.dest_h);
        benchmark::DoNotOptimize(argb.data());
        benchmark::ClobberMemory();
    }
}

void OursYuy2(benchmark::State& state, Size s) {
    auto surface = SurfaceOf(s);
    const auto picture = Noise(static_cast<std::size_t>(s.src_w) * s.src_h * 2);
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            DrawYuy2(*surface, {0, 0, s.dest_w, s.dest_h}, s.src_w, s.src_h, picture.data()));
        surface->TakeDirty();
    }
}

// libyuv, converting first: the whole picture to 32-bit rows, then those point-sampled.
void LibyuvYuy2ConvertFirst(benchmark::State& state, Size s) {
    const auto picture = Noise(static_cast<std::size_t>(s.src_w) * s.src_h * 2);
    std::vector<uint8_t> whole(static_cast<std::size_t>(s.src_w) * s.src_h * 4);
    std::vector<uint8_t> argb(static_cast<std::size_t>(s.dest_w) * s.dest_h * 4);
    for (auto _ : state) {
        libyuv::YUY2ToARGB(picture.data(), s.src_w * 2, whole.data(), s.src_w * 4, s.src_w,
                           s.src_h);
        libyuv::ARGBScale(whole.data(), s.src_w * 4, s.src_w, s.src_h, argb.data(), s.dest_w * 4,
                          s.dest_w, s.dest_h, libyuv::kFilterNone);
        benchmark::DoNotOptimize(argb.data());
        benchmark::ClobberMemory();
    }
}

// libyuv, scaling first: the picture to planes, those point-sampled, then converted.
void LibyuvYuy2ScaleFirst(benchmark::State& state, Size s) {
    const auto picture = Noise(static_cast<std::size_t>(s.src_w) * s.src_h * 2);
    const int scw = s.src_w / 2;
    const int cw = (s.dest_w + 1) / 2;
    std::vector<uint8_t> sy(static_cast<std::size_t>(s.src_w) * s.src_h);
    std::vector<uint8_t> su(static_cast<std::size_t>(scw) * (s.src_h / 2));
    std::vector<uint8_t> sv(su.size());
    std::vector<uint8_t> y(static_cast<std::size_t>(s.dest_w) * s.dest_h);
    std::vector<uint8_t> u(static_cast<std::size_t>(cw) * ((s.dest_h + 1) / 2));
    std::vector<uint8_t> v(u.size());
    std::vector<uint8_t> argb(static_cast<std::size_t>(s.dest_w) * s.dest_h * 4);
    for (auto _ : state) {
        libyuv::YUY2ToI420(picture.data(), s.src_w * 2, sy.data(), s.src_w, su.data(), scw,
                           sv.data(), scw, s.src_w, s.src_h);
        libyuv::I420Scale(sy.data(), s.src_w, su.data(), scw, sv.data(), scw, s.src_w, s.src_h,
                          y.data(), s.dest_w, u.data(), cw, v.data(), cw, s.dest_w, s.dest_h,
                          libyuv::kFilterNone);
        libyuv::I420ToARGB(y.data(), s.dest_w, u.data(), cw, v.data(), cw, argb.data(),
                           s.dest_w * 4, s.dest_w, s.dest_h);
        benchmark::DoNotOptimize(argb.data());
        benchmark::ClobberMemory();
    }
}

void SwscaleYuy2(benchmark::State& state, Size s) {
    SwsContext* context = sws_getContext(s.src_w, s.src_h, AV_PIX_FMT_YUYV422, s.dest_w, s.dest_h,
                                         AV_PIX_FMT_BGRA, SWS_POINT, nullptr, nullptr, nullptr);
    const auto picture = Noise(static_cast<std::size_t>(s.src_w) * s.src_h * 2);
    std::vector<uint8_t> out(static_cast<std::size_t>(s.dest_w) * s.dest_h * 4);
    const uint8_t* src[] = {picture.data()};
    const int src_stride[] = {s.src_w * 2};
    uint8_t* dst[] = {out.data()};
    const int dst_stride[] = {s.dest_w * 4};
    for (auto _ : state) {
        benchmark::DoNotOptimize(sws_scale(context, src, src_stride, 0, s.src_h, dst, dst_stride));
    }
    sws_freeContext(context);
}

void OursBgr24(benchmark::State& state, Size s) {
    auto surface = SurfaceOf(s);
    CGdiRenderer renderer;
    renderer.SetDC(surface);
    const auto picture = Noise(static_cast<std::size_t>(s.src_w) * s.src_h * 3);
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            renderer.Draw(0, 0, s.dest_w, s.dest_h, s.src_w, s.src_h, picture.data()));
        surface->TakeDirty();
    }
}

// libyuv has no 24-bit scaler: the whole picture to 32-bit rows, then those point-sampled.
void LibyuvBgr24(benchmark::State& state, Size s) {
    const auto picture = Noise(static_cast<std::size_t>(s.src_w) * s.src_h * 3);
    std::vector<uint8_t> whole(static_cast<std::size_t>(s.src_w) * s.src_h * 4);
    std::vector<uint8_t> argb(static_cast<std::size_t>(s.dest_w) * s.dest_h * 4);
    for (auto _ : state) {
        libyuv::RGB24ToARGB(picture.data(), s.src_w * 3, whole.data(), s.src_w * 4, s.src_w,
                            s.src_h);
        libyuv::ARGBScale(whole.data(), s.src_w * 4, s.src_w, s.src_h, argb.data(), s.dest_w * 4,
                          s.dest_w, s.dest_h, libyuv::kFilterNone);
        benchmark::DoNotOptimize(argb.data());
        benchmark::ClobberMemory();
    }
}

template <typename Function>
void Pair(const std::string& what, const std::string& ours_name, Function ours,
          const std::string& peer_name, Function peer, const Size& s) {
    const std::string ours_id = what + "/" + ours_name + "/" + s.Name();
    const std::string peer_id = what + "/" + peer_name + "/" + s.Name();
    Repeated(benchmark::RegisterBenchmark(ours_id.c_str(), ours, s))->Unit(benchmark::kMicrosecond);
    Repeated(benchmark::RegisterBenchmark(peer_id.c_str(), peer, s))->Unit(benchmark::kMicrosecond);
    AddBenchPair(what + " " + s.Name() + " vs " + peer_name, ours_id, peer_id);
}

const bool kRegistered = [] {
    using Bench = void (*)(benchmark::State&, Size);
    for (const Size& s : kPlanarCases) {
        Pair<Bench>("planes", "ours", OursPlanar, "libyuv", LibyuvPlanar, s);
    }
    for (const Size& s : kPackedCases) {
        const std::string ours = "yuy2/ours/" + s.Name();
        Repeated(benchmark::RegisterBenchmark(ours.c_str(), OursYuy2, s))
            ->Unit(benchmark::kMicrosecond);
        const struct {
            const char* name;
            Bench peer;
        } peers[] = {{"libyuv convert first", LibyuvYuy2ConvertFirst},
                     {"libyuv scale first", LibyuvYuy2ScaleFirst},
                     {"swscale", SwscaleYuy2}};
        for (const auto& peer : peers) {
            const std::string id = std::string("yuy2/") + peer.name + "/" + s.Name();
            Repeated(benchmark::RegisterBenchmark(id.c_str(), peer.peer, s))
                ->Unit(benchmark::kMicrosecond);
            AddBenchPair("yuy2 " + s.Name() + " vs " + peer.name, ours, id);
        }
    }
    for (const Size& s : {kPackedCases[0], kPackedCases[1]}) {
        Pair<Bench>("bgr24", "ours", OursBgr24, "libyuv", LibyuvBgr24, s);
    }
    return true;
}();

}  // namespace
