#pragma once

namespace qvi {

// The moves a scroll bar reports, whatever its orientation: back is up or
// left, forward is down or right.
enum class ScrollMove {
    LineBack,
    LineForward,
    PageBack,
    PageForward,
    ThumbPosition,  // the thumb was released at a position
    ThumbTrack,     // the thumb is being dragged through a position
    ToStart,        // top, or left end
    ToEnd,          // bottom, or right end
};

}  // namespace qvi
