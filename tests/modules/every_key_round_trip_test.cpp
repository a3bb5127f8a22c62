// Every key of every model, set away from its default, loaded through the
// program and written again: each key must come back with the value it was
// given, and the written file must write itself again unchanged. The
// configuration is generated from the key tables, so a key the program drops,
// keeps in the wrong field, reads from a field another key shares or writes
// under a wrong word fails here, whichever model it belongs to.
#include <algorithm>
#include <cstdio>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "app/row_limits.h"
#include "config/text_parser.h"
#include "keys/key_table.h"
#include "support/bound_stand_in.h"
#include "support/stand_in.h"
#include "system/config_writer.h"

namespace qvi {
namespace {

using keys::KeyKind;
using keys::KeyRow;
using keys::ModelTable;
using quar::KeyValue;

// Keys whose value another key decides; their own modules' tests cover them.
struct Exception {
    std::string_view model;
    int handle;
};
constexpr Exception kExceptions[] = {
    // The FPGA file must name a file of the settings' catalogue to load.
    {"TX-31", 5},
    {"TX-70", 5},
    // The TX-30 loads both look-up tables whenever a port is filled: filling
    // sets their load flags.
    {"TX-31", 11},
    {"TX-31", 12},
};

bool Excepted(const ModelTable &table, const KeyRow &row) {
    return std::ranges::any_of(kExceptions, [&](const Exception &e) {
        return e.model == table.model && e.handle == row.handle;
    });
}

// The boards of the generated configuration, each with the modules of its
// slots (or camera channels); the rack holds the same boards.
struct BoardPlan {
    std::string section;
    std::vector<std::string> modules;
    std::string rack;
};
const std::vector<BoardPlan> kBoards = {
    {"SX-400", {"TX-10"}, "Kind = SXP\nRevision = 30\nSlot0 = TX-10\n"},
    {"SX-400", {"TX-20"}, "Kind = SXP\nRevision = 31\nSlot0 = TX-20\n"},
    {"SX-400", {"TX-40"}, "Kind = SXP\nRevision = 31\nSlot0 = TX-40\n"},
    {"SX-400", {"TX-50"}, "Kind = SXP\nRevision = 31\nSlot0 = TX-50\n"},
    {"SX-400", {"TX-60"}, "Kind = SXP\nRevision = 31\nSlot0 = TX-60\n"},
    // With hardware the input board the register reports is the TX-70's
    // "Input Type": the decoder board, the one away from the default.
    {"SX-400", {"TX-70"}, "Kind = SXP\nRevision = 36\nSlot0 = TX-70\nSlot0Type = 7\n"},
    {"SXA", {"CameraPort", "CameraPort", "CameraPort", "CameraPort"}, "Kind = SXA\n"},
    {"DQ-500", {"TX-30", "RX-20"}, "Kind = DQP\nRevision = 12\nSlot0 = TX-31\nSlot1 = RX-20\n"},
    {"RX-600",
     {"RX-10", "RX-30", "RX-40"},
     "Kind = RXP\nSlot0 = RX-10\nSlot1 = RX-30\nSlot2 = RX-40\n"},
    {"RX-600",
     {"RX-50", "RX-51", "RX-52"},
     "Kind = RXP\nSlot0 = RX-50\nSlot1 = RX-51\nSlot2 = RX-52\n"},
    {"RX-600",
     {"RX-53", "RX-54", "RX-55"},
     "Kind = RXP\nSlot0 = RX-53\nSlot1 = RX-54\nSlot2 = RX-55\n"},
    {"RX-600", {"RX-56", "RX-57"}, "Kind = RXP\nSlot0 = RX-56\nSlot1 = RX-57\n"},
};

// One key of one element set away from its default (element counted in file
// order: boards, each followed by its modules, then the bus translator).
struct SetKey {
    std::size_t element;
    std::size_t port;
    const KeyRow *row;
};

std::string Hex(std::uint64_t bits) {
    char buffer[24];
    std::snprintf(buffer, sizeof buffer, "0x%llX", static_cast<unsigned long long>(bits));
    return buffer;
}

// A value as the program writes it; empty for a choice word written as no line.
std::string Text(const KeyRow &row, const KeyValue &value) {
    if (value.isText) return row.words.empty() ? "\"" + value.text + "\"" : value.text;
    if (row.kind == KeyKind::Choice) {
        for (const keys::Word &word : row.words)
            if (word.value == value.number) return std::string(word.word);
    }
    if (row.conversion == keys::Conversion::Hundredths) {
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "\"%.3f\"", value.number / 100.0);
        return buffer;
    }
    if (row.type == keys::ValueType::Float) {
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%.3f", value.number);
        return buffer;
    }
    const quar::IntegerLimits limits = quar::LimitsOf(row);
    const auto number = static_cast<std::int64_t>(value.number);
    if (row.radix != 16) return std::to_string(number);
    return Hex(static_cast<std::uint64_t>(number) & ((std::uint64_t{1} << limits.bits) - 1));
}

// Writes the configuration and remembers what it set.
class Generator {
public:
    std::string text;
    std::vector<SetKey> set;

