// The digital input lines as the rack describes them.
#include "sim/digital_ports.h"

#include "sim/rack.h"

namespace quar {

std::uint32_t InputLines(const RackBoard &board, std::uint32_t outputs,
                         std::chrono::milliseconds elapsed) {
    std::uint32_t lines = board.loopback ? outputs : static_cast<std::uint32_t>(board.inputs);
    if (board.inputsPeriodMs > 0 && elapsed.count() >= 0 &&
        (elapsed.count() / board.inputsPeriodMs) % 2 == 1)
        lines ^= board.inputsToggle;
    return lines & DigitalPorts::kLineMask;
}

}  // namespace quar
