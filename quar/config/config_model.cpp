// The configuration the converter and the library share: systems, boards, modules, key values.
#include "config/config_model.h"

#include <algorithm>

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
