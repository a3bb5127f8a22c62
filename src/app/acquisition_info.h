#pragma once

#include <memory>
#include <optional>

namespace qvi {

class FrameSink;
class QV_system;

// What a board's acquisition module reports about the image it delivers, in
// the order a board asks before it grabs (the type of its input board, which
// is the pixel format, then depth, height and width), with the hardware
// revision.
struct AcquisitionInfo {
    int pixelFormat = 0;
    int bitsPerPixel = 0;
    int height = 0;
    int width = 0;
    int hardwareRevision = 0;
};

// For a board: its acquisition module's image and the board's own revision.
// For an acquisition module or an SXA camera channel: its image and the
// revision it reports itself. Without hardware the revision is 0. Any other
// element is reported, naming its index, and gives nothing.
std::optional<AcquisitionInfo> AcquisitionInfoOf(const QV_system &system, int index);

// The memory a window without a window draws into for an element: the size
// and depth of its image, grey bytes for 8 bits; 2048 x 2048 when the element
// does not tell its size (the library clips what does not fit).
std::unique_ptr<FrameSink> FrameSinkFor(const QV_system &system, int index);

}  // namespace qvi
