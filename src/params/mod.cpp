// The parameter container every board and module derives from.
#include "params/mod.h"

#include <ostream>

#include "params/param_owner.h"
#include "platform/ui.h"

namespace qvi {

QV_mod::QV_mod(std::string name, ParamOwner *owner) : owner_(owner), name_(std::move(name)) {}

// Groups and the selector point into the rows, so they go first.
QV_mod::~QV_mod() {
    groups_.clear();
    pageSelector_.reset();
    usrParams_.clear();
}

void WriteParamLine(std::ostream &out, const std::string &line) {
    if (!line.empty()) out << kIndent << line << "\n";
}

void QV_mod::WriteCFGSection(std::ostream &) {}

void QV_mod::BuildPageList() {
    std::vector<std::string> names;
    for (const auto &group : groups_) names.push_back(group->GetName());
    pageSelector_ = std::make_unique<QV_page_usr_param>(std::move(names));
    pageSelector_->SetModule(this);
    for (const auto &group : groups_) group->InsertFront(pageSelector_.get());
}

void QV_mod::ShowRegisters() {
    if (owner_) owner_->DumpRegisters();
}

int QV_mod::GetHelpTopic(int) {
    return 13;
}

void QV_mod::AddModParam(std::unique_ptr<QV_mod_param> param) {
    if (!param) return;
    param->AttachTo(this, owner_);
    params_.push_back(std::move(param));
}

void QV_mod::AddUsrParam(std::unique_ptr<QV_usr_param> usrParam) {
    if (!usrParam) return;
    usrParam->SetModule(this);
    usrParams_.push_back(std::move(usrParam));
}

void QV_mod::AddParamGroup(std::unique_ptr<QV_param_group> group) {
    if (group) groups_.push_back(std::move(group));
}

QV_mod_param *QV_mod::GetModParam(int handle) const {
    return FindParam(params_, handle);
}

QV_usr_param *QV_mod::GetUsrParam(int id) const {
    for (const auto &usrParam : usrParams_)
        if (usrParam->GetId() == id) return usrParam.get();
    return nullptr;
}

QV_param_val QV_mod::GetUIValue(int handle) {
    QV_mod_param *param = GetModParam(handle);
    if (param == nullptr) {
        ReportError(
            MessageText("Invalid mod param handle: ", handle, " passed to module: ", name_));
        return QV_param_val::S16(0);
    }
    return param->GetUIValue();
}

int QV_mod::SetParamFromCNF(int port, int handle, const QV_param_val &value) {
    QV_mod_param *param = GetModParam(handle);
    if (param == nullptr) return -1;
    int result = param->SetValFromCNF(port, value);
    if (result == 0 && port == param->GetCurrentPort()) param->ApplyToHardware();
    return result;
}

int QV_mod::SetParamFromCNF(int handle, const QV_param_val &value) {
    QV_mod_param *param = GetModParam(handle);
    if (param == nullptr) return -1;
    return param->SetValFromCNF(0, value);
}

bool QV_mod::IsModified() const {
    for (const auto &param : params_)
        if (param->IsModified()) return true;
    return false;
}

void QV_mod::MarkSaved() {
    for (const auto &param : params_) param->MarkSaved();
}

void QV_mod::RevertAll() {
    for (const auto &param : params_) param->RevertAll();
}

void QV_mod::Revert(int port) {
    for (const auto &param : params_) param->Revert(port);
}

void QV_mod::ApplyAll() {
    for (const auto &param : params_) param->ApplyToHardware();
}

void QV_mod::SetPort(int port) {
    for (const auto &param : params_) param->SetCurrentPort(port);
}

void QV_mod::RefreshUsrParams() {
    for (const auto &usrParam : usrParams_) usrParam->Refresh();
}

void QV_mod::SetOwner(ParamOwner *owner) {
    owner_ = owner;
    for (const auto &param : params_) param->SetOwner(owner);
}

void QV_mod::DisableModParam(int handle) {
    if (QV_mod_param *param = GetModParam(handle)) param->SetEnabled(false);
}

}  // namespace qvi
