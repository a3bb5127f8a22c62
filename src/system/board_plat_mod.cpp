// The motherboard platform object base: slots, register access and board operations.
#include "system/board_plat_mod.h"

#include "library/hardware.h"
#include "library/library_binding.h"

namespace qvi {

namespace {
// The output lines as the library holds them.
constexpr int kOutputPortParam = 131;
}  // namespace

std::vector<std::string> QV_board_plat_mod::DetectModules() {
    return {};
}

int QV_board_plat_mod::SaveImageFile(const std::string &) {
    return 0;
}

int QV_board_plat_mod::LoadImageFile(const std::string &, void *, int &, int &) {
    return 0;
}

void QV_board_plat_mod::SetTriggerMode(int) {}

int QV_board_plat_mod::TriggerDone() {
    return 0;
}

int QV_board_plat_mod::WaitTrigger(int) {
    return 0;
}

int QV_board_plat_mod::GrabLive(void *, int &, int &) {
    return 0;
}

int QV_board_plat_mod::Acquire(void *, int &, int &, int) {
    return 0;
}

int QV_board_plat_mod::Redraw(int) {
    return 1;
}

int QV_board_plat_mod::ReadPixel(int, int) {
    return 0;
}

ImageDocument *QV_board_plat_mod::Document(int channel) const {
    if (channel < 0 || channel >= static_cast<int>(documents_.size())) return nullptr;
    return documents_[static_cast<std::size_t>(channel)];
}

void QV_board_plat_mod::SetDocument(int channel, ImageDocument *document) {
    if (channel < 0 || channel >= static_cast<int>(documents_.size())) return;
    documents_[static_cast<std::size_t>(channel)] = document;
}

bool QV_board_plat_mod::PortsUsable() const {
    return Binding() != nullptr && HardwareEnabled();
}

int QV_board_plat_mod::ReadInputs(int bit) {
    auto read = PortsUsable() ? Binding()->Entry<&::qrx_inport_val>() : nullptr;
    const int value = read ? read(Handle(), 0) : 0;
    if (bit < 0) return value;
    if (bit > 15) return 0;
    return ((value & 0xFFFF) >> bit) & 1;
}

std::int16_t QV_board_plat_mod::SetOutputBit(int, int) {
    return 0;
}

std::int16_t QV_board_plat_mod::OutputPortBit(int bit, int state) {
    if (bit < 0 || bit > 31) return 0;
    const auto port =
        static_cast<std::uint32_t>(static_cast<std::int64_t>(LibraryParam(kOutputPortParam)));
    const std::uint32_t mask = 1u << bit;
    if (state == -1) return (port & mask) ? 1 : 0;
    const std::uint32_t changed = state ? (port | mask) : (port & ~mask);
    return static_cast<std::int16_t>(SetLibraryParam(kOutputPortParam, changed));
}

double QV_board_plat_mod::LibraryParam(int param) const {
    auto getParam = Binding() ? Binding()->Entry<&::qrx_get_param>() : nullptr;
    return getParam ? getParam(Handle(), param) : 0.0;
}

int QV_board_plat_mod::SetLibraryParam(int param, double value) const {
    auto setParam = Binding() ? Binding()->Entry<&::qrx_set_param>() : nullptr;
    return setParam ? setParam(Handle(), param, value) : -1;
}

int QV_board_plat_mod::SetOutputValue(int value) {
    auto write = PortsUsable() ? Binding()->Entry<&::qrx_outport_val>() : nullptr;
    return write ? write(Handle(), value) : 0;
}

int QV_board_plat_mod::SetInputMode(int bufferEnable, int strobePolarity) {
    auto mode = PortsUsable() ? Binding()->Entry<&::qrx_inport_mode>() : nullptr;
    return mode ? mode(Handle(), bufferEnable, strobePolarity) : 0;
}

int QV_board_plat_mod::SetInputInterruptPolarity(int polarity) {
    auto setPolarity = PortsUsable() ? Binding()->Entry<&::qrx_inport_intrpol>() : nullptr;
    return setPolarity ? setPolarity(Handle(), polarity) : 0;
}

}  // namespace qvi
