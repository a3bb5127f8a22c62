#pragma once

// The boards the acquisition tests share on the stand-in: racks and
// configurations, and what the stand-in's video pattern says about a frame.
#include <cstdint>
#include <functional>
#include <string>

#include "sim/test_pattern.h"

namespace qvi::testing {

// An SX-400 with a TX-10 at 200 frames a second.
inline constexpr const char *kLumoRack = "[Board]\nKind = SXP\nSlot0 = TX-10\nFrameRate = 200\n";

// Its section: a progressive camera whose window the library cuts to 640 x 480.
inline constexpr const char *kLumoProgressive640 = R"([Lumo:0]
[TX-10:0]
      Slot_Number = 0
[CameraPort:0]
      Name = "Progressive 640"
      Camera_Structure = Create_Structure
      HOffset = 140
      HActive = 777
      VOffset = 35
      VActive = 515
      NonInterlaced
)";

// One SX-400 per depth, each in a system of its own: 8 bits (the Lumo above),
// 16 bits (a TX-40, 320 x 240), 24 bits (a TX-70 on an RGB board, 1300 x 512).
inline const std::string kOneBoardPerDepthRack =
    std::string(kLumoRack) +
    "[Board]\nKind = SXP\nSlot0 = TX-40\nFrameRate = 200\n"
    "[Board]\nKind = SXP\nSlot0 = TX-70\nSlot0Type = 8\nFrameRate = 200\n";
inline const std::string kOneBoardPerDepth = std::string("[SYSTEM:0]\n") + kLumoProgressive640 +
                                             R"([SYSTEM:1]
[SX-400:1]
[TX-40:0]
      Slot_Number = 0
      Camera_Structure = Create_Structure
      Horizontal_Active = 316
      Vertical_Active = 240
      Pixel_Size_16
      NonInterleaved_Pixels
[SYSTEM:2]
[SX-400:2]
[TX-70:0]
      Slot_Number = 0
      RGB_Input_Board
)";

// An SXA whose two channels are 640 x 480, named A and B.
inline constexpr const char *kSxaRack = "[Board]\nKind = SXA\nChannels = 2\nFrameRate = 200\n";
inline constexpr const char *kSxaTwoChannels = R"([SXA:0]
[CameraPort:0]
      Name = "A"
      Camera_Structure = Create_Structure
      HActive = 640
      VActive = 480
[CameraPort:1]
      Name = "B"
      Camera_Structure = Create_Structure
      HActive = 640
      VActive = 480
)";

// The frame number the pattern's counter shows in an image, read through `pixel`.
inline std::uint64_t PatternFrame(const std::function<std::uint32_t(int, int)> &pixel) {
    std::uint64_t frame = 0;
    for (int bit = 0; bit < quar::kCounterBits; ++bit)
        if ((pixel(bit * quar::kCounterBlock + 3, 3) & 0xFF) != 0) frame |= std::uint64_t{1} << bit;
    return frame;
}

}  // namespace qvi::testing
