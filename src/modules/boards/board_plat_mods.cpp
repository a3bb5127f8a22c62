#include "modules/boards/board_plat_mods.h"

#include "app/library_binding.h"
#include "modules/model_tables.h"
#include "system/module_types.h"

namespace qvi {

namespace {

constexpr std::uint16_t kChannelCountOffset = keys::kBoardChannelsOffset;

int DetectedType(const QV_plat_mod &board, int slot) {
    auto detect = board.Binding() ? board.Binding()->Entry<&::M_detect_dmod>() : nullptr;
    return detect ? detect(board.Handle(), slot) : 0;
}

}  // namespace

SXP_plat_mod::SXP_plat_mod(LibraryBinding *binding, std::uint32_t handle)
    : QV_board_plat_mod(&keys::kSx400Table, binding, handle, "SXP plat_mod") {}

std::vector<std::string> SXP_plat_mod::DetectModules() {
    return {AcquisitionModuleName(DetectedType(*this, 0))};
}

SXA_plat_mod::SXA_plat_mod(LibraryBinding *binding, std::uint32_t handle)
    : QV_board_plat_mod(&keys::kSxaBoardTable, binding, handle, "SXA plat_mod") {}

std::vector<std::string> SXA_plat_mod::DetectModules() {
    int channels = RecordU16(Spec(), kChannelCountOffset);
    return std::vector<std::string>(static_cast<std::size_t>(channels), "SXA-VMOD");
}

DQP_plat_mod::DQP_plat_mod(LibraryBinding *binding, std::uint32_t handle)
    : QV_board_plat_mod(&keys::kDq500Table, binding, handle, "DQP plat_mod") {}

std::vector<std::string> DQP_plat_mod::DetectModules() {
    return {AcquisitionModuleName(DetectedType(*this, 0)),
            ComputationalModuleName(DetectedType(*this, 1))};
}

}  // namespace qvi
