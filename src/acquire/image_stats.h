#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "system/frame_pixels.h"

namespace qvi {

// What the image tools show of a frame: its histogram, the values along a
// line, and the value under the mouse, at the frame's own depth.

// One pixel's samples: one for grey, three for colour (red, green, blue)
// and for YCrCb (Y, Cb, Cr; the chroma of the pixel's pair).
struct PixelSamples {
    int count = 0;
    std::array<int, 3> values{};
};
std::optional<PixelSamples> SamplesAt(const FramePixels &pixels, int x, int y);

// The inspector's text: "x= 10  y=20  pix=4095" for grey,
// "x= 10  y=20  R=1 G=2 B=3" for colour, "x= 10  y=20  Y=1 Cb=2 Cr=3" for
// YCrCb; empty outside the image.
std::string InspectorText(const FramePixels &pixels, int x, int y);

// The largest value a sample of the frame can hold: 2^depth - 1 for grey,
// 255 for colour and YCrCb.
int SampleMaximum(const FramePixels &pixels);

// Counts per sample value, one row of counts per channel; a grey image of
// depth d has 2^d bins, colour and YCrCb 256 per channel. An empty image
// has its bins, all zero.
struct Histogram {
    int depth = 8;
    std::vector<std::vector<std::uint32_t>> channels;
    std::uint32_t Largest() const;
};
Histogram HistogramOf(const FramePixels &pixels);

// The samples of every pixel on the straight line from (x0, y0) to (x1,
// y1), both ends included, in order; the points outside the image are left
// out.
std::vector<PixelSamples> LineProfile(const FramePixels &pixels, int x0, int y0, int x1, int y1);

}  // namespace qvi
