// The image tools' cost per refresh on the largest frames: a histogram of a
// 1300 x 1030 colour frame and of a 16-bit grey one, and a diagonal profile.
// The tools refresh four times a second; "share" is the part of one core
// that takes (at most 10 % is the aim).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>

#include "acquire/image_stats.h"

namespace {

using qvi::FramePixels;

constexpr int kRefreshesPerSecond = 4;

FramePixels Frame(FramePixels::Layout layout, int depth) {
    FramePixels pixels{layout, depth, 1300, 1030, {}};
    pixels.bytes.resize(static_cast<std::size_t>(pixels.width) * pixels.height *
                        pixels.BytesPerPixel());
    std::uint32_t seed = 12345;
    for (std::uint8_t &byte : pixels.bytes) {
        seed = seed * 1664525u + 1013904223u;
        byte = static_cast<std::uint8_t>(seed >> 24);
    }
    return pixels;
}

// Per cent of one core the refreshes of one second take.
template <typename Work>
void MeasureShare(benchmark::State &state, Work work) {
    double seconds = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        work();
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    state.counters["share_pct"] =
        seconds / static_cast<double>(state.iterations()) * kRefreshesPerSecond * 100.0;
}

void BM_HistogramColour1300x1030(benchmark::State &state) {
    const FramePixels pixels = Frame(FramePixels::Layout::Rgb24, 24);
    MeasureShare(state, [&] { benchmark::DoNotOptimize(qvi::HistogramOf(pixels)); });
}
BENCHMARK(BM_HistogramColour1300x1030)->Unit(benchmark::kMillisecond);

void BM_HistogramGrey16_1300x1030(benchmark::State &state) {
    const FramePixels pixels = Frame(FramePixels::Layout::Grey16, 16);
    MeasureShare(state, [&] { benchmark::DoNotOptimize(qvi::HistogramOf(pixels)); });
}
BENCHMARK(BM_HistogramGrey16_1300x1030)->Unit(benchmark::kMillisecond);

void BM_DiagonalProfileColour(benchmark::State &state) {
    const FramePixels pixels = Frame(FramePixels::Layout::Rgb24, 24);
    for (auto _ : state) benchmark::DoNotOptimize(qvi::LineProfile(pixels, 0, 0, 1299, 1029));
}
BENCHMARK(BM_DiagonalProfileColour)->Unit(benchmark::kMicrosecond);

}  // namespace
