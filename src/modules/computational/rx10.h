#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "system/table_mod.h"

namespace qvi {

// The RX-10 container: the five keys its section needs and nothing to edit,
// so no rows and no groups (the page list is built and stays empty). Its
// section is the common one of a slot module: head, "Slot_Number" and every
// non-empty key line. The values are filled by the generic table-driven
// platform object.
class QV_rx10_mod : public QV_table_mod {
public:
    explicit QV_rx10_mod(QV_plat_mod *ownerBoard);
};

// ---- dialog rows shared by the computational modules ----------------------

// What a row of a computational module's dialog is.
enum class RxRowKind { Choice, RangeU32, RangeS16, Value };

// One row: its id, label, kind, the module parameter's handle, and the choice
// labels or the number bounds.
struct RxUsrRow {
    int id;
    std::string_view label;
    RxRowKind kind;
    int handle;
    std::span<const std::string_view> labels = {};
    std::int64_t min = 0;
    std::int64_t max = 0;
    std::int64_t step = 0;
};

// Adds one row per table entry to the container, in table order.
void AddRxRows(QV_mod &module, std::span<const RxUsrRow> rows);
// Adds the one "Basic" group of rows first to last.
void AddRxBasicGroup(QV_mod &module, int first, int last);

}  // namespace qvi
