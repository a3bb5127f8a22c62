// The RX-10 computational module: a container with keys and nothing to edit.
#include "modules/computational/rx10.h"

#include <memory>
#include <string>
#include <vector>

#include "keys/model_tables.h"
#include "params/param_group.h"
#include "params/usr_param.h"

namespace qvi {

QV_rx10_mod::QV_rx10_mod(QV_plat_mod *ownerBoard) : QV_table_mod(keys::kRx10Table, ownerBoard) {}

namespace {

QV_param_val Bound(RxRowKind kind, std::int64_t number) {
    if (kind == RxRowKind::RangeS16) return QV_param_val::S16(static_cast<std::int16_t>(number));
    return QV_param_val::U32(static_cast<std::uint32_t>(number));
}

std::unique_ptr<QV_usr_param> MakeRxRow(const RxUsrRow &row, const ParamList &params) {
    std::string label(row.label);
    switch (row.kind) {
        case RxRowKind::Choice:
            return std::make_unique<QV_choice_usr_param>(
                std::move(label), row.id, params, row.handle,
                std::vector<std::string>(row.labels.begin(), row.labels.end()));
        case RxRowKind::Value:
            return std::make_unique<QV_value_usr_param>(std::move(label), row.id, params,
                                                        row.handle);
        case RxRowKind::RangeU32:
        case RxRowKind::RangeS16:
            break;
    }
    return std::make_unique<QV_range_usr_param>(std::move(label), row.id, params, row.handle,
                                                Bound(row.kind, row.min), Bound(row.kind, row.max),
                                                Bound(row.kind, row.step));
}

}  // namespace

void AddRxRows(QV_mod &module, std::span<const RxUsrRow> rows) {
    for (const RxUsrRow &row : rows) module.AddUsrParam(MakeRxRow(row, module.GetModParams()));
}

void AddRxBasicGroup(QV_mod &module, int first, int last) {
    std::vector<int> ids;
    for (int id = first; id <= last; ++id) ids.push_back(id);
    module.AddParamGroup(std::make_unique<QV_param_group>("Basic", ids, module.GetUsrParams()));
}

}  // namespace qvi
