// Parameters made from key rows, and key values read from the library's records.
#include "system/table_params.h"

#include <bit>
#include <cmath>
#include <cstring>

#include "params/mod.h"
#include "system/plat_mod.h"

namespace qvi {

namespace {

using keys::Field;
using keys::KeyKind;
using keys::KeyRow;
using keys::Record;
using keys::ValueType;

int PortsOf(const keys::ModelTable &table, const KeyRow &row) {
    return row.perPort && table.layout.cameraPorts > 1 ? table.layout.cameraPorts : 1;
}

// A choice's stored value to its list position and back; inverted, the
// hardware and the spare converter swap 0 and 1.
Converters ChoiceConverters(bool inverted) {
    Converters converters{.toUi = std::make_unique<Val2IndexConverter>(),
                          .fromUi = std::make_unique<Index2ValConverter>(),
                          .toText = std::make_unique<Val2IndexConverter>()};
    if (inverted) {
        converters.toHardware = std::make_unique<InvertConverter>();
        converters.spare = std::make_unique<InvertConverter>();
    }
    return converters;
}

std::vector<QV_param_val> ChoiceDefaults(const KeyRow &row, const ChoiceOptions &options) {
    if (options.defaultValue) return {*options.defaultValue};
    if (!options.byPosition) return PortDefaultsOf(row);
    const std::size_t position = WordPosition(row, row.defaultNumber).value_or(0);
    return {ValueOfType(row.type, static_cast<double>(position))};
}

ConverterPtr ConfigurationConverter(const KeyRow &row) {
    if (row.conversion == keys::Conversion::Invert) return std::make_unique<InvertConverter>();
    return nullptr;
}

// The bits of an integer field, extended to 64 bits by the field's sign; a
// bit field's own bits when the value is one.
std::int64_t FieldNumber(const std::uint8_t *record, const keys::Location &at) {
    if (at.bitCount > 0) {
        const bool is16 = at.field == Field::U16 || at.field == Field::S16;
        const std::uint32_t raw =
            is16 ? RecordU16(record, at.offset) : RecordU32(record, at.offset);
        const bool isSigned = at.field == Field::S16 || at.field == Field::S32;
        return keys::ExtractBits(raw, at, is16 ? 16 : 32, isSigned);
    }
    switch (at.field) {
        case Field::U8:
            return record[at.offset];
        case Field::U16:
            return RecordU16(record, at.offset);
        case Field::S16:
            return RecordS16(record, at.offset);
        case Field::U32:
            return RecordU32(record, at.offset);
        case Field::S32:
            return static_cast<std::int32_t>(RecordU32(record, at.offset));
        default:
            return 0;
    }
}

QV_param_val TextAt(const QV_plat_mod &platform, const std::uint8_t *record,
                    const keys::Location &at) {
    if (at.field == Field::InlineText) {
        const char *text = reinterpret_cast<const char *>(record + at.offset);
        return QV_param_val::Text(std::string(text, strnlen(text, keys::kInlineTextSize)));
    }
    const std::uint8_t *text = platform.Deref(RecordU32(record, at.offset));
    return QV_param_val::Text(text ? reinterpret_cast<const char *>(text) : "");
}

// A text kept as a number: the word that stands for it.
QV_param_val WordOf(const KeyRow &row, std::int64_t number) {
    for (const keys::Word &word : row.words)
        if (word.value == number) return QV_param_val::Text(std::string(word.word));
    return DefaultValueOf(row);
}

}  // namespace

QV_param_val ValueOfType(ValueType type, double number) {
    if (type == ValueType::Float) return QV_param_val::Float(static_cast<float>(number));
    if (type == ValueType::Index) return QV_param_val::Index(static_cast<std::int32_t>(number));
    auto whole = static_cast<std::int64_t>(std::trunc(number));
    return QV_param_val::FromPayload(static_cast<ValKind>(type),
                                     static_cast<std::uint32_t>(static_cast<std::uint64_t>(whole)));
}

QV_param_val DefaultValueOf(const KeyRow &row) {
    if (row.type == ValueType::Text) return QV_param_val::Text(std::string(row.defaultText));
    return ValueOfType(row.type, row.defaultNumber);
}

std::optional<std::size_t> WordPosition(const KeyRow &row, double value) {
    for (std::size_t i = 0; i < row.words.size(); ++i)
        if (row.words[i].value == value) return i;
    return std::nullopt;
}

std::vector<QV_param_val> PortDefaultsOf(const KeyRow &row) {
    if (row.portDefaults.empty()) return {DefaultValueOf(row)};
    std::vector<QV_param_val> defaults;
    for (const keys::PortDefault &given : row.portDefaults)
        defaults.push_back(given.index
                               ? QV_param_val::Index(static_cast<std::int32_t>(given.number))
                               : ValueOfType(row.type, given.number));
    return defaults;
}

ChoiceParts ChoicePartsOf(const KeyRow &row, const ChoiceOptions &options) {
    ChoiceParts parts{.defaults = ChoiceDefaults(row, options),
                      .converters = ChoiceConverters(options.inverted)};
    for (std::size_t i = 0; i < row.words.size(); ++i) {
        parts.names.emplace_back(row.words[i].word);
        parts.values.push_back(ValueOfType(
            row.type, options.byPosition ? static_cast<double>(i) : row.words[i].value));
    }
    return parts;
}

std::unique_ptr<QV_mod_param> MakeParam(const KeyRow &row, int ports) {
    switch (row.kind) {
        case KeyKind::Choice:
            return MakeChoice(row, ports);
        case KeyKind::Range:
            return MakeRange(row, ports, {.fromCnf = ConfigurationConverter(row)});
        case KeyKind::String:
            break;
    }
    return MakeKeyParam<QV_string_param>(row, ports, PortDefaultsOf(row), {});
}

void AddParamsFromTable(QV_mod &module, const keys::ModelTable &table, const ParamMaker &own) {
    for (const KeyRow &row : table.keys) {
        const int ports = PortsOf(table, row);
        std::unique_ptr<QV_mod_param> param = own ? own(row, ports) : nullptr;
        module.AddModParam(param ? std::move(param) : MakeParam(row, ports));
    }
}

const std::uint8_t *RecordFor(const QV_plat_mod &platform, const keys::ModelTable &table,
                              const KeyRow &row, int port) {
    const std::uint8_t *spec = platform.Spec();
    if (spec == nullptr) return nullptr;
    if (row.location.record == Record::Spec) return spec;
    const keys::Layout &layout = table.layout;
    int index = row.perPort ? port : 0;
    const std::uint8_t *camera = spec;
    if (layout.cameraRefOffset >= 0)
        camera = platform.Deref(RecordU32(
            spec,
            static_cast<std::size_t>(layout.cameraRefOffset + index * layout.cameraRefStride)));
    if (row.location.record == Record::Camera || camera == nullptr) return camera;
    if (row.location.record == Record::Matrix && layout.matrixRefOffset >= 0)
        return platform.Deref(RecordU32(camera, static_cast<std::size_t>(layout.matrixRefOffset)));
    return nullptr;
}

QV_param_val ReadKeyValue(const QV_plat_mod &platform, const keys::ModelTable &table,
                          const KeyRow &row, int port) {
    if (row.location.record == Record::None) return QV_param_val::Index(-1);
    const std::uint8_t *record = RecordFor(platform, table, row, port);
    if (record == nullptr) return QV_param_val::Index(-1);
    const keys::Location &at = row.location;
    if (at.field == Field::InlineText || at.field == Field::TextRef)
        return TextAt(platform, record, at);
    if (at.field == Field::F32)
        return QV_param_val::Float(std::bit_cast<float>(RecordU32(record, at.offset)));
    std::int64_t number = FieldNumber(record, at) - row.storedDelta;
    if (row.type == ValueType::Text) return WordOf(row, number);
    return ValueOfType(row.type, static_cast<double>(number));
}

}  // namespace qvi
