#pragma once

// A configuration as the converter reads it from text and writes it in binary
// form, and as the library builds its records from: systems of boards, each
// board with the modules of its slots (or, for an SXA board, its camera
// channels), and the bus translator. Every key of every module has a value:
// what the text said, or the key's default.

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "keys/key_table.h"

namespace quar {

// The library numbers the boards it holds in 16 bits: a configuration with more
// boards than this is refused by the converter and by the library.
inline constexpr std::size_t kMaxBoards = 32768;

// The value of one key: a number (choices hold the value their word stands
// for) or a text.
struct KeyValue {
    bool isText = false;
    double number = 0.0;
    std::string text;

    bool operator==(const KeyValue &) const = default;
};

// Values of one port by key handle.
using PortValues = std::map<int, KeyValue>;

struct ModuleConfig {
    const qvi::keys::ModelTable *table = nullptr;  // never null once parsed
    std::string sectionName;  // as written: "SX-400" or "Lumo", "TX-30", "CameraPort"
    int instance = 0;         // from the section head; 0 for the bus translator
    int slot = -1;            // "Slot_Number", or the channel of an SXA camera port
    int line = 0;             // the line of the section head
    // One entry per camera structure of the model (at least one): module-wide
    // keys and single-port modules use entry 0.
    std::vector<PortValues> ports;
    bool noHardware = false;           // the BZ-700 section said "No_Hardware"
    bool pixelSizeOverride16 = false;  // the SX-400 section said "PIXSZ_Override=16"

    bool operator==(const ModuleConfig &) const = default;
};

struct BoardConfig {
    ModuleConfig board;
    // The modules of the board's slots in file order, or its camera channels.
    std::vector<ModuleConfig> modules;

    bool operator==(const BoardConfig &) const = default;
};

struct SystemConfig {
    int number = 0;
    int line = 0;
    std::vector<BoardConfig> boards;

    bool operator==(const SystemConfig &) const = default;
};

struct Configuration {
    std::vector<SystemConfig> systems;
    std::optional<ModuleConfig> busTranslator;

    bool operator==(const Configuration &) const = default;
};

// Where the converter and the library find a model's key table: by the section
// name of the text form, or by the library model name kept in the binary form.
// The key tables of the data set are the default; tests bring their own.
class TableSet {
public:
    virtual ~TableSet() = default;
    virtual const qvi::keys::ModelTable *FindSection(std::string_view section) const = 0;
    virtual const qvi::keys::ModelTable *FindModel(std::string_view model) const = 0;
};

// The shared key-table data set.
const TableSet &RegistryTables();

// The number of value sets a module of this model keeps: one per camera
// structure, at least one.
std::size_t PortCount(const qvi::keys::ModelTable &table);

// Whether a key's value is a text (a STRING key, or a number row typed Text).
bool IsTextRow(const qvi::keys::KeyRow &row);

// The value a key has before the text says anything about it.
KeyValue DefaultValue(const qvi::keys::KeyRow &row);
// The same for one camera port, for a key whose defaults differ between ports.
KeyValue DefaultValue(const qvi::keys::KeyRow &row, std::size_t port);

// Gives every key of the module's table its default in every port it lives in
// (a module-wide key only in port 0), keeping values already present. Sizes
// the port list to the model.
void FillDefaults(ModuleConfig &module);

// ---- the rules a configuration obeys, whichever form it is read from ----------------------
// Both readers call these, so that the binary form can never hold what the text
// form refuses. Each check returns why the value breaks the rule, or an empty
// text when it holds.

inline constexpr int kSystemCount = 8;      // systems 0 to 7
inline constexpr int kMaxInstance = 32767;  // the library keeps instances in 16 bits
inline constexpr int kMaxCameraPorts = 4;

// The numbers an integer key can hold, and the width of its bit pattern.
struct IntegerLimits {
    std::int64_t min;
    std::int64_t max;
    int bits;
    bool isSigned;
};

IntegerLimits LimitsOf(qvi::keys::ValueType type);
// A key kept in a bit field takes only the numbers its bits hold.
IntegerLimits LimitsOf(const qvi::keys::KeyRow &row);

// A system number 0 to 7 that the configuration does not have yet.
std::string CheckSystemNumber(int number, const Configuration &config);
// A section number of a board or module.
std::string CheckInstance(int instance);
// A slot of the board that takes this model and holds no module yet.
std::string CheckSlot(const BoardConfig &board, const qvi::keys::ModelTable &module,
                      std::int64_t slot);
// A camera channel the board has and no other channel section took.
std::string CheckChannel(const BoardConfig &board, int channel);
// A float key's number: finite and within what the library's float holds.
std::string CheckFloat(double number);
// Any key's value: the kind its row reads (number or text), a choice's value
// one of its words, an integer whole and within its type or bit field, a
// float within range, a text on one line.
std::string CheckValue(const qvi::keys::KeyRow &row, const KeyValue &value);

// What went wrong, and where.
struct ConfigError {
    std::string file;
    int line = 0;      // 0 when the whole file is concerned
    std::string text;  // the offending text
    std::string reason;

    // "FILE:LINE: REASON: TEXT", the form every tool prints; without the line
    // when it is 0 and without the text when that is empty.
    std::string Message() const;
};

}  // namespace quar