    // A module in `slot`, a camera channel (`channel`), or a board (neither).
    void Element(const ModelTable &table, const std::string &head, int slot, int channel = -1) {
        channel_ = channel;
        text += "[" + head + "]\n";
        if (slot >= 0) text += "      Slot_Number = " + std::to_string(slot) + "\n";
        const std::size_t ports = quar::PortCount(table);
        const bool blocks = table.category == keys::ModelCategory::SlotModule && ports > 1;
        Keys(table, false, 0);
        for (std::size_t port = 0; port < ports; ++port) {
            if (blocks) text += "[CameraPort:" + std::to_string(port) + "]\n";
            Keys(table, true, port);
        }
        ++element_;
    }

private:
    void Keys(const ModelTable &table, bool perPort, std::size_t port) {
        // Module-wide keys of a single-structure model live in port 0 with
        // the per-port ones: write them all once, in table order.
        const bool single = quar::PortCount(table) == 1;
        if (single && !perPort) return;
        std::set<std::string_view> written;
        for (const KeyRow &row : table.keys) {
            if (!single && row.perPort != perPort) continue;
            // What only the program knows, the library keeps no field for.
            if (row.location.record == keys::Record::None) continue;
            if (!row.key.empty() && !written.insert(row.key).second) continue;
            // Rows sharing a key are one list; a float alone is quoted.
            std::vector<std::string> items;
            for (const KeyRow &same : table.keys)
                if (&same == &row || (!row.key.empty() && same.key == row.key))
                    items.push_back(Text(same, Value(table, same, port)));
            std::string values = items.size() == 1 && row.type == keys::ValueType::Float
                                     ? "\"" + items.front() + "\""
                                     : items.front();
            for (std::size_t i = 1; i < items.size(); ++i) values += "," + items[i];
            if (values.empty()) continue;
            const bool bare = row.kind == KeyKind::Choice && !row.named;
            text += "      " + (bare ? values : std::string(row.key) + " = " + values) + "\n";
        }
    }

    // The key's value away from its default; its default where another key
    // decides it.
    KeyValue Value(const ModelTable &table, const KeyRow &row, std::size_t port) {
        const KeyValue away = quar::DefaultValue(row, port);
        if (Excepted(table, row)) return away;
        const int salt = static_cast<int>(&row - table.keys.data() + port);
        std::optional<KeyValue> value = Away(table, row, port, salt);
        if (!value) return away;
        set.push_back({element_, port, &row});
        return *value;
    }

    std::optional<KeyValue> Away(const ModelTable &table, const KeyRow &row, std::size_t port,
                                 int salt) {
        const KeyValue given = quar::DefaultValue(row, port);
        if (quar::IsTextRow(row)) {
            if (!row.words.empty()) return Word(row, given, salt);
            // A camera channel's name ends in the channel's number, as the
            // program keeps it; other texts end in their port's.
            const std::size_t last = channel_ >= 0 ? static_cast<std::size_t>(channel_) : port;
            return KeyValue{true, 0.0,
                            "K" + std::to_string(row.handle) + "-" + std::to_string(last)};
        }
        if (row.kind == KeyKind::Choice) return Word(row, given, salt);
        for (int step = 0; step < 8; ++step) {
            const double delta = row.type == keys::ValueType::Float ? 0.5 * (1 + (salt + step) % 7)
                                                                    : 1 + (salt + step) % 5;
            for (double sign : {1.0, -1.0}) {
                const KeyValue candidate{false, given.number + sign * delta, {}};
                if (quar::CheckValue(row, candidate).empty() &&
                    limits_.Check(table, row, port, candidate).empty())
                    return candidate;
            }
        }
        return std::nullopt;
    }

    // Another word than the default's: a choice's value, or a text's word.
    static std::optional<KeyValue> Word(const KeyRow &row, const KeyValue &given, int salt) {
        std::vector<KeyValue> others;
        for (const keys::Word &word : row.words) {
            const KeyValue value = quar::IsTextRow(row)
                                       ? KeyValue{true, 0.0, std::string(word.word)}
                                       : KeyValue{false, static_cast<double>(word.value), {}};
            if (value != given && std::ranges::count(others, value) == 0) others.push_back(value);
        }
        if (others.empty()) return std::nullopt;
        return others[static_cast<std::size_t>(salt) % others.size()];
    }

    std::size_t element_ = 0;
    int channel_ = -1;
    RowLimits limits_;
};

// Every element of a parsed configuration in file order.
std::vector<const quar::ModuleConfig *> Elements(const quar::Configuration &config) {
    std::vector<const quar::ModuleConfig *> elements;
    for (const quar::SystemConfig &system : config.systems)
        for (const quar::BoardConfig &board : system.boards) {
            elements.push_back(&board.board);
            for (const quar::ModuleConfig &module : board.modules) elements.push_back(&module);
        }
    if (config.busTranslator) elements.push_back(&*config.busTranslator);
    return elements;
}

// The lines of each section and camera-port block, heads left out.
std::vector<std::vector<std::string>> Blocks(const std::string &text) {
    std::vector<std::vector<std::string>> blocks;
    for (const std::string &line : testing::Lines(text)) {
        if (line.starts_with("["))
            blocks.emplace_back();
        else if (!blocks.empty())
            blocks.back().push_back(line);
    }
    return blocks;
}

std::string Shown(const KeyValue &value) {
    return value.isText ? "\"" + value.text + "\"" : std::to_string(value.number);
}

class EveryKeyRoundTripTest : public testing::StandInTest,
                              public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override {
        static const std::tm kWhen = [] {
            std::tm when{};
            when.tm_year = 99;
            return when;
        }();
        FixHeaderTime(&kWhen);
        SetHardwareEnabled(GetParam());
    }
    void TearDown() override {
        FixHeaderTime(nullptr);
        SetHardwareEnabled(true);
    }

