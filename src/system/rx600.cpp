// The RX-600 computational motherboard.
#include "system/rx600.h"

#include <ostream>

#include "keys/model_tables.h"
#include "library/library_binding.h"
#include "system/module_types.h"

namespace qvi {

RXP_plat_mod::RXP_plat_mod(LibraryBinding *binding, std::uint32_t handle)
    : QV_board_plat_mod(&keys::kRx600Table, binding, handle, "RXP plat_mod") {}

void RXP_plat_mod::FillParams(QV_mod &container) {
    const std::uint8_t *spec = Spec();
    if (spec == nullptr) return;
    container.SetParamFromCNF(0, QV_param_val::S16(RecordS16(spec, 12)));
}

std::vector<std::string> RXP_plat_mod::DetectModules() {
    auto detect = Binding() ? Binding()->Entry<&::M_detect_dmod>() : nullptr;
    std::vector<std::string> names;
    for (int slot = 0; slot < 3; ++slot)
        names.push_back(ComputationalModuleName(detect ? detect(Handle(), slot) : 0));
    return names;
}

QV_rx600_mod::QV_rx600_mod(QV_plat_mod *ownerBoard) : QV_mod("RXP", ownerBoard) {
    BuildPageList();
}

void QV_rx600_mod::WriteCFGSection(std::ostream &out) {
    out << "[RX-600:" << GetInstance() << "]\n";
}

}  // namespace qvi
