// The binary configuration: encoding, and decoding under the text form's rules.
#include "config/binary_format.h"

#include "config/input_file.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <fstream>
#include <iterator>
#include <string_view>
#include <system_error>

#include "config/text_parser.h"

namespace quar {

namespace {

using qvi::keys::KeyRow;
using qvi::keys::ModelCategory;
using qvi::keys::ModelTable;

constexpr std::uint8_t kNoHardwareFlag = 1;
constexpr std::uint8_t kPixelSizeFlag = 2;
constexpr std::uint8_t kKnownFlags = kNoHardwareFlag | kPixelSizeFlag;
constexpr std::uint8_t kNumberValue = 0;
constexpr std::uint8_t kTextValue = 1;

// The fewest bytes each record can take, to bound a count by what is left.
constexpr std::size_t kMinText = 4;
constexpr std::size_t kMinModule = 2 * kMinText + 3 * 4 + 1 + 4;
constexpr std::size_t kMinBoard = kMinModule + 4;
constexpr std::size_t kMinSystem = 3 * 4;
constexpr std::size_t kMinPort = 4;
constexpr std::size_t kMinValue = 4 + 1 + kMinText;

constexpr std::array<std::uint32_t, 256> MakeCrcTable() {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t i = 0; i < 256; ++i) {
        std::uint32_t crc = i;
        for (int bit = 0; bit < 8; ++bit) crc = (crc & 1) ? (crc >> 1) ^ 0xEDB88320u : crc >> 1;
        table[i] = crc;
    }
    return table;
}

constexpr std::array<std::uint32_t, 256> kCrcTable = MakeCrcTable();

// ---- writing ------------------------------------------------------------------------------

// Appends little-endian fields.
class Writer {
public:
    void U8(std::uint8_t value) { bytes_.push_back(value); }
    void U16(std::uint16_t value) { Little(value, 2); }
    void U32(std::uint32_t value) { Little(value, 4); }
    void I32(int value) { U32(static_cast<std::uint32_t>(value)); }
    void F64(double value) { Little(std::bit_cast<std::uint64_t>(value), 8); }
    void Text(std::string_view text) {
        U32(static_cast<std::uint32_t>(text.size()));
        bytes_.insert(bytes_.end(), text.begin(), text.end());
    }
    void Count(std::size_t count) { U32(static_cast<std::uint32_t>(count)); }

    std::vector<std::uint8_t> &Bytes() { return bytes_; }

private:
    void Little(std::uint64_t value, int size) {
        for (int i = 0; i < size; ++i)
            bytes_.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }

    std::vector<std::uint8_t> bytes_;
};

void WriteModule(Writer &out, const ModuleConfig &module) {
    out.Text(module.table != nullptr ? module.table->model : std::string_view{});
    out.Text(module.sectionName);
    out.I32(module.instance);
    out.I32(module.slot);
    out.I32(module.line);
    out.U8(static_cast<std::uint8_t>((module.noHardware ? kNoHardwareFlag : 0) |
                                     (module.pixelSizeOverride16 ? kPixelSizeFlag : 0)));
    out.Count(module.ports.size());
    for (const PortValues &port : module.ports) {
        out.Count(port.size());
        for (const auto &[handle, value] : port) {
            out.I32(handle);
            out.U8(value.isText ? kTextValue : kNumberValue);
            if (value.isText)
                out.Text(value.text);
            else
                out.F64(value.number);
        }
    }
}

std::vector<std::uint8_t> EncodePayload(const Configuration &config) {
    Writer out;
    out.U8(config.busTranslator ? 1 : 0);
    if (config.busTranslator) WriteModule(out, *config.busTranslator);
    out.Count(config.systems.size());
    for (const SystemConfig &system : config.systems) {
        out.I32(system.number);
        out.I32(system.line);
        out.Count(system.boards.size());
        for (const BoardConfig &board : system.boards) {
            WriteModule(out, board.board);
            out.Count(board.modules.size());
            for (const ModuleConfig &module : board.modules) WriteModule(out, module);
        }
    }
    return std::move(out.Bytes());
}

// ---- reading ------------------------------------------------------------------------------

// Takes little-endian fields from a byte span; the first fault sticks.
class Reader {
public:
    explicit Reader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    bool U8(std::uint8_t &value) {
        std::uint64_t raw = 0;
        if (!Little(raw, 1)) return false;
        value = static_cast<std::uint8_t>(raw);
        return true;
    }
    bool U32(std::uint32_t &value) {
        std::uint64_t raw = 0;
        if (!Little(raw, 4)) return false;
        value = static_cast<std::uint32_t>(raw);
        return true;
    }
    bool I32(int &value) {
        std::uint32_t raw = 0;
        if (!U32(raw)) return false;
        value = static_cast<int>(static_cast<std::int32_t>(raw));
        return true;
    }
    bool F64(double &value) {
        std::uint64_t raw = 0;
        if (!Little(raw, 8)) return false;
        value = std::bit_cast<double>(raw);
        return true;
    }
    bool Text(std::string &text) {
        std::uint32_t size = 0;
        if (!U32(size)) return false;
        if (size > Remaining()) return false;
        text.assign(reinterpret_cast<const char *>(bytes_.data() + pos_), size);
        pos_ += size;
        return true;
    }
    // A count of records that each take at least minSize bytes.
    bool Count(std::uint32_t &count, std::size_t minSize) {
        if (!U32(count)) return false;
        return count <= Remaining() / minSize;
    }

