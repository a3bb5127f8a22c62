// The configuration the converter and the library share: systems, boards, modules, key values.
#include "config/config_model.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string_view>

namespace quar {

namespace {

// The data set's own lookups behind the TableSet interface.
class Registry final : public TableSet {
public:
    const qvi::keys::ModelTable *FindSection(std::string_view section) const override {
        return qvi::keys::FindSection(section);
    }
    const qvi::keys::ModelTable *FindModel(std::string_view model) const override {
        return qvi::keys::FindModel(model);
    }
};

}  // namespace

const TableSet &RegistryTables() {
    static const Registry registry;
    return registry;
}

std::size_t PortCount(const qvi::keys::ModelTable &table) {
    return static_cast<std::size_t>(std::max(1, table.layout.cameraPorts));
}

bool IsTextRow(const qvi::keys::KeyRow &row) {
    return row.kind == qvi::keys::KeyKind::String || row.type == qvi::keys::ValueType::Text;
}

KeyValue DefaultValue(const qvi::keys::KeyRow &row) {
    KeyValue value;
    if (IsTextRow(row)) {
        value.isText = true;
        value.text = std::string(row.defaultText);
    } else {
        value.number = row.defaultNumber;
    }
    return value;
}

KeyValue DefaultValue(const qvi::keys::KeyRow &row, std::size_t port) {
    KeyValue value = DefaultValue(row);
    if (value.isText || port >= row.portDefaults.size()) return value;
    const qvi::keys::PortDefault &given = row.portDefaults[port];
    value.number = given.number;
    // An index default of a choice stands for the word at that position.
    if (given.index && row.kind == qvi::keys::KeyKind::Choice) {
        const auto position = static_cast<std::size_t>(given.number);
        if (given.number >= 0 && position < row.words.size())
            value.number = row.words[position].value;
    }
    return value;
}

void FillDefaults(ModuleConfig &module) {
    if (module.table == nullptr) return;
    module.ports.resize(PortCount(*module.table));
    for (const qvi::keys::KeyRow &row : module.table->keys) {
        const std::size_t ports = row.perPort ? module.ports.size() : 1;
        for (std::size_t port = 0; port < ports; ++port)
            module.ports[port].try_emplace(row.handle, DefaultValue(row, port));
    }
}

IntegerLimits LimitsOf(qvi::keys::ValueType type) {
    using qvi::keys::ValueType;
    switch (type) {
        case ValueType::U8:
            return {0, 0xFF, 8, false};
        case ValueType::U16:
            return {0, 0xFFFF, 16, false};
        case ValueType::U32:
            return {0, 0xFFFFFFFF, 32, false};
        case ValueType::S8:
            return {-128, 127, 8, true};
        case ValueType::S16:
            return {-32768, 32767, 16, true};
        case ValueType::S32:
        case ValueType::Index:
        case ValueType::Float:
        case ValueType::Text:
            break;
    }
    return {std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max(), 32,
            true};
}

// A signed field's bit field that reaches the top bit holds negative numbers too.
IntegerLimits LimitsOf(const qvi::keys::KeyRow &row) {
    using qvi::keys::Field;
    const qvi::keys::Location &at = row.location;
    if (at.bitCount == 0) return LimitsOf(row.type);
    const bool isSigned = (at.field == Field::S16 && at.bitShift + at.bitCount == 16) ||
                          (at.field == Field::S32 && at.bitShift + at.bitCount == 32);
    const std::int64_t span = std::int64_t{1} << at.bitCount;
    if (isSigned) return {-span / 2, span / 2 - 1, at.bitCount, true};
    return {0, span - 1, at.bitCount, false};
}

std::string CheckSystemNumber(int number, const Configuration &config) {
    if (number < 0 || number >= kSystemCount) return "value out of range";
    for (const SystemConfig &system : config.systems)
        if (system.number == number) return "duplicate system";
    return {};
}

std::string CheckInstance(int instance) {
    return instance < 0 || instance > kMaxInstance ? "value out of range" : std::string();
}

std::string CheckSlot(const BoardConfig &board, const qvi::keys::ModelTable &module,
                      std::int64_t slot) {
    const auto &slots = board.board.table->slots;
    if (slot < 0 || static_cast<std::uint64_t>(slot) >= slots.size())
        return "no such slot on the board";
    if (slots[static_cast<std::size_t>(slot)] != module.fits)
        return "slot does not take this module";
    for (const ModuleConfig &other : board.modules)
        if (other.table->category == qvi::keys::ModelCategory::SlotModule && other.slot == slot)
            return "slot already taken";
    return {};
}

std::string CheckChannel(const BoardConfig &board, int channel) {
    const auto &slots = board.board.table->slots;
    const auto channels =
        std::count(slots.begin(), slots.end(), qvi::keys::SlotKind::CameraChannel);
    if (channel < 0 || channel >= kMaxCameraPorts || channel >= channels)
        return "no such camera channel on the board";
    for (const ModuleConfig &other : board.modules)
        if (other.table->category == qvi::keys::ModelCategory::CameraChannel &&
            other.slot == channel)
            return "camera channel already taken";
    return {};
}

std::string CheckFloat(double number) {
    if (!std::isfinite(number)) return "bad number";
    if (std::fabs(number) > double{std::numeric_limits<float>::max()}) return "value out of range";
    return {};
}

namespace {

std::string CheckInteger(const qvi::keys::KeyRow &row, double number) {
    if (!std::isfinite(number) || std::trunc(number) != number) return "bad number";
    const IntegerLimits limits = LimitsOf(row);
    if (number < static_cast<double>(limits.min) || number > static_cast<double>(limits.max))
        return "value out of range";
    return {};
}

}  // namespace

std::string CheckValue(const qvi::keys::KeyRow &row, const KeyValue &value) {
    if (value.isText != IsTextRow(row)) return "wrong value kind";
    if (value.isText)
        return value.text.find('\n') == std::string::npos ? std::string()
                                                          : "text holds a line break";
    if (row.kind == qvi::keys::KeyKind::Choice) {
        for (const qvi::keys::Word &word : row.words)
            if (word.value == value.number) return {};
        return "no word for the value";
    }
    if (row.type == qvi::keys::ValueType::Float) return CheckFloat(value.number);
    return CheckInteger(row, value.number);
}

namespace {

constexpr std::size_t kQuotedLength = 80;

// At most kQuotedLength characters of the offending text, with control
// characters written as escapes: a huge line or terminal escape codes in a
// file must not become a huge message or reach the terminal.
std::string Quoted(std::string_view text) {
    std::string quoted;
    const std::size_t shown = std::min(text.size(), kQuotedLength);
    for (char c : text.substr(0, shown)) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte != 0x7F) {
            quoted += c;
            continue;
        }
        static constexpr char kHex[] = "0123456789abcdef";
        quoted += c == '\t'   ? std::string("\\t")
                  : c == '\r' ? std::string("\\r")
                              : std::string("\\x") + kHex[byte >> 4] + kHex[byte & 15];
    }
    if (shown < text.size()) quoted += "...";
    return quoted;
}

}  // namespace

std::string ConfigError::Message() const {
    std::string message = file;
    if (line > 0) message += ":" + std::to_string(line);
    message += ": " + reason;
    if (!text.empty()) message += ": " + Quoted(text);
    return message;
}

}  // namespace quar
