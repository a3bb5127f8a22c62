#pragma once

#include "quar/quar_api.h"

namespace quar {

class Library;
struct Element;

// What a frame of an acquisition delivers: its size, bits per pixel and the
// module's pixel format (7: YCrCb from a TX-70's decoder board, 8: RGB).
struct VideoFormat {
    int width = 0;
    int height = 0;
    int depth = 8;
    int pixelFormat = 0;

    bool operator==(const VideoFormat &) const = default;
};

// The pixel format of YCrCb video: the TX-70 decoder board's type.
inline constexpr int kYcrcbPixelFormat = 7;

// The acquisition module behind a handle: a board's slot-0 module (an SXA's
// camera channel 0), a camera channel, or the module itself; null when the
// handle has no acquisition.
const Element *AcquisitionModuleOf(const Library &library, QRX_HANDLE handle);

// The geometry the module's registers give, worked out as the hardware would:
// active pixels and lines, interlace doubling, pixel size and colour mode.
VideoFormat VideoFormatOf(const Element &module);

}  // namespace quar
