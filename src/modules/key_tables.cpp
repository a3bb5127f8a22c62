#include "modules/key_table.h"

namespace qvi::keys {

std::span<const ModelTable *const> AllModels() { return {}; }

const ModelTable *FindModel(std::string_view) { return nullptr; }

const ModelTable *FindSection(std::string_view) { return nullptr; }

const KeyRow *FindHandle(const ModelTable &table, int handle) {
    for (const KeyRow &row : table.keys)
        if (row.handle == handle) return &row;
    return nullptr;
}

}  // namespace qvi::keys
