// Comparing two configurations element by element and key by key.
#include "app/config_diff.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>

#include "config/input_file.h"
#include "config/text_parser.h"

namespace qvi {

namespace {

using quar::BoardConfig;
using quar::Configuration;
using quar::KeyValue;
using quar::ModuleConfig;
using quar::SystemConfig;
using Change = ConfigDifference::Change;

std::string KeyName(const keys::KeyRow &row) {
    if (!row.key.empty()) return std::string(row.key);
    std::string words;
    for (const keys::Word &word : row.words)
        words += (words.empty() ? "" : "|") + std::string(word.word);
    return words;
}

std::string Hex(const keys::KeyRow &row, double number) {
    const quar::IntegerLimits limits = quar::LimitsOf(row);
    auto bits = static_cast<std::uint64_t>(static_cast<std::int64_t>(number));
    if (limits.bits < 64) bits &= (std::uint64_t{1} << limits.bits) - 1;
    char buffer[24];
    std::snprintf(buffer, sizeof buffer, "0x%llX", static_cast<unsigned long long>(bits));
    return buffer;
}

std::string Shortest(double number) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, number);
    return std::string(buffer, result.ptr);
}

// A value as the file writes it: a choice by its word, a text quoted, a
// hundredth with its decimals, a hexadecimal key in hexadecimal.
std::string Written(const keys::KeyRow &row, const KeyValue &value) {
    if (value.isText) return "\"" + value.text + "\"";
    if (row.kind == keys::KeyKind::Choice) {
        for (const keys::Word &word : row.words)
            if (word.value == value.number)
                return word.word.empty() ? "(none)" : std::string(word.word);
    }
    if (row.conversion == keys::Conversion::Hundredths) {
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%.3f", value.number / 100.0);
        return buffer;
    }
    const bool whole = std::isfinite(value.number) && std::trunc(value.number) == value.number;
    if (!whole || row.type == keys::ValueType::Float) return Shortest(value.number);
    if (row.radix == 16) return Hex(row, value.number);
    return std::to_string(static_cast<std::int64_t>(value.number));
}

// The library keeps a float key in single precision: "33366.7" and
// "33366.699" are the same setting.
bool SameValue(const keys::KeyRow &row, const KeyValue &a, const KeyValue &b) {
    if (row.type != keys::ValueType::Float || a.isText || b.isText) return a == b;
    return static_cast<float>(a.number) == static_cast<float>(b.number);
}

std::string Name(const ModuleConfig &module) {
    if (module.table->category == keys::ModelCategory::BusTranslator) return module.sectionName;
    return module.sectionName + ":" + std::to_string(module.instance);
}

// Whether two elements of one parent are the same element.
bool SameElement(const ModuleConfig &a, const ModuleConfig &b) {
    if (a.table->model != b.table->model) return false;
    if (a.table->category == keys::ModelCategory::CameraChannel) return a.slot == b.slot;
    return a.instance == b.instance;
}

class Differ {
public:
    explicit Differ(std::vector<ConfigDifference> &out) : out_(out) {}

    void Configurations(const Configuration &a, const Configuration &b) {
        Systems(a.systems, b.systems);
        if (a.busTranslator && b.busTranslator) {
            Module(*a.busTranslator, *b.busTranslator, Name(*a.busTranslator));
        } else if (a.busTranslator || b.busTranslator) {
            const ModuleConfig &only = a.busTranslator ? *a.busTranslator : *b.busTranslator;
            Element(a.busTranslator ? Change::Removed : Change::Added, Name(only));
        }
    }

private:
    void Element(Change change, std::string path) {
        out_.push_back({change, std::move(path), {}, {}, {}});
    }
    void Changed(const std::string &path, std::string key, std::string before, std::string after) {
        out_.push_back(
            {Change::Changed, path, std::move(key), std::move(before), std::move(after)});
    }

    void Systems(const std::vector<SystemConfig> &a, const std::vector<SystemConfig> &b) {
        auto find = [](const std::vector<SystemConfig> &in, int number) -> const SystemConfig * {
            for (const SystemConfig &system : in)
                if (system.number == number) return &system;
            return nullptr;
        };
        for (const SystemConfig &system : a) {
            const std::string path = "SYSTEM:" + std::to_string(system.number);
            if (const SystemConfig *other = find(b, system.number))
                Boards(system.boards, other->boards, path);
            else
                Element(Change::Removed, path);
        }
        for (const SystemConfig &system : b)
            if (find(a, system.number) == nullptr)
                Element(Change::Added, "SYSTEM:" + std::to_string(system.number));
    }

