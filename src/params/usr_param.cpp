// The rows of the Module Setup dialog: drop-down, number, text, page and port selectors.
#include "params/usr_param.h"

#include "params/mod.h"
#include "params/mod_param.h"
#include "platform/ui.h"

namespace qvi {

QV_mod_param *FindParam(const ParamList &params, int handle) {
    for (const auto &param : params)
        if (param->GetHandle() == handle) return param.get();
    return nullptr;
}

QV_usr_param::QV_usr_param(std::string label, ControlKind kind, int id, const ParamList &params,
                           int handle)
    : label_(std::move(label)), kind_(kind), param_(FindParam(params, handle)), id_(id) {}

QV_usr_param::QV_usr_param(std::string label, ControlKind kind, int id)
    : label_(std::move(label)), kind_(kind), param_(nullptr), id_(id) {}

bool QV_usr_param::HasParam(const char *operation) const {
    if (param_ != nullptr) return true;
    ReportError(MessageText("no mod param behind user param: ", label_, " in ", operation, "()"));
    return false;
}

void QV_usr_param::ReportWrongControl(const char *operation) const {
    ReportError(MessageText(operation, "() is not an operation of user param: ", label_));
}

int QV_usr_param::SetIndex(int) {
    ReportWrongControl("SetIndex");
    return -1;
}

int QV_usr_param::GetIndex() {
    return -1;
}

std::vector<std::string> QV_usr_param::GetChoices() const {
    return {};
}

int QV_usr_param::SetValue(const QV_param_val &) {
    ReportWrongControl("SetValue");
    return -1;
}

QV_param_val QV_usr_param::GetValue() {
    return QV_param_val::Index(-1);
}

QV_param_val QV_usr_param::GetMin() const {
    return QV_param_val::Index(-1);
}

QV_param_val QV_usr_param::GetMax() const {
    return QV_param_val::Index(-1);
}

QV_param_val QV_usr_param::GetStep() const {
    return QV_param_val::Index(-1);
}

QV_choice_usr_param::QV_choice_usr_param(std::string label, int id, const ParamList &params,
                                         int handle, std::vector<std::string> labels)
    : QV_usr_param(std::move(label), ControlKind::DropDown, id, params, handle),
      labels_(std::move(labels)) {}

bool QV_choice_usr_param::IsValidIndex(int index, const char *operation) const {
    if (index >= 0 && index < static_cast<int>(labels_.size())) return true;
    ReportError(MessageText("invalid index: ", index, " passed to ", operation,
                            "() for user param: ", GetLabel()));
    return false;
}

int QV_choice_usr_param::SetIndex(int index) {
    if (!HasParam("SetIndex") || !IsValidIndex(index, "SetIndex")) return -1;
    GetParam()->SetUIValue(QV_param_val::Index(index));
    return kRedrawRow;
}

int QV_choice_usr_param::GetIndex() {
    if (GetParam() == nullptr) return -1;
    return GetParam()->GetUIValue().GetLong();
}

QV_range_usr_param::QV_range_usr_param(std::string label, int id, const ParamList &params,
                                       int handle, QV_param_val min, QV_param_val max,
                                       QV_param_val step)
    : QV_usr_param(std::move(label), ControlKind::Number, id, params, handle),
      min_(std::move(min)),
      max_(std::move(max)),
      step_(std::move(step)) {}

int QV_range_usr_param::SetValue(const QV_param_val &value) {
    if (!HasParam("SetValue")) return -1;
    return GetParam()->SetUIValue(value);
}

QV_param_val QV_range_usr_param::GetValue() {
    if (GetParam() == nullptr) return QV_param_val::Index(-1);
    return GetParam()->GetUIValue();
}

QV_value_usr_param::QV_value_usr_param(std::string label, int id, const ParamList &params,
                                       int handle)
    : QV_usr_param(std::move(label), ControlKind::Text, id, params, handle) {}

int QV_value_usr_param::SetValue(const QV_param_val &value) {
    if (!HasParam("SetValue")) return -1;
    return GetParam()->SetUIValue(value);
}

QV_param_val QV_value_usr_param::GetValue() {
    if (GetParam() == nullptr) return QV_param_val::Index(-1);
    return GetParam()->GetUIValue();
}

QV_port_usr_param::QV_port_usr_param(std::string label, int id, const ParamList &params, int handle,
                                     std::vector<std::string> labels)
    : QV_choice_usr_param(std::move(label), id, params, handle, std::move(labels)),
      params_(params) {}

int QV_port_usr_param::SetIndex(int index) {
    if (!HasParam("SetIndex") || !IsValidIndex(index, "SetIndex")) return -1;
    GetParam()->SetUIValue(QV_param_val::S16(static_cast<std::int16_t>(index)));
    WaitCursor wait;
    for (const auto &param : params_) param->SetCurrentPort(index);
    if (QV_mod *module = GetModule()) {
        module->RefreshUsrParams();
        module->ApplyAll();
    }
    return kRedrawRows;
}

int QV_port_usr_param::GetIndex() {
    if (GetParam() == nullptr) return -1;
    return GetParam()->GetUIValue().GetShort();
}

QV_page_usr_param::QV_page_usr_param(std::vector<std::string> groupNames)
    : QV_usr_param("Settings", ControlKind::DropDown, kId), groupNames_(std::move(groupNames)) {}

int QV_page_usr_param::SetIndex(int index) {
    if (index < 0 || index >= static_cast<int>(groupNames_.size())) {
        ReportError(MessageText("invalid index: ", index,
                                " passed to SetIndex() for user param: ", GetLabel()));
        return -1;
    }
    currentPage_ = index;
    return kRedrawPage;
}

}  // namespace qvi
