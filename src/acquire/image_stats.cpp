// Histogram, line profile and pixel values of a frame read out at its depth.
#include "acquire/image_stats.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace qvi {

namespace {

using Layout = FramePixels::Layout;

constexpr int kByteBins = 256;
// A line the user draws lies near the image; one further out is refused
// rather than walked pixel by pixel.
constexpr int kFarthest = 1 << 16;

const std::uint8_t *PixelAt(const FramePixels &pixels, int x, int y) {
    return pixels.bytes.data() +
           (static_cast<std::size_t>(y) * static_cast<std::size_t>(pixels.width) +
            static_cast<std::size_t>(x)) *
               static_cast<std::size_t>(pixels.BytesPerPixel());
}

// A 9 to 16-bit sample keeps only the bits of its depth.
int GreyMask(const FramePixels &pixels) {
    return (1 << std::clamp(pixels.depth, 1, 16)) - 1;
}

PixelSamples Samples(const FramePixels &pixels, int x, int y) {
    const std::uint8_t *at = PixelAt(pixels, x, y);
    switch (pixels.layout) {
        case Layout::Grey8:
            return {1, {at[0], 0, 0}};
        case Layout::Grey16:
            return {1, {(at[0] | at[1] << 8) & GreyMask(pixels), 0, 0}};
        case Layout::Rgb24:
            return {3, {at[0], at[1], at[2]}};
        case Layout::Ycrcb16: {
            const int even = x & ~1;
            const std::uint8_t *pair = PixelAt(pixels, even, y);
            const int cr = even + 1 < pixels.width ? pair[3] : pair[1];
            return {3, {at[0], pair[1], cr}};
        }
    }
    return {};
}

bool Inside(const FramePixels &pixels, int x, int y) {
    return x >= 0 && y >= 0 && x < pixels.width && y < pixels.height &&
           pixels.bytes.size() >= static_cast<std::size_t>(pixels.width) *
                                      static_cast<std::size_t>(pixels.height) *
                                      static_cast<std::size_t>(pixels.BytesPerPixel());
}

}  // namespace

std::optional<PixelSamples> SamplesAt(const FramePixels &pixels, int x, int y) {
    if (!Inside(pixels, x, y)) return std::nullopt;
    return Samples(pixels, x, y);
}

std::string InspectorText(const FramePixels &pixels, int x, int y) {
    const std::optional<PixelSamples> samples = SamplesAt(pixels, x, y);
    if (!samples) return {};
    char text[96];
    const auto &v = samples->values;
    if (samples->count == 1)
        std::snprintf(text, sizeof text, "x= %d  y=%d  pix=%d", x, y, v[0]);
    else if (pixels.layout == Layout::Rgb24)
        std::snprintf(text, sizeof text, "x= %d  y=%d  R=%d G=%d B=%d", x, y, v[0], v[1], v[2]);
    else
        std::snprintf(text, sizeof text, "x= %d  y=%d  Y=%d Cb=%d Cr=%d", x, y, v[0], v[1], v[2]);
    return text;
}

int SampleMaximum(const FramePixels &pixels) {
    const bool grey = pixels.layout == Layout::Grey8 || pixels.layout == Layout::Grey16;
    return grey ? GreyMask(pixels) : kByteBins - 1;
}

std::uint32_t Histogram::Largest() const {
    std::uint32_t largest = 0;
    for (const auto &counts : channels)
        for (std::uint32_t count : counts) largest = std::max(largest, count);
    return largest;
}

// One loop per layout straight over the bytes: the tools histogram a
// 1300 x 1030 colour frame four times a second during a live grab.
Histogram HistogramOf(const FramePixels &pixels) {
    Histogram histogram;
    const bool grey = pixels.layout == Layout::Grey8 || pixels.layout == Layout::Grey16;
    histogram.depth = grey ? std::clamp(pixels.depth, 1, 16) : 8;
    const auto bins = static_cast<std::size_t>(SampleMaximum(pixels)) + 1;
    histogram.channels.assign(grey ? 1 : 3, std::vector<std::uint32_t>(bins));
    if (!Inside(pixels, 0, 0)) return histogram;
    const std::size_t count =
        static_cast<std::size_t>(pixels.width) * static_cast<std::size_t>(pixels.height);
    const std::uint8_t *at = pixels.bytes.data();
    switch (pixels.layout) {
        case Layout::Grey8: {
            std::uint32_t *counts = histogram.channels[0].data();
            for (std::size_t i = 0; i < count; ++i) ++counts[at[i] & (bins - 1)];
            break;
        }
        case Layout::Grey16: {
            std::uint32_t *counts = histogram.channels[0].data();
            const unsigned mask = static_cast<unsigned>(GreyMask(pixels));
            for (std::size_t i = 0; i < count; ++i, at += 2) ++counts[(at[0] | at[1] << 8) & mask];
            break;
        }
        case Layout::Rgb24: {
            std::uint32_t *r = histogram.channels[0].data(), *g = histogram.channels[1].data(),
                          *b = histogram.channels[2].data();
            for (std::size_t i = 0; i < count; ++i, at += 3) {
                ++r[at[0]];
                ++g[at[1]];
                ++b[at[2]];
            }
            break;
        }
        case Layout::Ycrcb16:
            for (int y = 0; y < pixels.height; ++y)
                for (int x = 0; x < pixels.width; ++x) {
                    const PixelSamples samples = Samples(pixels, x, y);
                    for (std::size_t c = 0; c < 3; ++c)
                        ++histogram.channels[c][static_cast<std::size_t>(samples.values[c])];
                }
            break;
    }
    return histogram;
}

// Bresenham's walk: every step moves one pixel along the longer axis.
std::vector<PixelSamples> LineProfile(const FramePixels &pixels, int x0, int y0, int x1, int y1) {
    std::vector<PixelSamples> profile;
    for (int coordinate : {x0, y0, x1, y1})
        if (coordinate < -kFarthest || coordinate > kFarthest) return profile;
    const int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
    const int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
    int error = dx + dy;
    for (int x = x0, y = y0;;) {
        if (Inside(pixels, x, y)) profile.push_back(Samples(pixels, x, y));
        if (x == x1 && y == y1) break;
        const int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x += sx;
        }
        if (twice <= dx) {
            error += dx;
            y += sy;
        }
    }
    return profile;
}

}  // namespace qvi
