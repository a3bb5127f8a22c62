#pragma once

// The key tables every fuzz input is read with: the made-up models of the
// converter's tests, which use every rule, and the real data set.

#include <array>
#include <functional>

#include "config/config_model.h"
#include "fake_tables.h"

namespace quar::fuzz {

inline std::array<std::reference_wrapper<const TableSet>, 2> TableSets() {
    static const testing::FakeTables fake;
    return {std::cref<TableSet>(fake), std::cref(RegistryTables())};
}

}  // namespace quar::fuzz