    std::size_t Remaining() const { return bytes_.size() - pos_; }

private:
    bool Little(std::uint64_t &value, std::size_t size) {
        if (size > Remaining()) return false;
        value = 0;
        for (std::size_t i = 0; i < size; ++i) value |= std::uint64_t{bytes_[pos_ + i]} << (8 * i);
        pos_ += size;
        return true;
    }
    std::span<const std::uint8_t> bytes_;
    std::size_t pos_ = 0;
};

// Rebuilds a Configuration from a payload whose checksum held, checking every
// record against the key tables and against the rules the text form obeys.
// Records (systems, boards, modules, the bus translator) are counted from 1
// in file order, and every refusal names the record it found wrong:
// "record 12 (TX-40:0): value out of range: Horizontal_Active = 70000".
class Decoder {
public:
    Decoder(std::span<const std::uint8_t> payload, const TableSet &tables, std::string &error)
        : in_(payload), tables_(tables), error_(error) {}

    std::optional<Configuration> Run();

private:
    bool Payload(Configuration &config);
    bool System(Configuration &config);
    bool Board(SystemConfig &system);
    bool Module(ModuleConfig &module, bool (*expected)(ModelCategory));
    bool Placement(const ModuleConfig &module, const BoardConfig *board);
    bool Port(ModuleConfig &module, std::size_t port);
    void BeginRecord(std::string label) {
        ++record_;
        label_ = std::move(label);
    }
    bool Fail(const std::string &reason) {
        error_ = "record " + std::to_string(record_);
        if (!label_.empty()) error_ += " (" + label_ + ")";
        error_ += ": " + reason;
        return false;
    }
    // A broken rule, with what broke it.
    bool Refuse(const std::string &why, const std::string &what = {}) {
        return why.empty() || Fail(what.empty() ? why : why + ": " + what);
    }
    bool Truncated() { return Fail("payload truncated or a count too large"); }

    Reader in_;
    const TableSet &tables_;
    std::string &error_;
    int record_ = 0;
    std::string label_;
};

bool IsBoard(ModelCategory category) {
    return category == ModelCategory::Board;
}
bool IsBusTranslator(ModelCategory category) {
    return category == ModelCategory::BusTranslator;
}
bool IsBoardModule(ModelCategory category) {
    return category == ModelCategory::SlotModule || category == ModelCategory::CameraChannel;
}

// A number as the text form writes it: "70000", "0.125", "1e+300".
std::string NumberText(double number) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, number);
    return std::string(buffer, result.ptr);
}

// "Key = value" for a refusal; a bare choice is named by its handle.
std::string ValueText(const KeyRow &row, const KeyValue &value) {
    const std::string key =
        row.key.empty() ? "key handle " + std::to_string(row.handle) : std::string(row.key);
    if (value.isText) return key + " = \"" + value.text + "\"";
    return key + " = " + NumberText(value.number);
}

// The SX-400 (also written "Lumo") is the only board the text form gives the
// 16-bit pixel size override.
bool TakesPixelSizeOverride(const ModuleConfig &module) {
    return module.sectionName == "SX-400" || module.sectionName == "Lumo";
}

std::optional<Configuration> Decoder::Run() {
    Configuration config;
    if (!Payload(config)) return std::nullopt;
    return config;
}

