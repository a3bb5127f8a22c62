// The list of every model's key table and the look-ups by model, section and handle.
#include "keys/key_table.h"
#include "keys/model_tables.h"

namespace qvi::keys {
namespace {

constexpr const ModelTable *kModels[] = {
    &kSx400Table,   &kSxaBoardTable, &kDq500Table, &kRx600Table, &kBz700Table,
    &kSxaPortTable, &kTx10Table,     &kTx20Table,  &kTx31Table,  &kTx40Table,
    &kTx50Table,    &kTx60Table,     &kTx70Table,  &kRx10Table,  &kRx20Table,
    &kRx30Table,    &kRx40Table,     &kRx50Table,  &kRx51Table,  &kRx52Table,
    &kRx53Table,    &kRx54Table,     &kRx55Table,  &kRx56Table,  &kRx57Table,
};

// The SX-400 carrying a TX-10 is written as the Lumo board.
constexpr std::string_view kLumoSection = "Lumo";

}  // namespace

std::span<const ModelTable *const> AllModels() {
    return kModels;
}

const ModelTable *FindModel(std::string_view model) {
    for (const ModelTable *table : kModels)
        if (table->model == model) return table;
    return nullptr;
}

const ModelTable *FindSection(std::string_view section) {
    if (section == kLumoSection) return &kSx400Table;
    for (const ModelTable *table : kModels)
        if (table->section == section) return table;
    return nullptr;
}

const KeyRow *FindHandle(const ModelTable &table, int handle) {
    for (const KeyRow &row : table.keys)
        if (row.handle == handle) return &row;
    return nullptr;
}

}  // namespace qvi::keys
