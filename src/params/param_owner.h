#pragma once

namespace qvi {

class QV_param_val;

// What a container and its parameters write through: the platform object of
// the board or module that owns them. A parameter knows only this much of it,
// so the parameters stand below the system model that holds the objects.
class ParamOwner {
public:
    // Without hardware or for register -1 nothing is written and 0 returned.
    virtual int write_reg(int reg, const QV_param_val &value) = 0;
    // The View Registers button.
    virtual void DumpRegisters() = 0;

protected:
    ~ParamOwner() = default;
};

}  // namespace qvi
