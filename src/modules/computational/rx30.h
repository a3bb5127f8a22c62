#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "params/usr_param.h"
#include "system/table_mod.h"

namespace qvi {

class LibraryBinding;

// The RX-30 module's platform object. The sizes are unsigned 32-bit, the
// emulator-init flag unsigned 16-bit and the load flag unsigned 8-bit; of
// the 32-bit operating mode only 1 (ASYNC) is told from anything else (SYNC).
class QV_rx30_plat_mod : public QV_table_plat_mod {
public:
    static constexpr int kOpModeHandle = 10;
    static constexpr std::size_t kOpModeOffset = 0x1e;

    QV_rx30_plat_mod(LibraryBinding *binding, std::uint32_t handle);

    void FillParams(QV_mod &container) override;
};

// The RX-30 container: eight rows on one "Basic" page and the common
// section of a slot module.
class QV_rx30_mod : public QV_table_mod {
public:
    explicit QV_rx30_mod(QV_plat_mod *ownerBoard);

    void CreateUsrParams() override;
    void CreateParamGroups() override;
};

// The "EMU init" row: "On" for any emulator-init count but 0. The chosen
// position itself is stored as the count.
class QV_emu_init_usr_param final : public QV_choice_usr_param {
public:
    QV_emu_init_usr_param(std::string label, int id, const ParamList &params, int handle,
                          std::vector<std::string> labels);

    int GetIndex() override;
    int SetIndex(int index) override;
};

}  // namespace qvi
