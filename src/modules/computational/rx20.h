#pragma once

#include "system/table_mod.h"

namespace qvi {

// The RX-20 memory module's container. It keeps the memory-size number (12,
// 16 or 64) that chooses the memory layouts offered for it; a module asked
// for as "RX-21" holds 12, as "RX-22" 64.
class QV_rx20_mod : public QV_table_mod {
public:
    static constexpr int kDefaultMemorySize = 16;

    explicit QV_rx20_mod(QV_plat_mod *ownerBoard);

    int GetMemorySize() const { return memorySize_; }
    void SetMemorySize(int sizeNumber) { memorySize_ = sizeNumber; }

private:
    int memorySize_ = kDefaultMemorySize;
};

}  // namespace qvi
