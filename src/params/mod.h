#pragma once

#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "params/mod_param.h"
#include "params/param_group.h"
#include "params/usr_param.h"

namespace qvi {

class ParamOwner;

// Every line of a configuration section is indented by six spaces.
inline constexpr const char *kIndent = "      ";
// Writes a parameter's line indented; a disabled parameter's empty line is left out.
void WriteParamLine(std::ostream &out, const std::string &line);

// The parameter container of a board or module: its parameters, the rows of
// the Module Setup dialog that edit them, and the groups shown as tabs. Each
// module model derives its container and builds its three tables in the
// Create* operations, which its constructor calls in order.
class QV_mod {
public:
    QV_mod(std::string name, ParamOwner *owner);
    virtual ~QV_mod();
    QV_mod(const QV_mod &) = delete;
    QV_mod &operator=(const QV_mod &) = delete;

    // Virtual operations in the library's slot order. None of the module
    // models give the six slots between ShowRegisters and GetHelpTopic a
    // behaviour of their own, so they are left out here.
    virtual void WriteCFGSection(std::ostream &out);
    virtual void CreateModParams() {}
    virtual void CreateUsrParams() {}
    virtual void CreateParamGroups() {}
    // Builds the page selector from the group names and puts it in front of every group.
    virtual void BuildPageList();
    // The View Registers button: the owner board dumps its registers.
    virtual void ShowRegisters();
    virtual int GetHelpTopic(int usrParamId);

    void AddModParam(std::unique_ptr<QV_mod_param> param);
    void AddUsrParam(std::unique_ptr<QV_usr_param> usrParam);
    void AddParamGroup(std::unique_ptr<QV_param_group> group);

    QV_mod_param *GetModParam(int handle) const;
    QV_usr_param *GetUsrParam(int id) const;

    // The shown value of the parameter with that handle; a signed 16-bit 0
    // after a message when there is none.
    QV_param_val GetUIValue(int handle);
    // Stores a value read from the library's configuration for a port, and
    // writes the hardware when that port is the parameter's current one.
    int SetParamFromCNF(int port, int handle, const QV_param_val &value);
    // The same for port 0, without touching the hardware.
    int SetParamFromCNF(int handle, const QV_param_val &value);

    bool IsModified() const;
    void MarkSaved();
    void RevertAll();
    void Revert(int port);
    void ApplyAll();
    void SetPort(int port);
    void RefreshUsrParams();

    const std::string &GetName() const { return name_; }
    // The platform object the parameters write through; null for none.
    ParamOwner *GetOwner() const { return owner_; }
    // Points every parameter at the new owner too.
    void SetOwner(ParamOwner *owner);
    const ParamList &GetModParams() const { return params_; }
    const UsrParamList &GetUsrParams() const { return usrParams_; }
    const std::vector<std::unique_ptr<QV_param_group>> &GetParamGroups() const { return groups_; }
    QV_page_usr_param *GetPageSelector() const { return pageSelector_.get(); }

    int GetSlot() const { return slot_; }
    void SetSlot(int slot) { slot_ = slot; }
    int GetInstance() const { return instance_; }
    void SetInstance(int instance) { instance_ = instance; }
    bool IsEditable() const { return editable_; }

protected:
    void SetEditable(bool editable) { editable_ = editable; }
    // Clears the enabled flag of a parameter that must never reach the text file.
    void DisableModParam(int handle);

private:
    ParamOwner *owner_;
    std::string name_;
    ParamList params_;
    int slot_ = 0;
    UsrParamList usrParams_;
    std::vector<std::unique_ptr<QV_param_group>> groups_;
    int instance_ = 0;
    bool editable_ = false;
    std::unique_ptr<QV_page_usr_param> pageSelector_;
};

}  // namespace qvi