    // The generated configuration loaded through the program and written again.
    // The header names the file written: always the same one.
    std::string LoadAndWrite(const std::string &name, const std::string &text) {
        const auto path = Write(name, text);
        EXPECT_EQ(tree->LoadFile(path.string()), 0) << name;
        const auto out = dir_ / "written.txt";
        EXPECT_EQ(tree->WriteTextFile(out.string()), 0);
        return Read(out);
    }

    static quar::Configuration Parse(const std::string &text, const char *name) {
        quar::ConfigError error;
        std::optional<quar::Configuration> config = quar::ParseConfigText(text, name, error);
        EXPECT_TRUE(config) << error.Message();
        return config.value_or(quar::Configuration{});
    }

    Generator generated;
};

TEST_P(EveryKeyRoundTripTest, EveryKeyComesBackAsGivenAndTheWrittenFileWritesItselfAgain) {
    std::string rack;
    std::map<std::string, int> instances;
    generated.text = "[SYSTEM:0]\n";
    for (const BoardPlan &board : kBoards) {
        rack += "[Board]\n" + board.rack;
        generated.Element(*keys::FindSection(board.section),
                          board.section + ":" + std::to_string(instances[board.section]++), -1);
        for (std::size_t i = 0; i < board.modules.size(); ++i) {
            const std::string &module = board.modules[i];
            const bool channel = module == "CameraPort";
            const int at = static_cast<int>(i);
            generated.Element(*keys::FindSection(module),
                              module + ":" + std::to_string(channel ? at : 0), channel ? -1 : at,
                              channel ? at : -1);
        }
    }
    generated.Element(*keys::FindSection("BZ-700"), "BZ-700", -1);
    if (GetParam()) UseRack(rack);
    Start();
    ui.Clear();

    const std::string written = LoadAndWrite("generated.txt", generated.text);
    EXPECT_TRUE(ui.messages.empty()) << ui.Texts().front();
    const quar::Configuration givenConfig = Parse(generated.text, "generated.txt");
    const auto given = Elements(givenConfig);
    const quar::Configuration writtenConfig = Parse(written, "written.txt");
    const auto back = Elements(writtenConfig);
    ASSERT_EQ(back.size(), given.size()) << written;

    // Each generated line is written as it was, once, in its own block.
    const auto givenBlocks = Blocks(generated.text), writtenBlocks = Blocks(written);
    ASSERT_EQ(writtenBlocks.size(), givenBlocks.size());
    for (std::size_t i = 0; i < givenBlocks.size(); ++i) {
        for (const std::string &line : givenBlocks[i])
            EXPECT_EQ(std::ranges::count(writtenBlocks[i], line), 1) << line << " in block " << i;
        // A word written as no line leaves no empty line either.
        for (const std::string &line : writtenBlocks[i])
            EXPECT_NE(line.find_first_not_of(' '), std::string::npos) << "block " << i;
    }

    std::set<const ModelTable *> setModels;
    for (const SetKey &key : generated.set) {
        const quar::ModuleConfig &was = *given[key.element];
        const quar::ModuleConfig &is = *back[key.element];
        ASSERT_EQ(is.table->model, was.table->model);
        setModels.insert(was.table);
        const KeyValue &value = was.ports[key.port].at(key.row->handle);
        SCOPED_TRACE(std::string(was.table->model) + " port " + std::to_string(key.port) + " key " +
                     std::string(key.row->key) + " handle " + std::to_string(key.row->handle));
        ASSERT_NE(value, quar::DefaultValue(*key.row, key.port)) << "not set away from its default";
        const KeyValue &came = is.ports[key.port].at(key.row->handle);
        if (key.row->type == keys::ValueType::Float)
            EXPECT_EQ(static_cast<float>(came.number), static_cast<float>(value.number));
        else
            EXPECT_EQ(Shown(came), Shown(value));
    }
    // Every model with keys the library keeps had keys to set.
    for (const ModelTable *table : keys::AllModels())
        if (std::ranges::any_of(table->keys, [](const KeyRow &row) {
                return row.location.record != keys::Record::None;
            })) {
            EXPECT_EQ(setModels.count(table), 1u) << table->model;
        }

    EXPECT_EQ(LoadAndWrite("again.txt", written), written);
}

INSTANTIATE_TEST_SUITE_P(WithAndWithoutHardware, EveryKeyRoundTripTest, ::testing::Bool());

}  // namespace
}  // namespace qvi
