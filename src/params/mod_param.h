#pragma once

#include <memory>
#include <span>
#include <string>
#include <vector>

#include "params/converters.h"
#include "params/param_val.h"

namespace qvi {

class QV_mod;
class ParamOwner;

// One hardware setting of a module: a value per camera port (current, default
// and saved), the register it is written to, and six converters between the
// stored form and what is shown, written, read and printed. Subclasses fix how
// the value is printed as a line of the text configuration.
class QV_mod_param {
public:
    // A single default value serves every port.
    QV_mod_param(std::string name, int ports, std::span<const QV_param_val> defaults, int reg,
                 int handle, ConverterPtr toUi, ConverterPtr fromUi, ConverterPtr toText,
                 ConverterPtr fromCnf, ConverterPtr toHardware, ConverterPtr spare);
    virtual ~QV_mod_param() = default;
    QV_mod_param(const QV_mod_param &) = delete;
    QV_mod_param &operator=(const QV_mod_param &) = delete;

    // The text line for the port, without indentation; empty when disabled.
    virtual std::string GetCFGString(int port);
    // Writes the current port's value, through the to-hardware converter, to
    // the register via the owner board.
    virtual int ApplyToHardware();
    // Copy of the port's default value; an index -1 for a bad port.
    virtual QV_param_val GetDefaultVal(int port);

    void SetCurrentPort(int port);
    int GetCurrentPort() const { return currentPort_; }
    int GetPortCount() const { return ports_; }

    QV_param_val GetRawValue(int port) const;
    QV_param_val GetRawValue() const { return GetRawValue(currentPort_); }
    int SetRawValue(int port, const QV_param_val &value);
    int SetRawValue(const QV_param_val &value) { return SetRawValue(currentPort_, value); }
    int SetValFromCNF(int port, const QV_param_val &value);

    QV_param_val GetUIValue(int port);
    QV_param_val GetUIValue() { return GetUIValue(currentPort_); }
    int SetUIValue(const QV_param_val &value);

    std::string GetCFGString() { return GetCFGString(currentPort_); }
    const std::string &GetName() const { return name_; }
    const std::string &GetType() const { return type_; }

    bool IsModified() const;
    void MarkSaved();
    void Revert(int port);
    void RevertAll();

    int GetRegister() const { return register_; }
    int GetHandle() const { return handle_; }
    bool IsEnabled() const { return enabled_; }
    void SetEnabled(bool enabled) { enabled_ = enabled; }
    QV_param_val GetSavedValue(int port) const;

    QV_mod *GetModule() const { return module_; }
    ParamOwner *GetOwner() const { return owner_; }
    // Set by the module when it adds the parameter.
    void AttachTo(QV_mod *module, ParamOwner *owner);
    void SetOwner(ParamOwner *owner) { owner_ = owner; }

    Converter &ToUi() { return *toUi_; }
    Converter &FromUi() { return *fromUi_; }
    Converter &ToText() { return *toText_; }
    Converter &FromCnf() { return *fromCnf_; }
    Converter &ToHardware() { return *toHardware_; }

protected:
    void SetType(std::string type) { type_ = std::move(type); }
    bool IsValidPort(int port) const { return port >= 0 && port < ports_; }
    // Reports a bad port in the form every operation uses.
    void ReportBadPort(int port, const char *operation) const;

private:
    int currentPort_ = 0;
    int ports_;
    std::string name_;
    std::vector<QV_param_val> current_;
    std::vector<QV_param_val> defaults_;
    int register_;
    QV_mod *module_ = nullptr;
    int handle_;
    ParamOwner *owner_ = nullptr;
    ConverterPtr toUi_;
    ConverterPtr fromUi_;
    ConverterPtr toHardware_;
    ConverterPtr fromCnf_;
    ConverterPtr toText_;
    ConverterPtr spare_;  // kept and destroyed with the parameter, never consulted
    std::string type_;
    bool enabled_ = true;
    std::vector<QV_param_val> saved_;
};

// A choice among named words. With the name prefix the line is
// "Name = Word", without it the bare word.
class QV_choice_param : public QV_mod_param {
public:
    QV_choice_param(std::string name, int ports, std::span<const QV_param_val> defaults, int reg,
                    int handle, ConverterPtr toUi, ConverterPtr fromUi, ConverterPtr toText,
                    ConverterPtr fromCnf, ConverterPtr toHardware, ConverterPtr spare,
                    std::vector<std::string> choiceNames, std::vector<QV_param_val> choiceValues,
                    bool namePrefix);

    std::string GetCFGString(int port) override;
    using QV_mod_param::GetCFGString;

    int GetChoiceCount() const { return static_cast<int>(choiceValues_.size()); }
    const QV_param_val &GetChoiceValue(int i) const { return choiceValues_[i]; }
    const std::string &GetChoiceName(int i) const { return choiceNames_[i]; }
    bool HasNamePrefix() const { return namePrefix_; }

private:
    std::vector<std::string> choiceNames_;
    std::vector<QV_param_val> choiceValues_;
    bool namePrefix_;
};

// A number printed with a radix (10 or 16); a float between double quotes.
class QV_range_param : public QV_mod_param {
public:
    QV_range_param(std::string name, int ports, std::span<const QV_param_val> defaults, int reg,
                   int handle, ConverterPtr toUi, ConverterPtr fromUi, ConverterPtr toText,
                   ConverterPtr fromCnf, ConverterPtr toHardware, ConverterPtr spare, int radix);

    std::string GetCFGString(int port) override;
    using QV_mod_param::GetCFGString;
    int GetRadix() const { return radix_; }

private:
    int radix_;
};

// A free text, printed between double quotes.
class QV_string_param : public QV_mod_param {
public:
    QV_string_param(std::string name, int ports, std::span<const QV_param_val> defaults, int reg,
                    int handle, ConverterPtr toUi, ConverterPtr fromUi, ConverterPtr toText,
                    ConverterPtr fromCnf, ConverterPtr toHardware, ConverterPtr spare);

    std::string GetCFGString(int port) override;
    using QV_mod_param::GetCFGString;
};

// A range whose register holds the value less 8, as a signed 16-bit number
// (the converters are not used on the way to the hardware).
class QV_offset_range_param : public QV_range_param {
public:
    using QV_range_param::QV_range_param;
    int ApplyToHardware() override;
};

}  // namespace qvi
