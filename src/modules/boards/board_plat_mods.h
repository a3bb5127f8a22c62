#pragma once

#include "system/board_plat_mod.h"

namespace qvi {

// The SX-400 board: one acquisition-module slot.
class SXP_plat_mod : public QV_board_plat_mod {
public:
    SXP_plat_mod(LibraryBinding *binding, std::uint32_t handle);
    // The module the board reports in slot 0.
    std::vector<std::string> DetectModules() override;
};

// The SXA board: one "SXA-VMOD" per camera channel of its description.
class SXA_plat_mod : public QV_board_plat_mod {
public:
    SXA_plat_mod(LibraryBinding *binding, std::uint32_t handle);
    std::vector<std::string> DetectModules() override;
    int CurrentChannel() const { return currentChannel_; }
    void SetCurrentChannel(int channel) { currentChannel_ = channel; }

private:
    int currentChannel_ = 0;
};

// The DQ-500 board: an acquisition module in slot 0, a computational one in slot 1.
class DQP_plat_mod : public QV_board_plat_mod {
public:
    DQP_plat_mod(LibraryBinding *binding, std::uint32_t handle);
    std::vector<std::string> DetectModules() override;
};

}  // namespace qvi
