#pragma once

#include <cstddef>
#include <map>
#include <memory>
#include <string>

#include "config/config_model.h"
#include "keys/key_table.h"

namespace qvi {

class QV_mod;
class QV_plat_mod;

// The limits the Module Setup dialog's number rows put on the keys they edit.
// The converter only holds a number to its field's width; the dialog refuses
// anything outside its row's limits, so a file can hold what no user could
// have typed. Each model's rows are built once, without a library, as the help
// pages build them.
class RowLimits {
public:
    RowLimits();
    ~RowLimits();
    RowLimits(const RowLimits &) = delete;
    RowLimits &operator=(const RowLimits &) = delete;

    // Why the key's value in that port lies outside the limits of a number row
    // that edits it, e.g. "HTotal = 5000 is outside 0..1023, the limits of
    // Horizontal Total"; empty when it lies inside or no number row edits it.
    // A key whose text is not its stored value (a hundredth, an inverted
    // number) is held to its field's width alone, as the converter holds it.
    std::string Check(const keys::ModelTable &table, const keys::KeyRow &row, std::size_t port,
                      const quar::KeyValue &value);

private:
    struct Model {
        std::unique_ptr<QV_plat_mod> platform;
        std::unique_ptr<QV_mod> module;
    };
    QV_mod *ModuleOf(const keys::ModelTable &table);

    std::map<const keys::ModelTable *, Model> models_;
};

}  // namespace qvi
