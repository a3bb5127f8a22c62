// The container and platform object made from a model's key table alone.
#include "system/table_mod.h"

#include <ostream>

#include "system/table_params.h"

namespace qvi {

QV_table_mod::QV_table_mod(const keys::ModelTable &table, QV_plat_mod *ownerBoard)
    : QV_mod(std::string(table.model), ownerBoard), table_(table) {
    AddParamsFromTable(*this, table_);
    // Values the library does not keep are the program's own: never written.
    for (const keys::KeyRow &row : table_.keys)
        if (row.location.record == keys::Record::None) DisableModParam(row.handle);
    BuildPageList();
}

void QV_table_mod::WriteHead(std::ostream &out) const {
    if (table_.category == keys::ModelCategory::BusTranslator) {
        out << "[" << table_.section << "]\n";
        return;
    }
    out << "[" << table_.section << ":" << GetInstance() << "]\n";
    if (table_.category == keys::ModelCategory::SlotModule)
        out << kIndent << "Slot_Number = " << GetSlot() << "\n";
}

void QV_table_mod::WriteLines(std::ostream &out, bool perPort, int port) {
    for (std::size_t i = 0; i < table_.keys.size() && i < GetModParams().size(); ++i) {
        if (table_.keys[i].perPort != perPort) continue;
        WriteParamLine(out, GetModParams()[i]->GetCFGString(perPort ? port : 0));
    }
}

void QV_table_mod::WriteCFGSection(std::ostream &out) {
    WriteHead(out);
    if (table_.layout.cameraPorts <= 1) {
        for (const auto &param : GetModParams()) {
            WriteParamLine(out, param->GetCFGString(0));
        }
        return;
    }
    WriteLines(out, false, 0);
    for (int port = 0; port < table_.layout.cameraPorts; ++port) {
        out << "[CameraPort:" << port << "]\n";
        WriteLines(out, true, port);
    }
}

QV_table_plat_mod::QV_table_plat_mod(const keys::ModelTable *table, LibraryBinding *binding,
                                     std::uint32_t handle, std::string className)
    : QV_plat_mod(std::move(className), binding, handle), table_(table) {}

void QV_table_plat_mod::FillParams(QV_mod &container) {
    if (table_ == nullptr) return;
    int ports = table_->layout.cameraPorts > 1 ? table_->layout.cameraPorts : 1;
    for (int port = 0; port < ports; ++port) FillPortParams(container, port);
}

void QV_table_plat_mod::FillPortParams(QV_mod &container, int port) {
    if (table_ == nullptr) return;
    for (const keys::KeyRow &row : table_->keys) {
        if (port > 0 && !row.perPort) continue;
        QV_param_val value = ReadKeyValue(*this, *table_, row, port);
        if (value.GetKind() == ValKind::Index && value.GetLong() == -1) continue;
        container.SetParamFromCNF(port, row.handle, value);
    }
}

}  // namespace qvi
