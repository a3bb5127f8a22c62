#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include "params/mod.h"
#include "system/board_plat_mod.h"

namespace qvi {

// The multi-channel SXA board. Its camera channels are "SXA-VMOD" elements;
// every caller sets the channel a board call is meant for first.
class SXA_plat_mod : public QV_board_plat_mod {
public:
    SXA_plat_mod(LibraryBinding *binding, std::uint32_t handle);

    // One "SXA-VMOD" per camera channel of the board's library description.
    std::vector<std::string> DetectModules() override;

    int CurrentChannel() const { return currentChannel_; }
    void SetCurrentChannel(int channel) { currentChannel_ = channel; }
    void SelectChannel(int channel) override { SetCurrentChannel(channel); }

private:
    int currentChannel_ = 0;
};

// The parameter container of the SXA board: the head of its section, then
// every parameter's line (the board keeps no key of its own today).
class QV_sxa_board_mod final : public QV_mod {
public:
    explicit QV_sxa_board_mod(QV_plat_mod *platform);

    void WriteCFGSection(std::ostream &out) override;
    void CreateModParams() override;
};

}  // namespace qvi
