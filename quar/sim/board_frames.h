#pragma once

#include <optional>

#include "quar/quar_api.h"
#include "sim/video_geometry.h"
#include "sim/video_store.h"

namespace quar {

class Library;

// A frame named by the program: a board and its frame number. An SXA camera
// channel's handle names its board and, as frame, its channel number.
struct FrameName {
    QRX_HANDLE board = 0;
    int frame = 0;
};
std::optional<FrameName> NameFrame(const Library &library, QRX_HANDLE handle, int frame);

// The format a board's frame has: an SX-400's camera frame 0 and an SXA's
// channel buffers follow their acquisition module; a DQ-500's memories A0,
// A1, B1 and the overlay are 8-bit, the A0+A1 pair 10 to 16-bit and true
// colour 24-bit, all at its acquisition module's size (640 x 480 without
// one). Nullopt for a frame the board does not have.
std::optional<VideoFormat> FrameFormatOf(const Library &library, const FrameName &name);

// The frame, configured to its current format and the rack's frame rate;
// null for a frame the board does not have. Caller holds the store's lock.
Frame *CurrentFrame(const Library &library, const FrameName &name);

// The camera frame of a board: 0 for a board with an acquisition module.
int CameraFrame(const Library &library, QRX_HANDLE board);

}  // namespace quar
