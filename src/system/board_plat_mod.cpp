// The motherboard platform object base: slots, register access and board operations.
#include "system/board_plat_mod.h"

#include "library/hardware.h"
#include "library/library_binding.h"

namespace qvi {

namespace {
using PortEntry = int (*)(std::uint32_t, ...);
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

int QV_board_plat_mod::CallPortEntry(const char *name, int first, int second, bool twoArguments) {
    if (Binding() == nullptr || !HardwareEnabled()) return 0;
    auto entry = reinterpret_cast<PortEntry>(Binding()->Address(name));
    if (entry == nullptr) return 0;
    return twoArguments ? entry(Handle(), first, second) : entry(Handle(), first);
}

int QV_board_plat_mod::ReadInputs(int bit) {
    int value = CallPortEntry("qrx_inport_val", 0);
    if (bit < 0) return value;
    if (bit > 15) return 0;
    return ((value & 0xFFFF) >> bit) & 1;
}

std::int16_t QV_board_plat_mod::SetOutputBit(int, int) {
    return 0;
}

int QV_board_plat_mod::SetOutputValue(int value) {
    return CallPortEntry("qrx_outport_val", value);
}

int QV_board_plat_mod::SetInputMode(int bufferEnable, int strobePolarity) {
    return CallPortEntry("qrx_inport_mode", bufferEnable, strobePolarity, true);
}

int QV_board_plat_mod::SetInputInterruptPolarity(int polarity) {
    return CallPortEntry("qrx_inport_intrpol", polarity);
}

}  // namespace qvi
