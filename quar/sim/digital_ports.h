#pragma once

#include <chrono>
#include <cstdint>

namespace quar {

struct RackBoard;

// A board's digital I/O port beyond what the rack fixes: how the input port
// was set up and how often the output strobe fired. The output lines
// themselves are the board's library parameter kOutputPortParam, so that
// qrx_outport_val and qrx_set_param write the same port.
struct DigitalPorts {
    static constexpr int kOutputPortParam = 131;
    // The port has 16 lines each way.
    static constexpr std::uint32_t kLineMask = 0xFFFF;

    int bufferEnable = 1;       // the input buffer comes up on; off, the inputs read 0
    int strobePolarity = 0;     // 0 rising edge, 1 falling edge
    int interruptPolarity = 0;  // 0 rising edge, 1 falling edge
    int strobes = 0;            // outputs written with a strobe pulse
    // Inputs that toggle count their periods from here.
    std::chrono::steady_clock::time_point since = std::chrono::steady_clock::now();
};

// What the input lines read `elapsed` after the board came up: the rack's
// Inputs, or the output lines when the rack loops them back, with the rack's
// InputsToggle lines inverted during every odd InputsPeriod.
std::uint32_t InputLines(const RackBoard &board, std::uint32_t outputs,
                         std::chrono::milliseconds elapsed);

}  // namespace quar
