// The text configuration parser: sections, keys, bare words, camera-port blocks.
#include "config/text_parser.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <set>
#include <string>
#include <system_error>
#include <vector>

namespace quar {

namespace {

using qvi::keys::KeyKind;
using qvi::keys::KeyRow;
using qvi::keys::ModelCategory;
using qvi::keys::ModelTable;
using qvi::keys::SlotKind;
using qvi::keys::ValueType;
using qvi::keys::Word;

constexpr std::string_view kCameraPort = "CameraPort";

// ---- text ---------------------------------------------------------------------------------

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

bool HasBlank(std::string_view text) {
    for (char c : text)
        if (IsBlank(c)) return true;
    return false;
}

std::vector<std::string_view> SplitList(std::string_view text) {
    std::vector<std::string_view> items;
    for (;;) {
        const auto comma = text.find(',');
        items.push_back(Trim(text.substr(0, comma)));
        if (comma == std::string_view::npos) return items;
        text.remove_prefix(comma + 1);
    }
}

// ---- values -------------------------------------------------------------------------------

bool ParsedWhole(std::string_view text, const std::from_chars_result &result) {
    return result.ec != std::errc::invalid_argument && result.ptr == text.data() + text.size();
}

// "0x" and hexadecimal digits: a bit pattern of the key's width.
std::optional<std::int64_t> ReadHex(std::string_view digits, const IntegerLimits &limits,
                                    std::string &reason) {
    std::uint64_t bits = 0;
    const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), bits, 16);
    if (digits.empty() || !ParsedWhole(digits, result)) {
        reason = "bad number";
        return std::nullopt;
    }
    const std::uint64_t mask = (std::uint64_t{1} << limits.bits) - 1;
    if (result.ec == std::errc::result_out_of_range || bits > mask) {
        reason = "value out of range";
        return std::nullopt;
    }
    auto value = static_cast<std::int64_t>(bits);
    if (limits.isSigned && (bits >> (limits.bits - 1)) != 0)
        value -= static_cast<std::int64_t>(std::uint64_t{1} << limits.bits);
    return value;
}

std::optional<std::int64_t> ReadDecimal(std::string_view text, const IntegerLimits &limits,
                                        std::string &reason) {
    std::string_view digits = text;
    if (!digits.empty() && digits.front() == '+') {
        digits.remove_prefix(1);
        if (!digits.empty() && digits.front() == '-') digits = {};
    }
    std::int64_t value = 0;
    const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (digits.empty() || !ParsedWhole(digits, result)) {
        reason = "bad number";
        return std::nullopt;
    }
    if (result.ec == std::errc::result_out_of_range || value < limits.min || value > limits.max) {
        reason = "value out of range";
        return std::nullopt;
    }
    return value;
}

std::optional<std::int64_t> ReadInteger(std::string_view text, const IntegerLimits &limits,
                                        std::string &reason) {
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        return ReadHex(text.substr(2), limits, reason);
    return ReadDecimal(text, limits, reason);
}

// The text between the first and the last double quote, which must close the value.
std::optional<std::string_view> Unquote(std::string_view text, std::string &reason) {
    if (text.empty() || text.front() != '"') {
        reason = "text value must be quoted";
        return std::nullopt;
    }
    const auto close = text.rfind('"');
    if (close == 0) {
        reason = "unterminated quote";
        return std::nullopt;
    }
    if (close + 1 != text.size()) {
        reason = "stray text";
        return std::nullopt;
    }
    return text.substr(1, close - 1);
}

// A float key's number, quoted as the writer prints it or bare as in a list.
std::optional<double> ReadFloat(std::string_view text, std::string &reason) {
    if (!text.empty() && text.front() == '"') {
        const auto inner = Unquote(text, reason);
        if (!inner) return std::nullopt;
        text = Trim(*inner);
    }
    if (!text.empty() && text.front() == '+' && !(text.size() > 1 && text[1] == '-'))
        text.remove_prefix(1);
    double value = 0.0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || !ParsedWhole(text, result)) {
        reason = "bad number";
        return std::nullopt;
    }
    reason = result.ec == std::errc::result_out_of_range ? "value out of range" : CheckFloat(value);
    if (!reason.empty()) return std::nullopt;
    return value;
}

