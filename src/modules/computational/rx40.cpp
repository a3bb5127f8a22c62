// The RX-40 image-processing interface: its platform object and register dump.
#include "modules/computational/rx40.h"

#include <string_view>

#include "keys/model_tables.h"
#include "library/hardware.h"
#include "library/library_binding.h"
#include "modules/computational/rx10.h"
#include "system/table_params.h"

namespace qvi {

namespace {

using enum RxRowKind;

// clang-format off
constexpr std::string_view kIfaceWidths[] = {"Iface_8_Bit", "Iface_16_Bit"};
constexpr std::string_view kMemorySizes[] = {"mem_1K_1K", "mem_2K_512", "mem_4K_256", "mem_8K_128"};
constexpr std::string_view kIfaceClocks[] = {"Iface_10_Mhz", "Iface_20_Mhz"};

constexpr RxUsrRow kRows[] = {
    {0, "AOI 0 HBlank",      RangeS16, 4, {},           0, 1022, 1},
    {1, "AOI 1 HBlank",      RangeS16, 5, {},           0, 1022, 1},
    {2, "Image X Size",      RangeS16, 6, {},           0, 1022, 1},
    {3, "Image Y Size",      RangeS16, 7, {},           0, 1022, 1},
    {4, "Iface Data Size",   Choice,   1, kIfaceWidths},
    {5, "Memory Size",       Choice,   3, kMemorySizes},
    {6, "Iface Clock Speed", Choice,   2, kIfaceClocks},
};
// clang-format on

}  // namespace

QV_rx40_plat_mod::QV_rx40_plat_mod(LibraryBinding *binding, std::uint32_t handle)
    : QV_table_plat_mod(&keys::kRx40Table, binding, handle, "RX-40 plat_mod") {
    if (binding != nullptr) dumpEntry_ = binding->LookupAs<DumpEntry>("rx40_dregs");
}

void QV_rx40_plat_mod::FillParams(QV_mod &container) {
    for (const keys::KeyRow &row : keys::kRx40Table.keys) {
        const QV_param_val value = ReadKeyValue(*this, keys::kRx40Table, row, 0);
        if (value.GetKind() == ValKind::Index) continue;  // no specification
        container.SetParamFromCNF(row.handle, value);
    }
}

void QV_rx40_plat_mod::DumpRegisters() {
    if (HardwareEnabled() && dumpEntry_ != nullptr) dumpEntry_(Handle());
}

QV_rx40_mod::QV_rx40_mod(QV_plat_mod *ownerBoard) : QV_table_mod(keys::kRx40Table, ownerBoard) {
    SetEditable(true);
    CreateUsrParams();
    CreateParamGroups();
    BuildPageList();
}

void QV_rx40_mod::CreateUsrParams() {
    AddRxRows(*this, kRows);
}

void QV_rx40_mod::CreateParamGroups() {
    AddRxBasicGroup(*this, 0, 6);
}

}  // namespace qvi
