#pragma once

// The synthetic video: a pure function of (x, y, frame number), so tests can
// work out every pixel a frame should hold.
//
// With u = (x + 2 n) mod 256 and v = y mod 256, frame n holds
//   grey of d bits   ((u + v) mod 256) << (d - 8)   diagonal ramps moving left
//   24-bit colour    R = u, G = v, B = (u + v) mod 256   (0x00RRGGBB)
//   YCrCb 4:2:2      Y = (u + v) mod 256; chroma Cb = u on even columns,
//                    Cr = v on odd ones (Y | chroma << 8)
// except the frame counter in the top-left corner: rows 0 to 7, columns 0 to
// 127 are 16 blocks of 8 x 8 pixels; block b is full white when bit b of
// n mod 65536 is set, else black (YCrCb white and black have chroma 128).
//
// Every row outside the counter is a slice of one 256-row tile at column
// offset 2n mod 256, so producing a frame costs a row copy, not a
// computation per pixel.

#include <cstdint>

namespace quar {

// How a frame holds its pixels: bytes per pixel and what they mean.
enum class PixelKind { Grey8, Grey16, Ycrcb16, Rgb32 };

struct PixelLayout {
    PixelKind kind = PixelKind::Grey8;
    int depth = 8;  // significant bits of a grey value

    int Bytes() const { return kind == PixelKind::Grey8 ? 1 : kind == PixelKind::Rgb32 ? 4 : 2; }
    bool operator==(const PixelLayout &) const = default;
};

// The layout of a depth and pixel format (7 = YCrCb).
inline PixelLayout LayoutOf(int depth, int pixelFormat) {
    if (depth == 24) return {PixelKind::Rgb32, 24};
    if (depth == 16 && pixelFormat == 7) return {PixelKind::Ycrcb16, 16};
    if (depth > 8 && depth <= 16) return {PixelKind::Grey16, depth};
    return {PixelKind::Grey8, 8};
}

inline constexpr int kCounterRows = 8;
inline constexpr int kCounterBlock = 8;
inline constexpr int kCounterBits = 16;
inline constexpr int kPatternPeriod = 256;

// The value of the pixel as qrx_rpix reports it.
inline std::uint32_t PatternPixel(int x, int y, std::uint64_t frame, PixelLayout layout) {
    const std::uint32_t u = static_cast<std::uint32_t>(x + 2 * (frame % kPatternPeriod)) % 256u;
    const std::uint32_t v = static_cast<std::uint32_t>(y) % 256u;
    std::uint32_t grey = (u + v) % 256u;
    std::uint32_t chroma = x % 2 == 0 ? u : v;
    std::uint32_t red = u;
    std::uint32_t green = v;
    if (y < kCounterRows && x < kCounterBlock * kCounterBits) {
        const bool on = (frame >> (x / kCounterBlock)) & 1u;
        grey = on ? 255u : 0u;
        chroma = 128u;
        red = green = grey;
    }
    switch (layout.kind) {
        case PixelKind::Grey8:
            return grey;
        case PixelKind::Grey16:
            if (grey == 255u && y < kCounterRows && x < kCounterBlock * kCounterBits)
                return (1u << layout.depth) - 1u;
            return grey << (layout.depth - 8);
        case PixelKind::Ycrcb16:
            return grey | chroma << 8;
        case PixelKind::Rgb32:
            return red << 16 | green << 8 | grey;
    }
    return 0;
}

}  // namespace quar
