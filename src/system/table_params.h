#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "keys/key_table.h"
#include "params/mod_param.h"

namespace qvi {

class QV_mod;
class QV_plat_mod;

// A number as a value of a key's type.
QV_param_val ValueOfType(keys::ValueType type, double number);
// The default value of a key, in its type.
QV_param_val DefaultValueOf(const keys::KeyRow &row);

// One parameter for a key row: a choice with the choice converters, a range
// with its radix, or a text; `ports` values each (1 for module-wide keys).
std::unique_ptr<QV_mod_param> MakeParam(const keys::KeyRow &row, int ports);
// A module's own parameter for a key row (other converters, another class);
// null leaves the row to MakeParam.
using ParamMaker = std::function<std::unique_ptr<QV_mod_param>(const keys::KeyRow &, int ports)>;

// Adds a parameter for every row of the table, in table order. Per-port rows
// get one value per camera port of the model.
void AddParamsFromTable(QV_mod &module, const keys::ModelTable &table, const ParamMaker &own = {});

// The library record that holds a key's value for a port, found through the
// platform object's specification: the specification itself, the port's
// camera structure or its colour matrix. Null when the library has none.
const std::uint8_t *RecordFor(const QV_plat_mod &platform, const keys::ModelTable &table,
                              const keys::KeyRow &row, int port);
// The value of a key as the library keeps it, in the key's type: 16-bit
// fields extended by their sign, the library's offset taken back, texts
// followed through their references. An index -1 when it cannot be read.
QV_param_val ReadKeyValue(const QV_plat_mod &platform, const keys::ModelTable &table,
                          const keys::KeyRow &row, int port);

}  // namespace qvi