std::optional<std::int32_t> WordValue(const KeyRow &row, std::string_view word) {
    for (const Word &candidate : row.words)
        if (candidate.word == word) return candidate.value;
    return std::nullopt;
}

// The value a row takes from its text in a "Key = value" line.
std::optional<KeyValue> ReadValue(const KeyRow &row, std::string_view text, std::string &reason) {
    KeyValue value;
    if (IsTextRow(row) && !row.words.empty() && !text.empty() && text.front() != '"') {
        // A text with a word list (the RX-20 memory size) is written bare:
        // a layout name, or a memory-size name of the catalogue.
        value.isText = true;
        value.text = std::string(text);
        return value;
    }
    if (IsTextRow(row)) {
        const auto inner = Unquote(text, reason);
        if (!inner) return std::nullopt;
        value.isText = true;
        value.text = std::string(*inner);
        return value;
    }
    if (row.kind == KeyKind::Choice) {
        const auto number = WordValue(row, text);
        if (!number) {
            reason = "unknown word";
            return std::nullopt;
        }
        value.number = *number;
        return value;
    }
    if (row.type == ValueType::Float) {
        const auto number = ReadFloat(text, reason);
        if (!number) return std::nullopt;
        value.number = *number;
        return value;
    }
    if (row.conversion == qvi::keys::Conversion::Hundredths) {
        // "1.280" is kept as 128.
        const auto number = ReadFloat(text, reason);
        if (!number) return std::nullopt;
        const double whole = std::round(*number * 100.0);
        const IntegerLimits limits = LimitsOf(row);
        if (whole < static_cast<double>(limits.min) || whole > static_cast<double>(limits.max)) {
            reason = "value out of range";
            return std::nullopt;
        }
        value.number = whole;
        return value;
    }
    const auto number = ReadInteger(text, LimitsOf(row), reason);
    if (!number) return std::nullopt;
    value.number = static_cast<double>(*number);
    return value;
}

bool IsBareChoice(const KeyRow &row) {
    return row.kind == KeyKind::Choice && !row.named;
}

std::size_t CountSlots(const ModelTable &board, SlotKind kind) {
    std::size_t count = 0;
    for (SlotKind slot : board.slots)
        if (slot == kind) ++count;
    return count;
}

// ---- the parser ---------------------------------------------------------------------------

// The section being read: the element it describes and where its lines go.
struct Section {
    enum class Kind { None, System, Board, Module, Channel, BusTranslator };

    Kind kind = Kind::None;
    ModuleConfig module;
    std::string head;                  // the head line, for faults found at the end
    int port = -1;                     // the camera-port block being read; -1 outside
    std::set<int> portBlocks;          // the blocks seen so far
    std::vector<std::set<int>> given;  // per port: the handles the text set
    bool slotGiven = false;
};

// A bare choice that has an empty word takes its value wherever none of its
// words was written: the writer prints nothing for that word.
void ApplyEmptyWords(Section &section) {
    for (const KeyRow &row : section.module.table->keys) {
        if (!IsBareChoice(row)) continue;
        const auto empty = WordValue(row, "");
        if (!empty) continue;
        const std::size_t ports = row.perPort ? section.module.ports.size() : 1;
        for (std::size_t port = 0; port < ports; ++port)
            if (section.given[port].count(row.handle) == 0)
                section.module.ports[port][row.handle] =
                    KeyValue{false, static_cast<double>(*empty), {}};
    }
}

// Reads a file line by line into a Configuration, stopping at the first fault.
class Parser {
public:
    Parser(std::string_view fileName, const TableSet &tables, ConfigError &error)
        : fileName_(fileName), tables_(tables), error_(error) {}

    std::optional<Configuration> Run(std::string_view text);

private:
    bool Line(std::string_view line);
    bool Head(std::string_view line);
    bool OpenSystem(std::optional<int> number);
    bool OpenElement(std::string_view name, std::optional<int> number);
    bool OpenChannel(std::optional<int> number, bool afterSxa);
    bool OpenPortBlock(std::optional<int> number);
    void Open(Section::Kind kind, const ModelTable &table, std::string_view name, int instance);
    bool CloseSection();

