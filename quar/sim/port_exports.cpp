// The core library's digital I/O entries (quar_digital_io.h). The output
// lines live in the board's library parameter 131, so the parameter route
// the SX-400 uses and the port entries always agree.
#include "quar/quar_digital_io.h"

#include <chrono>
#include <cmath>

#include "sim/digital_ports.h"
#include "sim/library.h"

using quar::DigitalPorts;
using quar::Element;
using quar::Library;

namespace {

// A board that is in the rack, else null.
Element *PresentBoard(QRX_HANDLE board) {
    Library &library = Library::Instance();
    return library.RackBoardOf(board) ? library.Find(board) : nullptr;
}

bool IsLineValue(int32_t value) {
    return value >= 0 && static_cast<std::uint32_t>(value) <= DigitalPorts::kLineMask;
}

bool IsFlag(int32_t value) {
    return value == 0 || value == 1;
}

// Parameter 131 may have been set to anything through qrx_set_param; only
// its lines count.
std::uint32_t OutputLines(const Element &board) {
    auto found = board.params.find(DigitalPorts::kOutputPortParam);
    if (found == board.params.end() || !std::isfinite(found->second) || found->second < 0) return 0;
    const double value = std::fmod(std::trunc(found->second), 4294967296.0);
    return static_cast<std::uint32_t>(value) & DigitalPorts::kLineMask;
}

}  // namespace

extern "C" {

int qrx_inport_val(QRX_HANDLE board, int32_t port) {
    Element *element = PresentBoard(board);
    if (element == nullptr || port != 0) return -1;
    if (element->ports.bufferEnable == 0) return 0;
    const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - element->ports.since);
    return static_cast<int>(
        quar::InputLines(*Library::Instance().RackBoardOf(board), OutputLines(*element), elapsed));
}

int qrx_outport_val(QRX_HANDLE board, int32_t value) {
    Element *element = PresentBoard(board);
    if (element == nullptr || !IsLineValue(value)) return -1;
    element->params[DigitalPorts::kOutputPortParam] = value;
    return 0;
}

int qrx_outport_strobe_val(QRX_HANDLE board, int32_t value) {
    if (qrx_outport_val(board, value) != 0) return -1;
    ++Library::Instance().Find(board)->ports.strobes;
    return 0;
}

int qrx_inport_mode(QRX_HANDLE board, int32_t bufferEnable, int32_t strobePolarity) {
    Element *element = PresentBoard(board);
    if (element == nullptr || !IsFlag(bufferEnable) || !IsFlag(strobePolarity)) return -1;
    element->ports.bufferEnable = bufferEnable;
    element->ports.strobePolarity = strobePolarity;
    return 0;
}

int qrx_inport_intrpol(QRX_HANDLE board, int32_t polarity) {
    Element *element = PresentBoard(board);
    if (element == nullptr || !IsFlag(polarity)) return -1;
    element->ports.interruptPolarity = polarity;
    return 0;
}

}  // extern "C"
