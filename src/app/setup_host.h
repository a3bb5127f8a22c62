#pragma once

#include "params/module_setup.h"

namespace qvi {

// What a Module Setup dialog asks of the program, the same in both front ends:
// a change refreshes the board that carries the module, marks the
// configuration changed, and only some modules answer help per row. The
// front end says what happens when a dialog closes.
class ProgramSetupHost : public ModuleSetupHost {
public:
    // A camera channel first becomes its board's current channel, so that the
    // board refreshes the channel that changed.
    void RefreshOwner(QV_mod &module) override;
    void MarkConfigChanged() override;
    // The TX-10 and the SXA camera channel.
    bool HasRowHelp(const QV_mod &module) const override;
};

}  // namespace qvi