    bool KeyLine(std::string_view key, std::string_view value);
    bool SlotLine(std::string_view value);
    bool AssignRows(const std::vector<const KeyRow *> &rows, std::string_view value);
    bool BareLine(std::string_view word);
    bool InScope(const KeyRow &row);
    void Assign(const KeyRow &row, const KeyValue &value);
    const KeyRow *FindBareRow(std::string_view word) const;
    bool IsPixelSizeBoard() const;

    BoardConfig *CurrentBoard();
    bool Fail(std::string reason) { return FailAt(line_, std::string(text_), std::move(reason)); }
    bool FailAt(int line, std::string text, std::string reason);

    std::string_view fileName_;
    const TableSet &tables_;
    ConfigError &error_;
    Configuration config_;
    std::size_t boards_ = 0;
    Section open_;
    int line_ = 0;
    std::string_view text_;
};

std::optional<Configuration> Parser::Run(std::string_view text) {
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    while (!text.empty()) {
        ++line_;
        const auto end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (!Line(line)) return std::nullopt;
    }
    text_ = {};
    if (!CloseSection()) return std::nullopt;
    // No system at all is a configuration without boards: what the program
    // writes when it runs without hardware.
    return std::move(config_);
}

bool Parser::Line(std::string_view line) {
    line = Trim(line);
    if (line.empty() || line.front() == '#') return true;
    text_ = line;
    if (line.front() == '[') return Head(line);
    if (open_.kind == Section::Kind::None || open_.kind == Section::Kind::System)
        return Fail("stray text");
    const auto equals = line.find('=');
    if (equals == std::string_view::npos) return BareLine(line);
    return KeyLine(Trim(line.substr(0, equals)), Trim(line.substr(equals + 1)));
}

// "[NAME]" or "[NAME:NUMBER]".
bool Parser::Head(std::string_view line) {
    const auto close = line.find(']');
    if (close == std::string_view::npos) return Fail("unterminated section head");
    if (close + 1 != line.size()) return Fail("stray text");
    std::string_view name = line.substr(1, close - 1);
    std::optional<int> number;
    if (const auto colon = name.find(':'); colon != std::string_view::npos) {
        const std::string_view digits = name.substr(colon + 1);
        name = name.substr(0, colon);
        int value = 0;
        const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), value);
        if (digits.empty() || digits.front() == '-' || !ParsedWhole(digits, result))
            return Fail("bad number");
        if (result.ec == std::errc::result_out_of_range) return Fail("value out of range");
        if (const std::string why = CheckInstance(value); !why.empty()) return Fail(why);
        number = value;
    }
    if (name == "SYSTEM") return OpenSystem(number);
    // The bus translator belongs to no system: a configuration without boards
    // is the bus translator alone.
    const ModelTable *table = tables_.FindSection(name);
    const bool busTranslator = table != nullptr && table->category == ModelCategory::BusTranslator;
    if (config_.systems.empty() && !busTranslator) return Fail("section before any [SYSTEM:n]");
    if (name == kCameraPort) {
        if (open_.kind == Section::Kind::Module) return OpenPortBlock(number);
        const bool afterSxa = open_.kind == Section::Kind::Channel ||
                              (open_.kind == Section::Kind::Board &&
                               CountSlots(*open_.module.table, SlotKind::CameraChannel) > 0);
        return CloseSection() && OpenChannel(number, afterSxa);
    }
    return CloseSection() && OpenElement(name, number);
}

bool Parser::OpenSystem(std::optional<int> number) {
    if (!CloseSection()) return false;
    if (!number) return Fail("section number missing");
    if (const std::string why = CheckSystemNumber(*number, config_); !why.empty()) return Fail(why);
    config_.systems.push_back({*number, line_, {}});
    open_ = {};
    open_.kind = Section::Kind::System;
    return true;
}

