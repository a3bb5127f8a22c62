#pragma once

#include <string>

#include "keys/key_table.h"
#include "params/mod.h"
#include "system/plat_mod.h"

namespace qvi {

// A parameter container made from a model's key table alone: one parameter
// per key, and the section every module without a writer of its own writes:
// the head, "Slot_Number" for a module in a slot, the module-wide keys, then
// one "[CameraPort:n]" block of the per-port keys for each camera port. It
// stands for the models whose own containers (labels, pages, special rows)
// are not built yet, and for the listed computational modules.
class QV_table_mod : public QV_mod {
public:
    QV_table_mod(const keys::ModelTable &table, QV_plat_mod *ownerBoard);

    void WriteCFGSection(std::ostream &out) override;
    const keys::ModelTable &Table() const { return table_; }

protected:
    void WriteHead(std::ostream &out) const;
    void WriteLines(std::ostream &out, bool perPort, int port);

private:
    const keys::ModelTable &table_;
};

// The generic platform object: a root whose FillParams reads every key of
// its model from the library's records, so nothing a configuration holds is
// lost when it is written back.
class QV_table_plat_mod : public QV_plat_mod {
public:
    QV_table_plat_mod(const keys::ModelTable *table, LibraryBinding *binding, std::uint32_t handle,
                      std::string className = "QV_plat_mod");

    void FillParams(QV_mod &container) override;
    void FillPortParams(QV_mod &container, int port) override;
    const keys::ModelTable *Table() const { return table_; }

private:
    const keys::ModelTable *table_;  // null for a model the data set lacks
};

}  // namespace qvi