bool Decoder::Payload(Configuration &config) {
    std::uint8_t hasBus = 0;
    if (!in_.U8(hasBus)) return Truncated();
    if (hasBus > 1) return Fail("bad bus translator flag");
    if (hasBus == 1) {
        config.busTranslator.emplace();
        if (!Module(*config.busTranslator, IsBusTranslator) ||
            !Placement(*config.busTranslator, nullptr))
            return false;
    }
    std::uint32_t systems = 0;
    if (!in_.Count(systems, kMinSystem)) return Truncated();
    for (std::uint32_t i = 0; i < systems; ++i)
        if (!System(config)) return false;
    if (in_.Remaining() == 0) return true;
    error_ = "bytes after the configuration";
    return false;
}

bool Decoder::System(Configuration &config) {
    SystemConfig system;
    std::uint32_t boards = 0;
    BeginRecord("SYSTEM");
    if (!in_.I32(system.number) || !in_.I32(system.line)) return Truncated();
    label_ = "SYSTEM:" + std::to_string(system.number);
    if (!Refuse(CheckSystemNumber(system.number, config))) return false;
    if (!in_.Count(boards, kMinBoard)) return Truncated();
    for (std::uint32_t i = 0; i < boards; ++i)
        if (!Board(system)) return false;
    config.systems.push_back(std::move(system));
    return true;
}

bool Decoder::Board(SystemConfig &system) {
    BoardConfig board;
    std::uint32_t modules = 0;
    if (!Module(board.board, IsBoard) || !Placement(board.board, nullptr)) return false;
    if (!in_.Count(modules, kMinModule)) return Truncated();
    for (std::uint32_t j = 0; j < modules; ++j) {
        ModuleConfig module;
        if (!Module(module, IsBoardModule) || !Placement(module, &board)) return false;
        board.modules.push_back(std::move(module));
    }
    system.boards.push_back(std::move(board));
    return true;
}

bool Decoder::Module(ModuleConfig &module, bool (*expected)(ModelCategory)) {
    std::string model;
    std::uint8_t flags = 0;
    std::uint32_t ports = 0;
    BeginRecord({});
    if (!in_.Text(model) || !in_.Text(module.sectionName) || !in_.I32(module.instance))
        return Truncated();
    label_ = module.sectionName;
    if (!expected(ModelCategory::BusTranslator)) label_ += ":" + std::to_string(module.instance);
    if (!in_.I32(module.slot) || !in_.I32(module.line) || !in_.U8(flags) ||
        !in_.Count(ports, kMinPort))
        return Truncated();
    module.table = tables_.FindModel(model);
    if (module.table == nullptr) return Fail("unknown model \"" + model + "\"");
    if (!expected(module.table->category)) return Fail("model \"" + model + "\" out of place");
    if (tables_.FindSection(module.sectionName) != module.table)
        return Fail("section name does not name model \"" + model + "\"");
    if ((flags & ~kKnownFlags) != 0) return Fail("unknown module flags");
    module.noHardware = (flags & kNoHardwareFlag) != 0;
    module.pixelSizeOverride16 = (flags & kPixelSizeFlag) != 0;
    if (module.noHardware && module.table->category != ModelCategory::BusTranslator)
        return Fail("No_Hardware outside the bus translator");
    if (module.pixelSizeOverride16 && !TakesPixelSizeOverride(module))
        return Fail("PIXSZ_Override outside an SX-400 board");
    if (ports != PortCount(*module.table))
        return Fail("wrong number of ports for model \"" + model + "\"");
    module.ports.resize(ports);
    for (std::size_t port = 0; port < ports; ++port)
        if (!Port(module, port)) return false;
    FillDefaults(module);
    return true;
}

// Where the element sits: a board or the bus translator in no slot, a slot
// module in a free slot that takes it, a camera channel the board has.
bool Decoder::Placement(const ModuleConfig &module, const BoardConfig *board) {
    const std::string slot = "Slot_Number = " + std::to_string(module.slot);
    if (module.table->category == ModelCategory::BusTranslator) {
        if (module.instance != 0) return Fail("unexpected section number");
    } else if (!Refuse(CheckInstance(module.instance),
                       "instance " + std::to_string(module.instance))) {
        return false;
    }
    if (board == nullptr) return module.slot == -1 || Fail("unexpected slot: " + slot);
    if (module.table->category != ModelCategory::CameraChannel)
        return Refuse(CheckSlot(*board, *module.table, module.slot), slot);
    // A camera channel's section number is its channel.
    if (module.slot != module.instance) return Fail("channel differs from the section number");
    return Refuse(CheckChannel(*board, module.slot), "channel " + std::to_string(module.slot));
}