bool Parser::OpenElement(std::string_view name, std::optional<int> number) {
    const ModelTable *table = tables_.FindSection(name);
    if (table == nullptr || table->category == ModelCategory::CameraChannel)
        return Fail("unknown section");
    if (table->category == ModelCategory::BusTranslator) {
        if (number) return Fail("unexpected section number");
        if (config_.busTranslator) return Fail("duplicate bus translator");
        Open(Section::Kind::BusTranslator, *table, name, 0);
        return true;
    }
    if (!number) return Fail("section number missing");
    if (table->category == ModelCategory::Board) {
        if (++boards_ > kMaxBoards)
            return Fail("more boards than the library holds (" + std::to_string(kMaxBoards) + ")");
        Open(Section::Kind::Board, *table, name, *number);
        return true;
    }
    if (CurrentBoard() == nullptr) return Fail("module before any board");
    Open(Section::Kind::Module, *table, name, *number);
    return true;
}

// A camera channel of the SXA board: its section follows the board's or another channel's.
bool Parser::OpenChannel(std::optional<int> number, bool afterSxa) {
    if (!afterSxa) return Fail("camera port outside a four-port module or an SXA board");
    const ModelTable *table = tables_.FindSection(kCameraPort);
    if (table == nullptr || table->category != ModelCategory::CameraChannel)
        return Fail("unknown section");
    if (!number) return Fail("section number missing");
    if (const std::string why = CheckChannel(*CurrentBoard(), *number); !why.empty())
        return Fail(why);
    Open(Section::Kind::Channel, *table, kCameraPort, *number);
    open_.module.slot = *number;
    return true;
}

// A camera-port block of a four-port module. A model whose rows are pending
// takes the blocks the program writes for it, whatever its layout says.
bool Parser::OpenPortBlock(std::optional<int> number) {
    const ModelTable &table = *open_.module.table;
    if (!table.rowsPending && table.layout.cameraPorts <= 1)
        return Fail("camera port outside a four-port module or an SXA board");
    if (!number) return Fail("section number missing");
    const int ports = table.rowsPending ? kMaxCameraPorts : table.layout.cameraPorts;
    if (*number >= ports) return Fail("no such camera port on the module");
    if (!open_.portBlocks.insert(*number).second) return Fail("camera port given twice");
    open_.port = *number;
    return true;
}

void Parser::Open(Section::Kind kind, const ModelTable &table, std::string_view name,
                  int instance) {
    open_ = {};
    open_.kind = kind;
    open_.head = std::string(text_);
    open_.module.table = &table;
    open_.module.sectionName = std::string(name);
    open_.module.instance = instance;
    open_.module.line = line_;
    FillDefaults(open_.module);
    open_.given.resize(open_.module.ports.size());
}

// Ends the section being read and puts its element in place.
bool Parser::CloseSection() {
    Section section = std::move(open_);
    open_ = {};
    if (section.kind == Section::Kind::None || section.kind == Section::Kind::System) return true;
    if (section.kind == Section::Kind::Module && !section.slotGiven)
        return FailAt(section.module.line, section.head, "module section without Slot_Number");
    if (!section.module.table->rowsPending) ApplyEmptyWords(section);
    switch (section.kind) {
        case Section::Kind::Board:
            config_.systems.back().boards.push_back({std::move(section.module), {}});
            break;
        case Section::Kind::Module:
        case Section::Kind::Channel:
            CurrentBoard()->modules.push_back(std::move(section.module));
            break;
        case Section::Kind::BusTranslator:
            config_.busTranslator = std::move(section.module);
            break;
        case Section::Kind::None:
        case Section::Kind::System:
            break;
    }
    return true;
}

bool Parser::KeyLine(std::string_view key, std::string_view value) {
    const ModelTable &table = *open_.module.table;
    if (open_.kind == Section::Kind::Module && key == "Slot_Number") return SlotLine(value);
    if (table.rowsPending) return true;
    if (key.empty() || HasBlank(key)) return Fail("stray text");
    std::vector<const KeyRow *> rows;
    for (const KeyRow &row : table.keys)
        if (row.key == key && !IsBareChoice(row)) rows.push_back(&row);
    if (!rows.empty()) return AssignRows(rows, value);
    // Lines the writer adds for the library's sake when the model has no such key.
    if (key == "Camera_Structure" || key == "Matrix_Structure")
        return value == "Create_Structure" || Fail("unknown word");
    if (key == "PIXSZ_Override" && IsPixelSizeBoard()) {
        if (value != "16") return Fail("unknown word");
        open_.module.pixelSizeOverride16 = true;
        return true;
    }
    return Fail("unknown key");
}

