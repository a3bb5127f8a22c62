#pragma once

#include "system/board_plat_mod.h"

namespace qvi {

// The RX-600 computational motherboard: three computational-module slots.
class RXP_plat_mod : public QV_board_plat_mod {
public:
    RXP_plat_mod(LibraryBinding *binding, std::uint32_t handle);

    // Offers the 16-bit value at byte 12 of the board's specification; the
    // board's container has no parameter to take it.
    void FillParams(QV_mod &container) override;
    // The computational modules in slots 0, 1 and 2.
    std::vector<std::string> DetectModules() override;
};

// The RX-600's container: no parameters; its section is the head line alone.
class QV_rx600_mod : public QV_mod {
public:
    explicit QV_rx600_mod(QV_plat_mod *ownerBoard);
    void WriteCFGSection(std::ostream &out) override;
};

}  // namespace qvi
