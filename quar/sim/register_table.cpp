// A model's register table as the library keeps it: one 18-byte entry per register number.
#include "sim/register_table.h"

#include <algorithm>
#include <cstring>

#include "quar/quar_api.h"

namespace quar {

namespace {

using qvi::keys::KeyRow;

bool IsWide(const KeyRow &row) {
    return row.type == qvi::keys::ValueType::U32 || row.type == qvi::keys::ValueType::S32;
}

}  // namespace

std::vector<std::uint8_t> BuildRegisterTable(const qvi::keys::ModelTable &table) {
    int highest = -1;
    for (const KeyRow &row : table.keys) highest = std::max(highest, row.reg);
    std::vector<std::uint8_t> entries(static_cast<std::size_t>(highest + 1) *
                                      QRX_REGTABLE_ENTRY_SIZE);
    for (int reg = 0; reg <= highest; ++reg) {
        std::uint8_t *entry =
            entries.data() + static_cast<std::size_t>(reg) * QRX_REGTABLE_ENTRY_SIZE;
        entry[0] = static_cast<std::uint8_t>(reg);
        entry[1] = static_cast<std::uint8_t>(reg >> 8);
        entry[16] = 16;
    }
    for (const KeyRow &row : table.keys) {
        if (row.reg < 0) continue;
        std::uint8_t *entry =
            entries.data() + static_cast<std::size_t>(row.reg) * QRX_REGTABLE_ENTRY_SIZE;
        if (entry[6] == 0)
            std::memcpy(entry + 6, row.key.data(), std::min<std::size_t>(row.key.size(), 10));
        if (IsWide(row)) {
            entry[16] = 32;
            entry[17] |= QRX_REG_32BIT;
        }
    }
    return entries;
}

}  // namespace quar
