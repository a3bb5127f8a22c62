#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "keys/key_table.h"
#include "params/mod_param.h"

namespace qvi {

class QV_mod;
class QV_plat_mod;

// A number as a value of a key's type.
QV_param_val ValueOfType(keys::ValueType type, double number);
// The default value of a key, in its type.
QV_param_val DefaultValueOf(const keys::KeyRow &row);

// The position of the word that stands for a value in a choice key's list;
// none when no word does.
std::optional<std::size_t> WordPosition(const keys::KeyRow &row, double value);
// The defaults of a key, one per port when the key's defaults differ between
// ports (an index default stays an index value), else the key's one default.
std::vector<QV_param_val> PortDefaultsOf(const keys::KeyRow &row);

// The six converters a parameter owns, by name; one left out is the identity.
struct Converters {
    ConverterPtr toUi = nullptr;
    ConverterPtr fromUi = nullptr;
    ConverterPtr toText = nullptr;
    ConverterPtr fromCnf = nullptr;
    ConverterPtr toHardware = nullptr;
    ConverterPtr spare = nullptr;
};

// How a module's choice departs from its key row.
struct ChoiceOptions {
    // The parameter holds a word's position in the row, not the word's value;
    // the default becomes the position of the key's default (0 when none).
    bool byPosition = false;
    // The hardware takes the value the other way round (0 and 1 swapped).
    bool inverted = false;
    // Every port's default, in place of the key's.
    std::optional<QV_param_val> defaultValue = std::nullopt;
};

// The pieces of a choice parameter made from its key row.
struct ChoiceParts {
    std::vector<QV_param_val> defaults = {};
    Converters converters = {};
    std::vector<std::string> names = {};
    std::vector<QV_param_val> values = {};
};
ChoiceParts ChoicePartsOf(const keys::KeyRow &row, const ChoiceOptions &options);

// A parameter of class Param for a key row: its name, register and handle
// from the row, then the six converters, then what the class takes besides.
template <class Param, class... Rest>
std::unique_ptr<QV_mod_param> MakeKeyParam(const keys::KeyRow &row, int ports,
                                           std::span<const QV_param_val> defaults,
                                           Converters converters, Rest &&...rest) {
    return std::make_unique<Param>(
        std::string(row.key), ports, defaults, row.reg, row.handle, std::move(converters.toUi),
        std::move(converters.fromUi), std::move(converters.toText), std::move(converters.fromCnf),
        std::move(converters.toHardware), std::move(converters.spare), std::forward<Rest>(rest)...);
}

// A choice of class Param (a QV_choice_param) for a key row: the row's words
// and values, the choice converters, `ports` values each.
template <class Param = QV_choice_param>
std::unique_ptr<QV_mod_param> MakeChoice(const keys::KeyRow &row, int ports,
                                         const ChoiceOptions &options = {}) {
    ChoiceParts parts = ChoicePartsOf(row, options);
    return MakeKeyParam<Param>(row, ports, parts.defaults, std::move(parts.converters),
                               std::move(parts.names), std::move(parts.values), row.named);
}

// A number of class Param (a QV_range_param) for a key row, with its radix.
template <class Param = QV_range_param>
std::unique_ptr<QV_mod_param> MakeRange(const keys::KeyRow &row, int ports,
                                        Converters converters = {}) {
    return MakeKeyParam<Param>(row, ports, PortDefaultsOf(row), std::move(converters), row.radix);
}

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
