// Builds a module's rows, pages and help topics from its label and group tables.
#include "modules/label_table.h"

#include "keys/key_table.h"
#include "params/camera_list.h"
#include "params/mod.h"
#include "params/mod_param.h"
#include "params/param_group.h"
#include "system/table_params.h"

namespace qvi::labels {

namespace {

// A bound in the type of the parameter the row edits (signed 16-bit when the
// row edits none), so the value entry logic compares like with like.
QV_param_val Bound(const QV_mod_param *param, double number) {
    const ValKind kind = param ? param->GetRawValue(0).GetKind() : ValKind::S16;
    return ValueOfType(static_cast<keys::ValueType>(kind), number);
}

}  // namespace

std::vector<std::string> ToStrings(Texts texts) {
    return {texts.begin(), texts.end()};
}

QV_param_val S16Bound(double number) {
    return QV_param_val::S16(static_cast<std::int16_t>(number));
}

QV_param_val FloatBound(double number) {
    return QV_param_val::Float(static_cast<float>(number));
}

SpecialMaker SpecialRowsFrom(std::span<const SpecialRow> rows) {
    return [rows](const LabelRow &row, const ParamList &params) -> std::unique_ptr<QV_usr_param> {
        for (const SpecialRow &special : rows)
            if (special.id == row.id) return special.make(row, params);
        return nullptr;
    };
}

std::vector<int> Expand(std::span<const IdRange> ranges) {
    std::vector<int> ids;
    for (const IdRange &range : ranges)
        for (int id = range.first; id <= range.last; ++id) ids.push_back(id);
    return ids;
}

std::unique_ptr<QV_usr_param> MakeLabelRow(const LabelRow &row, const ParamList &params,
                                           const LabelContext &context) {
    std::string label(row.label);
    switch (row.kind) {
        case Kind::Choice:
            return std::make_unique<QV_choice_usr_param>(std::move(label), row.id, params,
                                                         row.handle, ToStrings(row.choices));
        case Kind::Range: {
            const QV_mod_param *param = FindParam(params, row.handle);
            return std::make_unique<QV_range_usr_param>(
                std::move(label), row.id, params, row.handle, Bound(param, row.bounds.min),
                Bound(param, row.bounds.max), Bound(param, row.bounds.step));
        }
        case Kind::Camera:
            return std::make_unique<QV_camera_usr_param>(std::move(label), row.id, params,
                                                         row.handle, std::string(context.cameraKey),
                                                         row.port);
        case Kind::Port:
            return std::make_unique<QV_port_usr_param>(std::move(label), row.id, params, row.handle,
                                                       ToStrings(row.choices));
        case Kind::Special:
            break;
    }
    return context.special ? context.special(row, params) : nullptr;
}

void AddLabelRows(QV_mod &module, std::span<const LabelRow> rows, const LabelContext &context) {
    for (const LabelRow &row : rows) {
        std::unique_ptr<QV_usr_param> usrParam = MakeLabelRow(row, module.GetModParams(), context);
        if (!usrParam) continue;
        if (row.flags & kNotify) usrParam->SetNotifyOwner(true);
        if (row.flags & kGreyed) usrParam->SetEnabled(false);
        module.AddUsrParam(std::move(usrParam));
    }
}

void AddGroups(QV_mod &module, std::span<const GroupRow> groups) {
    for (const GroupRow &group : groups)
        module.AddParamGroup(std::make_unique<QV_param_group>(
            std::string(group.title), Expand(group.members), module.GetUsrParams()));
}

int HelpTopicOf(std::span<const HelpRow> topics, int id) {
    for (const HelpRow &row : topics)
        if (row.id == id) return row.topic;
    return kDefaultHelpTopic;
}

}  // namespace qvi::labels
