// A module parameter and its choice, range and text kinds.
#include "params/mod_param.h"

#include "params/param_owner.h"
#include "platform/ui.h"

namespace qvi {

namespace {

ConverterPtr OrNull(ConverterPtr converter) {
    return converter ? std::move(converter) : std::make_unique<NullConverter>();
}

std::vector<QV_param_val> PerPort(int ports, std::span<const QV_param_val> defaults) {
    std::vector<QV_param_val> values;
    for (int port = 0; port < ports; ++port) {
        if (defaults.empty())
            values.push_back(QV_param_val::Index(-1));
        else
            values.push_back(defaults[std::min<std::size_t>(port, defaults.size() - 1)]);
    }
    return values;
}

}  // namespace

QV_mod_param::QV_mod_param(std::string name, int ports, std::span<const QV_param_val> defaults,
                           int reg, int handle, ConverterPtr toUi, ConverterPtr fromUi,
                           ConverterPtr toText, ConverterPtr fromCnf, ConverterPtr toHardware,
                           ConverterPtr spare)
    : ports_(ports < 1 ? 1 : ports),
      name_(std::move(name)),
      current_(PerPort(ports_, defaults)),
      defaults_(current_),
      register_(reg),
      handle_(handle),
      toUi_(OrNull(std::move(toUi))),
      fromUi_(OrNull(std::move(fromUi))),
      toHardware_(OrNull(std::move(toHardware))),
      fromCnf_(OrNull(std::move(fromCnf))),
      toText_(OrNull(std::move(toText))),
      spare_(OrNull(std::move(spare))),
      saved_(current_) {
    for (Converter *converter : {toUi_.get(), fromUi_.get(), toHardware_.get(), fromCnf_.get(),
                                 toText_.get(), spare_.get()})
        converter->SetParam(this);
    if (defaults.empty()) ReportError(MessageText("no default value given for mod param: ", name_));
}

void QV_mod_param::ReportBadPort(int port, const char *operation) const {
    ReportError(
        MessageText("invalid port: ", port, " passed to ", operation, "() for mod param: ", name_));
}

void QV_mod_param::AttachTo(QV_mod *module, ParamOwner *owner) {
    module_ = module;
    owner_ = owner;
}

std::string QV_mod_param::GetCFGString(int) {
    return "ERROR in QV_mod_param::GetCFGString(int thePort)";
}

int QV_mod_param::ApplyToHardware() {
    if (owner_ == nullptr) return 0;
    return owner_->write_reg(register_, toHardware_->Convert(current_[currentPort_]));
}

QV_param_val QV_mod_param::GetDefaultVal(int port) {
    if (!IsValidPort(port)) {
        ReportBadPort(port, "GetDefaultVal");
        return QV_param_val::Index(-1);
    }
    return defaults_[port];
}

void QV_mod_param::SetCurrentPort(int port) {
    if (IsValidPort(port)) currentPort_ = port;
}

QV_param_val QV_mod_param::GetRawValue(int port) const {
    if (!IsValidPort(port)) {
        ReportBadPort(port, "GetRawValue");
        return QV_param_val::Index(-1);
    }
    return current_[port];
}

QV_param_val QV_mod_param::GetSavedValue(int port) const {
    if (!IsValidPort(port)) {
        ReportBadPort(port, "GetSavedValue");
        return QV_param_val::Index(-1);
    }
    return saved_[port];
}

int QV_mod_param::SetRawValue(int port, const QV_param_val &value) {
    if (!IsValidPort(port)) {
        ReportBadPort(port, "SetRawValue");
        return -1;
    }
    current_[port] = value;
    return 0;
}

int QV_mod_param::SetValFromCNF(int port, const QV_param_val &value) {
    if (!IsValidPort(port)) {
        ReportBadPort(port, "SetValFromCNF");
        return -1;
    }
    return SetRawValue(port, fromCnf_->Convert(value));
}

QV_param_val QV_mod_param::GetUIValue(int port) {
    if (!IsValidPort(port)) {
        ReportBadPort(port, "GetUIValue");
        return QV_param_val::Index(-1);
    }
    return toUi_->Convert(current_[port]);
}

int QV_mod_param::SetUIValue(const QV_param_val &value) {
    int result = SetRawValue(fromUi_->Convert(value));
    if (result != 0) return result;
    return ApplyToHardware();
}

bool QV_mod_param::IsModified() const {
    for (int port = 0; port < ports_; ++port)
        if (!current_[port].Equals(saved_[port])) return true;
    return false;
}

void QV_mod_param::MarkSaved() {
    saved_ = current_;
}

void QV_mod_param::Revert(int port) {
    if (!IsValidPort(port)) return;
    current_[port] = saved_[port];
    if (port == currentPort_) ApplyToHardware();
}

void QV_mod_param::RevertAll() {
    for (int port = 0; port < ports_; ++port) Revert(port);
}

QV_choice_param::QV_choice_param(std::string name, int ports,
                                 std::span<const QV_param_val> defaults, int reg, int handle,
                                 ConverterPtr toUi, ConverterPtr fromUi, ConverterPtr toText,
                                 ConverterPtr fromCnf, ConverterPtr toHardware, ConverterPtr spare,
                                 std::vector<std::string> choiceNames,
                                 std::vector<QV_param_val> choiceValues, bool namePrefix)
    : QV_mod_param(std::move(name), ports, defaults, reg, handle, std::move(toUi),
                   std::move(fromUi), std::move(toText), std::move(fromCnf), std::move(toHardware),
                   std::move(spare)),
      choiceNames_(std::move(choiceNames)),
      choiceValues_(std::move(choiceValues)),
      namePrefix_(namePrefix) {
    SetType("CHOICE");
    if (choiceNames_.size() != choiceValues_.size()) {
        ReportError(
            MessageText("choice names and values differ in number for mod param: ", GetName()));
        std::size_t common = std::min(choiceNames_.size(), choiceValues_.size());
        choiceNames_.resize(common);
        choiceValues_.resize(common);
    }
}

std::string QV_choice_param::GetCFGString(int port) {
    if (!IsEnabled()) return {};
    if (!IsValidPort(port)) {
        ReportBadPort(port, "GetCFGString");
        return {};
    }
    int index = ToText().Convert(GetRawValue(port)).GetLong();
    if (index < 0 || index >= GetChoiceCount()) {
        ReportError(MessageText("invalid choice index: ", index,
                                " passed to GetCFGString() for mod param: ", GetName()));
        return {};
    }
    if (!namePrefix_) return choiceNames_[index];
    return GetName() + " = " + choiceNames_[index];
}

QV_range_param::QV_range_param(std::string name, int ports, std::span<const QV_param_val> defaults,
                               int reg, int handle, ConverterPtr toUi, ConverterPtr fromUi,
                               ConverterPtr toText, ConverterPtr fromCnf, ConverterPtr toHardware,
                               ConverterPtr spare, int radix)
    : QV_mod_param(std::move(name), ports, defaults, reg, handle, std::move(toUi),
                   std::move(fromUi), std::move(toText), std::move(fromCnf), std::move(toHardware),
                   std::move(spare)),
      radix_(radix) {
    SetType("RANGE");
}

std::string QV_range_param::GetCFGString(int port) {
    if (!IsEnabled()) return {};
    if (!IsValidPort(port)) {
        ReportBadPort(port, "GetCFGString");
        return {};
    }
    QV_param_val value = ToText().Convert(GetRawValue(port));
    if (value.GetKind() == ValKind::Float) return GetName() + " = \"" + value.Format(radix_) + "\"";
    return GetName() + " = " + value.Format(radix_);
}

QV_string_param::QV_string_param(std::string name, int ports,
                                 std::span<const QV_param_val> defaults, int reg, int handle,
                                 ConverterPtr toUi, ConverterPtr fromUi, ConverterPtr toText,
                                 ConverterPtr fromCnf, ConverterPtr toHardware, ConverterPtr spare)
    : QV_mod_param(std::move(name), ports, defaults, reg, handle, std::move(toUi),
                   std::move(fromUi), std::move(toText), std::move(fromCnf), std::move(toHardware),
                   std::move(spare)) {
    SetType("STRING");
}

std::string QV_string_param::GetCFGString(int port) {
    if (!IsEnabled()) return {};
    if (!IsValidPort(port)) {
        ReportBadPort(port, "GetCFGString");
        return {};
    }
    return GetName() + " = \"" + ToText().Convert(GetRawValue(port)).ToString() + "\"";
}

int QV_offset_range_param::ApplyToHardware() {
    if (GetOwner() == nullptr) return 0;
    auto shifted = static_cast<std::int16_t>(GetRawValue().GetShort() - 8);
    return GetOwner()->write_reg(GetRegister(), QV_param_val::S16(shifted));
}

}  // namespace qvi
