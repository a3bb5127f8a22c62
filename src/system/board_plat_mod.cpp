// The motherboard platform object base: slots, register access and board operations.
#include "system/board_plat_mod.h"

#include "library/hardware.h"
#include "library/library_binding.h"

namespace qvi {

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
