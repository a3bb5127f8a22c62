#pragma once

#include <cstdint>
#include <vector>

namespace qvi {

// A board's frame as the library reads it out: rows one after the other,
// 8-bit grey one byte a pixel, 9 to 16-bit grey two (low byte first),
// 24-bit colour three (red, green, blue), YCrCb two (Y, then the pair's
// Cb on even and Cr on odd columns).
struct FramePixels {
    enum class Layout { Grey8, Grey16, Rgb24, Ycrcb16 };
    Layout layout = Layout::Grey8;
    int depth = 8;
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> bytes;

    int BytesPerPixel() const {
        return layout == Layout::Grey8 ? 1 : layout == Layout::Rgb24 ? 3 : 2;
    }
};

}  // namespace qvi