bool Parser::SlotLine(std::string_view value) {
    if (open_.slotGiven) return Fail("Slot_Number given twice");
    if (open_.port >= 0) return Fail("module key inside a camera-port block");
    std::string reason;
    const auto slot = ReadInteger(value, LimitsOf(ValueType::S32), reason);
    if (!slot) return Fail(reason);
    if (const std::string why = CheckSlot(*CurrentBoard(), *open_.module.table, *slot);
        !why.empty())
        return Fail(why);
    open_.module.slot = static_cast<int>(*slot);
    open_.slotGiven = true;
    return true;
}

// One row takes the value; rows sharing a key take a comma-separated list in row order.
bool Parser::AssignRows(const std::vector<const KeyRow *> &rows, std::string_view value) {
    for (const KeyRow *row : rows)
        if (!InScope(*row)) return false;
    const std::vector<std::string_view> items =
        rows.size() == 1 ? std::vector<std::string_view>{value} : SplitList(value);
    if (items.size() != rows.size())
        return Fail("expected " + std::to_string(rows.size()) + " comma-separated values");
    std::vector<KeyValue> values;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        std::string reason;
        auto read = ReadValue(*rows[i], items[i], reason);
        if (!read) return Fail(reason);
        values.push_back(std::move(*read));
    }
    for (std::size_t i = 0; i < rows.size(); ++i) Assign(*rows[i], values[i]);
    return true;
}

bool Parser::BareLine(std::string_view word) {
    if (open_.module.table->rowsPending) return true;
    if (HasBlank(word)) return Fail("stray text");
    if (const KeyRow *row = FindBareRow(word)) {
        if (!InScope(*row)) return false;
        Assign(*row, KeyValue{false, static_cast<double>(*WordValue(*row, word)), {}});
        return true;
    }
    if (open_.kind == Section::Kind::BusTranslator && word == "No_Hardware") {
        open_.module.noHardware = true;
        return true;
    }
    return Fail("unknown word");
}

bool Parser::InScope(const KeyRow &row) {
    return open_.port < 0 || row.perPort || Fail("module key inside a camera-port block");
}

// A per-port key outside a camera-port block sets every port.
void Parser::Assign(const KeyRow &row, const KeyValue &value) {
    auto set = [&](std::size_t port) {
        open_.module.ports[port][row.handle] = value;
        open_.given[port].insert(row.handle);
    };
    if (open_.port >= 0) {
        set(static_cast<std::size_t>(open_.port));
    } else if (row.perPort) {
        for (std::size_t port = 0; port < open_.module.ports.size(); ++port) set(port);
    } else {
        set(0);
    }
}

// The first bare-choice row with this word that is not yet given here, else the first.
const KeyRow *Parser::FindBareRow(std::string_view word) const {
    const std::size_t port = open_.port < 0 ? 0 : static_cast<std::size_t>(open_.port);
    const KeyRow *first = nullptr;
    for (const KeyRow &row : open_.module.table->keys) {
        if (!IsBareChoice(row) || !WordValue(row, word)) continue;
        if (open_.given[port].count(row.handle) == 0) return &row;
        if (first == nullptr) first = &row;
    }
    return first;
}

// The SX-400 board (also written "Lumo") takes the line "PIXSZ_Override=16".
bool Parser::IsPixelSizeBoard() const {
    return open_.kind == Section::Kind::Board &&
           (open_.module.sectionName == "SX-400" || open_.module.sectionName == "Lumo");
}

BoardConfig *Parser::CurrentBoard() {
    if (config_.systems.empty() || config_.systems.back().boards.empty()) return nullptr;
    return &config_.systems.back().boards.back();
}

bool Parser::FailAt(int line, std::string text, std::string reason) {
    error_.file = std::string(fileName_);
    error_.line = line;
    error_.text = std::move(text);
    error_.reason = std::move(reason);
    return false;
}

}  // namespace

std::optional<Configuration> ParseConfigText(std::string_view text, std::string_view fileName,
                                             ConfigError &error, const TableSet &tables) {
    return Parser(fileName, tables, error).Run(text);
}

}  // namespace quar
