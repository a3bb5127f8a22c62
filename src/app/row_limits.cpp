// Holding a configuration's numbers to the limits of the rows that edit them.
#include "app/row_limits.h"

#include <cmath>
#include <cstdint>

#include "modules/model_registry.h"
#include "params/mod.h"
#include "params/mod_param.h"
#include "params/usr_param.h"
#include "system/model_catalog.h"
#include "system/plat_mod.h"

namespace qvi {

namespace {

bool IsNumberKind(ValKind kind) {
    return kind != ValKind::Text && kind != ValKind::Index;
}

// The written number in the kind the parameter stores, when the kind holds it.
std::optional<QV_param_val> StoredForm(const QV_param_val &like, double number) {
    if (like.GetKind() == ValKind::Float) return QV_param_val::Float(static_cast<float>(number));
    if (!IsNumberKind(like.GetKind()) || std::trunc(number) != number) return std::nullopt;
    if (number < INT32_MIN || number > UINT32_MAX) return std::nullopt;
    const auto bits = static_cast<std::uint32_t>(static_cast<std::int64_t>(number));
    return QV_param_val::FromPayload(like.GetKind(), bits);
}

// Whether the parameter writes the stored value as it is: its text line ends
// in the value, in either radix.
bool WrittenAsStored(QV_mod_param &param, int port, const QV_param_val &stored) {
    const std::string line = param.GetCFGString(port);
    for (int radix : {10, 16}) {
        const std::string number = stored.Format(radix);
        if (line.ends_with("= " + number) || line.ends_with("= \"" + number + "\"")) return true;
    }
    return false;
}

std::string Outside(const keys::KeyRow &row, const QV_param_val &shown, QV_usr_param &usr) {
    const double value = shown.ToDouble();
    const double min = usr.GetMin().ToDouble();
    const double max = usr.GetMax().ToDouble();
    if (min > max || (value >= min && value <= max)) return {};
    return std::string(row.key) + " = " + shown.ToString() + " is outside " +
           usr.GetMin().ToString() + ".." + usr.GetMax().ToString() + ", the limits of " +
           usr.GetLabel();
}

}  // namespace

RowLimits::RowLimits() = default;
RowLimits::~RowLimits() = default;

QV_mod *RowLimits::ModuleOf(const keys::ModelTable &table) {
    auto found = models_.find(&table);
    if (found == models_.end()) {
        Model model;
        const std::string name(table.model);
        model.platform = MakePlatform(PlatformNameOf(name), nullptr, 0, NoModuleSettings());
        if (model.platform) model.module = MakeContainer(name, *model.platform, NoModuleSettings());
        found = models_.emplace(&table, std::move(model)).first;
    }
    return found->second.module.get();
}

std::string RowLimits::Check(const keys::ModelTable &table, const keys::KeyRow &row,
                             std::size_t port, const quar::KeyValue &value) {
    if (value.isText || row.kind != keys::KeyKind::Range) return {};
    QV_mod *module = ModuleOf(table);
    if (module == nullptr) return {};
    QV_mod_param *param = FindParam(module->GetModParams(), row.handle);
    const int at = static_cast<int>(port);
    if (param == nullptr || at >= param->GetPortCount()) return {};
    const QV_param_val before = param->GetRawValue(at);
    const std::optional<QV_param_val> stored = StoredForm(before, value.number);
    if (!stored) return {};
    param->SetRawValue(at, *stored);
    std::string why;
    if (WrittenAsStored(*param, at, *stored)) {
        const QV_param_val shown = param->GetUIValue(at);
        for (const auto &usr : module->GetUsrParams()) {
            // A greyed row shows a computed number and puts no limit on it.
            if (usr->GetParam() != param || usr->GetControlKind() != ControlKind::Number ||
                !usr->IsEnabled())
                continue;
            if (!IsNumberKind(shown.GetKind()) || !IsNumberKind(usr->GetMin().GetKind())) continue;
            why = Outside(row, shown, *usr);
            if (!why.empty()) break;
        }
    }
    param->SetRawValue(at, before);
    return why;
}

}  // namespace qvi
