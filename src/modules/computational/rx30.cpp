// The RX-30 module: its platform object, rows and pages.
#include "modules/computational/rx30.h"

#include <string_view>

#include "keys/model_tables.h"
#include "modules/computational/rx10.h"
#include "params/mod_param.h"
#include "system/table_params.h"

namespace qvi {

namespace {

using enum RxRowKind;

constexpr int kEmuInitId = 2;
constexpr int kEmuInitHandle = 6;
constexpr std::int64_t kMaxU32 = 4294967295;
constexpr std::int64_t kSizeStep = 65536;

// clang-format off
constexpr std::string_view kLoadFlags[] = {"Force Load", "No Load", "Check And Load"};
constexpr std::string_view kOpModes[] = {"ASYNC", "SYNC"};
constexpr std::string_view kEmuInit[] = {"Off", "On"};

// In the order the rows are added; "EMU init" is made by its own class.
constexpr RxUsrRow kRows[] = {
    {0, "Load Flag",     Choice,   11, kLoadFlags},
    {1, "Op mode",       Choice,   10, kOpModes},
    {4, "Flash Memory",  RangeU32, 3,  {},         0, kMaxU32, kSizeStep},
    {5, "Static Memory", RangeU32, 1,  {},         0, kMaxU32, kSizeStep},
    {3, "Image Memory",  RangeU32, 2,  {},         0, kMaxU32, kSizeStep},
    {6, "Encryption",    Value,    8},
    {7, "Load Module",   Value,    7},
};
// clang-format on

}  // namespace

QV_rx30_plat_mod::QV_rx30_plat_mod(LibraryBinding *binding, std::uint32_t handle)
    : QV_table_plat_mod(&keys::kRx30Table, binding, handle, "RX-30 plat_mod") {}

void QV_rx30_plat_mod::FillParams(QV_mod &container) {
    const std::uint8_t *spec = Spec();
    if (spec == nullptr) return;
    for (const keys::KeyRow &row : keys::kRx30Table.keys) {
        if (row.handle == kOpModeHandle) {
            const bool async = RecordU32(spec, kOpModeOffset) == 1;
            container.SetParamFromCNF(row.handle, QV_param_val::S16(async ? 1 : 0));
            continue;
        }
        container.SetParamFromCNF(row.handle, ReadKeyValue(*this, keys::kRx30Table, row, 0));
    }
}

QV_rx30_mod::QV_rx30_mod(QV_plat_mod *ownerBoard) : QV_table_mod(keys::kRx30Table, ownerBoard) {
    SetEditable(true);
    CreateUsrParams();
    CreateParamGroups();
    BuildPageList();
}

// The rows in their documented order: the two choices, "EMU init", the
// three sizes and the two texts.
void QV_rx30_mod::CreateUsrParams() {
    const std::span<const RxUsrRow> rows = kRows;
    AddRxRows(*this, rows.first(2));
    AddUsrParam(std::make_unique<QV_emu_init_usr_param>(
        "EMU init", kEmuInitId, GetModParams(), kEmuInitHandle,
        std::vector<std::string>(std::begin(kEmuInit), std::end(kEmuInit))));
    AddRxRows(*this, rows.subspan(2));
}

void QV_rx30_mod::CreateParamGroups() {
    AddRxBasicGroup(*this, 0, 7);
}

QV_emu_init_usr_param::QV_emu_init_usr_param(std::string label, int id, const ParamList &params,
                                             int handle, std::vector<std::string> labels)
    : QV_choice_usr_param(std::move(label), id, params, handle, std::move(labels)) {}

int QV_emu_init_usr_param::GetIndex() {
    if (GetParam() == nullptr) return -1;
    return GetParam()->GetUIValue().GetLong() != 0 ? 1 : 0;
}

int QV_emu_init_usr_param::SetIndex(int index) {
    if (!HasParam("SetIndex")) return -1;
    GetParam()->SetUIValue(QV_param_val::U16(static_cast<std::uint16_t>(index)));
    return kRedrawRow;
}

}  // namespace qvi