bool Decoder::Port(ModuleConfig &module, std::size_t port) {
    std::uint32_t values = 0;
    if (!in_.Count(values, kMinValue)) return Truncated();
    for (std::uint32_t i = 0; i < values; ++i) {
        int handle = 0;
        std::uint8_t kind = 0;
        KeyValue value;
        if (!in_.I32(handle) || !in_.U8(kind)) return Truncated();
        const KeyRow *row = qvi::keys::FindHandle(*module.table, handle);
        if (row == nullptr) return Fail("unknown key handle " + std::to_string(handle));
        if (port > 0 && !row->perPort) return Fail("module-wide key in a camera port");
        if (kind != (IsTextRow(*row) ? kTextValue : kNumberValue))
            return Fail("wrong value kind for key handle " + std::to_string(handle));
        value.isText = kind == kTextValue;
        if (!(value.isText ? in_.Text(value.text) : in_.F64(value.number))) return Truncated();
        if (!Refuse(CheckValue(*row, value), ValueText(*row, value))) return false;
        if (!module.ports[port].emplace(handle, std::move(value)).second)
            return Fail("key handle " + std::to_string(handle) + " given twice");
    }
    return true;
}

std::uint32_t ReadHeaderU32(std::span<const std::uint8_t> bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) value |= std::uint32_t{bytes[at + i]} << (8 * i);
    return value;
}

}  // namespace

std::uint32_t Crc32(std::span<const std::uint8_t> bytes) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::uint8_t byte : bytes) crc = kCrcTable[(crc ^ byte) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

bool HasBinaryMagic(std::span<const std::uint8_t> bytes) {
    return bytes.size() >= kBinaryMagic.size() &&
           std::equal(kBinaryMagic.begin(), kBinaryMagic.end(), bytes.begin());
}

std::vector<std::uint8_t> EncodeConfiguration(const Configuration &config) {
    const std::vector<std::uint8_t> payload = EncodePayload(config);
    Writer out;
    for (std::uint8_t byte : kBinaryMagic) out.U8(byte);
    out.U16(kBinaryVersion);
    out.U16(0);
    out.Count(payload.size());
    out.U32(Crc32(payload));
    std::vector<std::uint8_t> &bytes = out.Bytes();
    bytes.insert(bytes.end(), payload.begin(), payload.end());
    return std::move(bytes);
}

std::optional<Configuration> DecodeConfiguration(std::span<const std::uint8_t> bytes,
                                                 std::string &error, const TableSet &tables) {
    if (!HasBinaryMagic(bytes)) {
        error = "not a binary configuration";
        return std::nullopt;
    }
    if (bytes.size() < kBinaryHeaderSize) {
        error = "header truncated";
        return std::nullopt;
    }
    const std::uint32_t versionWord = ReadHeaderU32(bytes, 4);
    if ((versionWord & 0xFFFF) != kBinaryVersion || (versionWord >> 16) != 0) {
        error = "unsupported version " + std::to_string(versionWord & 0xFFFF);
        return std::nullopt;
    }
    const std::uint32_t length = ReadHeaderU32(bytes, 8);
    const std::span<const std::uint8_t> payload = bytes.subspan(kBinaryHeaderSize);
    if (length != payload.size()) {
        error = length > payload.size() ? "payload truncated" : "bytes after the payload";
        return std::nullopt;
    }
    if (Crc32(payload) != ReadHeaderU32(bytes, 12)) {
        error = "checksum mismatch";
        return std::nullopt;
    }
    return Decoder(payload, tables, error).Run();
}

std::optional<Configuration> LoadConfigurationFile(const std::filesystem::path &path,
                                                   ConfigError &error, const TableSet &tables) {
    error = {path.string(), 0, "", ""};
    std::string why;
    const std::optional<std::string> content = ReadInputFile(path, why);
    if (!content) {
        error.reason = "cannot read the file: " + why;
        return std::nullopt;
    }
    const std::vector<std::uint8_t> bytes(content->begin(), content->end());
    if (HasBinaryMagic(bytes)) return DecodeConfiguration(bytes, error.reason, tables);
    const std::string name = path.string();
    const std::string_view text(reinterpret_cast<const char *>(bytes.data()), bytes.size());
    return ParseConfigText(text, name, error, tables);
}

}  // namespace quar
