#pragma once

#include "params/mod.h"
#include "system/plat_mod.h"

namespace qvi {

// The BZ-700 bus translator. Its delays and safe-access flag come through its
// own library entries, which the PCI platform object looks up.
class BZ700_plat_mod : public QV_plat_mod {
public:
    BZ700_plat_mod(LibraryBinding *binding, std::uint32_t handle);

    // The three delays as handles 0 to 2, the safe-access flag as handle 3.
    void FillParams(QV_mod &container) override;
};

// The bus translator's container: the access-mode word, applied through the
// library's safe-access entry; its section ends with "No_Hardware" whenever
// the program runs without hardware.
class QV_bz700_mod : public QV_mod {
public:
    explicit QV_bz700_mod(QV_plat_mod *ownerBoard);
    void CreateModParams() override;
    void WriteCFGSection(std::ostream &out) override;
};

}  // namespace qvi
