#pragma once

#include <cstdint>

#include "system/table_mod.h"

namespace qvi {

class LibraryBinding;

// The RX-40 image-processing interface's platform object: its seven
// specification words fill the container, and its registers are dumped
// through the library's "rx40_dregs".
class QV_rx40_plat_mod : public QV_table_plat_mod {
public:
    QV_rx40_plat_mod(LibraryBinding *binding, std::uint32_t handle);

    // Each word of the specification, as a signed 16-bit value, into its key.
    void FillParams(QV_mod &container) override;
    // With hardware only.
    void DumpRegisters() override;

private:
    using DumpEntry = int (*)(std::uint32_t);
    DumpEntry dumpEntry_ = nullptr;
};

// The RX-40 container: seven rows on one "Basic" page and the common
// section of a slot module.
class QV_rx40_mod : public QV_table_mod {
public:
    explicit QV_rx40_mod(QV_plat_mod *ownerBoard);

    void CreateUsrParams() override;
    void CreateParamGroups() override;
};

}  // namespace qvi