    void Boards(const std::vector<BoardConfig> &a, const std::vector<BoardConfig> &b,
                const std::string &parent) {
        auto find = [](const std::vector<BoardConfig> &in, const BoardConfig &like) {
            for (const BoardConfig &board : in)
                if (SameElement(board.board, like.board)) return &board;
            return static_cast<const BoardConfig *>(nullptr);
        };
        for (const BoardConfig &board : a) {
            const std::string path = parent + "/" + Name(board.board);
            if (const BoardConfig *other = find(b, board)) {
                Module(board.board, other->board, path);
                Modules(board.modules, other->modules, path);
            } else {
                Element(Change::Removed, path);
            }
        }
        for (const BoardConfig &board : b)
            if (find(a, board) == nullptr) Element(Change::Added, parent + "/" + Name(board.board));
    }

    void Modules(const std::vector<ModuleConfig> &a, const std::vector<ModuleConfig> &b,
                 const std::string &parent) {
        auto find = [](const std::vector<ModuleConfig> &in, const ModuleConfig &like) {
            for (const ModuleConfig &module : in)
                if (SameElement(module, like)) return &module;
            return static_cast<const ModuleConfig *>(nullptr);
        };
        for (const ModuleConfig &module : a) {
            const std::string path = parent + "/" + Name(module);
            if (const ModuleConfig *other = find(b, module))
                Module(module, *other, path);
            else
                Element(Change::Removed, path);
        }
        for (const ModuleConfig &module : b)
            if (find(a, module) == nullptr) Element(Change::Added, parent + "/" + Name(module));
    }

    // The element's own lines: its slot and flags, its module-wide keys, then
    // each camera port's keys.
    void Module(const ModuleConfig &a, const ModuleConfig &b, const std::string &path) {
        if (a.table->category == keys::ModelCategory::SlotModule && a.slot != b.slot)
            Changed(path, "Slot_Number", std::to_string(a.slot), std::to_string(b.slot));
        if (a.noHardware != b.noHardware)
            Changed(path, "No_Hardware", a.noHardware ? "yes" : "no", b.noHardware ? "yes" : "no");
        if (a.pixelSizeOverride16 != b.pixelSizeOverride16)
            Changed(path, "PIXSZ_Override", a.pixelSizeOverride16 ? "16" : "(none)",
                    b.pixelSizeOverride16 ? "16" : "(none)");
        Keys(a, b, false, 0, path);
        const bool blocks =
            a.table->category == keys::ModelCategory::SlotModule && a.table->layout.cameraPorts > 1;
        for (std::size_t port = 0; port < a.ports.size() && port < b.ports.size(); ++port)
            Keys(a, b, true, port, blocks ? path + "/CameraPort:" + std::to_string(port) : path);
    }

    void Keys(const ModuleConfig &a, const ModuleConfig &b, bool perPort, std::size_t port,
              const std::string &path) {
        for (const keys::KeyRow &row : a.table->keys) {
            if (row.perPort != perPort) continue;
            const auto before = a.ports[port].find(row.handle);
            const auto after = b.ports[port].find(row.handle);
            if (before == a.ports[port].end() || after == b.ports[port].end()) continue;
            if (SameValue(row, before->second, after->second)) continue;
            Changed(path, KeyName(row), Written(row, before->second), Written(row, after->second));
        }
    }

    std::vector<ConfigDifference> &out_;
};

}  // namespace

std::vector<ConfigDifference> DiffConfigurations(const Configuration &before,
                                                 const Configuration &after) {
    std::vector<ConfigDifference> differences;
    Differ(differences).Configurations(before, after);
    return differences;
}

std::string FormatDifference(const ConfigDifference &difference) {
    switch (difference.change) {
        case Change::Added:
            return "+ " + difference.path;
        case Change::Removed:
            return "- " + difference.path;
        case Change::Changed:
            break;
    }
    return difference.path + " " + difference.key + ": " + difference.before + " -> " +
           difference.after;
}

std::optional<Configuration> ReadConfiguration(const std::filesystem::path &path,
                                               std::string &error) {
    std::string why;
    const std::optional<std::string> text = quar::ReadInputFile(path, why);
    if (!text) {
        error = path.string() + ": cannot read the file: " + why;
        return std::nullopt;
    }
    quar::ConfigError parseError;
    std::optional<Configuration> config = quar::ParseConfigText(*text, path.string(), parseError);
    if (!config) error = parseError.Message();
    return config;
}

}  // namespace qvi
