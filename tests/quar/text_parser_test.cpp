// The converter's text parser: sections, keys, values and its refusals.
#include "config/text_parser.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "fake_tables.h"

namespace quar {
namespace {

using testing::FakeTables;

// A file as the program writes it: header comments, a blank-only line,
// six-space indentation, port blocks, an SXA board with channels, the bus
// translator.
constexpr std::string_view kWritten =
    R"(#####################################################################
#                                                                   #
#    File: /cnf/sample.txt
#
 
[SYSTEM:0]
[SX-400:0]
      Latency = 32
      Mailbox1 = 0xFFFFFFFF
      TX_Trigger_enabled
      Start_Field = Next_odd_field
      Pixsz_Override = 16
      PIXSZ_Override=16
[TX-30:1]
      Slot_Number = 0
      Startup_Port = 2
      Load_Name = "custom.mcs"
      Output_LUT_Bypass
[CameraPort:0]
      Name = "RS-170"
      Camera_Structure = Create_Structure
      Strobe1_High
      Sync_Type = CS_In
      Red_Video_P_Ref = -5
      CSC_Coefficient_Matrix = 1.000,-0.500,0.250
      Matrix_Structure = Create_Structure
[CameraPort:2]
      Name = ""
      Camera_Structure = Create_Structure
      Window_Mask = 0xFFFF
[SYSTEM:3]
[SXA:0]
      IRQ_Line = 0x0B
[CameraPort:1]
      Name = "Left"
      Camera_Structure = Create_Structure
      Non_Interlaced
[CameraPort:0]
      Gain = 65535
[BZ-700]
      Safe_Access_Mode
      No_Hardware
)";

class TextParserTest : public ::testing::Test {
protected:
    std::optional<Configuration> Parse(std::string_view text) {
        return ParseConfigText(text, "test.txt", error, tables);
    }

    // Parses a system with one SX-400 board and the given module section.
    std::optional<ModuleConfig> ParseModule(std::string_view section) {
        auto config = Parse("[SYSTEM:0]\n[SX-400:0]\n" + std::string(section));
        if (!config) return std::nullopt;
        return config->systems.at(0).boards.at(0).modules.at(0);
    }

    void ExpectFault(std::string_view text, int line, std::string_view reason) {
        SCOPED_TRACE(std::string(text));
        EXPECT_FALSE(Parse(text).has_value());
        EXPECT_EQ(error.line, line);
        EXPECT_EQ(error.reason, reason);
    }

    ConfigError error;
    FakeTables tables;
};

double Number(const ModuleConfig &module, int handle, std::size_t port = 0) {
    return module.ports.at(port).at(handle).number;
}

// The numbers of several handles on one port, for one comparison.
std::vector<double> Numbers(const ModuleConfig &module, std::initializer_list<int> handles,
                            std::size_t port = 0) {
    std::vector<double> numbers;
    for (int handle : handles) numbers.push_back(Number(module, handle, port));
    return numbers;
}

std::string Text(const ModuleConfig &module, int handle, std::size_t port = 0) {
    return module.ports.at(port).at(handle).text;
}

TEST_F(TextParserTest, ReadsWhatTheProgramWrites) {
    const auto config = Parse(kWritten);
    ASSERT_TRUE(config) << error.Message();
    ASSERT_EQ(config->systems.size(), 2u);

    const SystemConfig &first = config->systems[0];
    EXPECT_EQ(first.number, 0);
    ASSERT_EQ(first.boards.size(), 1u);
    const ModuleConfig &board = first.boards[0].board;
    EXPECT_EQ(board.table, &testing::fake::kBoard);
    EXPECT_EQ(board.line, 7);
    EXPECT_EQ(Numbers(board, {0, 4, 22}), (std::vector<double>{32, 3, 16}));

    ASSERT_EQ(first.boards[0].modules.size(), 1u);
    const ModuleConfig &tx = first.boards[0].modules[0];
    EXPECT_EQ(tx.sectionName, "TX-30");
    EXPECT_EQ(tx.instance, 1);
    EXPECT_EQ(tx.slot, 0);
    ASSERT_EQ(tx.ports.size(), 4u);
    EXPECT_EQ(Text(tx, 5), "custom.mcs");
    EXPECT_EQ(Text(tx, 3, 0), "RS-170");
    EXPECT_EQ(Numbers(tx, {0, 6, 24, 22, 32, 37, 38, 39, 50}),
              (std::vector<double>{2, 1, 1, 12, -5, 1.0, -0.5, 0.25, 0}));
    EXPECT_EQ(Text(tx, 3, 1), "Undefined");  // port 1 not written: defaults
    EXPECT_EQ(Numbers(tx, {22, 32}, 1), (std::vector<double>{13, 160}));
    EXPECT_EQ(tx.ports[0].size(), std::size(testing::fake::kFourPortKeys));
    EXPECT_EQ(tx.ports[1].size(), std::size(testing::fake::kFourPortKeys) - 3)
        << "module-wide keys live in port 0 only";
    EXPECT_EQ(Text(tx, 3, 2), "");
    EXPECT_EQ(Number(tx, 50, 2), 0xFFFF);

    const BoardConfig &sxa = config->systems[1].boards.at(0);
    EXPECT_EQ(config->systems[1].number, 3);
    EXPECT_EQ(Number(sxa.board, 0), 11);
    ASSERT_EQ(sxa.modules.size(), 2u);
    EXPECT_EQ(sxa.modules[0].slot, 1);
    EXPECT_EQ(sxa.modules[0].instance, 1);
    EXPECT_EQ(Text(sxa.modules[0], 3), "Left");
    EXPECT_EQ(Number(sxa.modules[0], 6), 0);
    EXPECT_EQ(sxa.modules[1].slot, 0);
    EXPECT_EQ(Numbers(sxa.modules[1], {6, 8}), (std::vector<double>{1, 65535}));

    ASSERT_TRUE(config->busTranslator);
    EXPECT_TRUE(config->busTranslator->noHardware);
    EXPECT_EQ(Number(*config->busTranslator, 3), 1);
}

TEST_F(TextParserTest, LineEndsAndBlanksDoNotMatter) {
    const auto lf = Parse(kWritten);
    ASSERT_TRUE(lf);
    const auto crlf =
        Parse("\xEF\xBB\xBF" + std::regex_replace(std::string(kWritten), std::regex("\n"), "\r\n"));
    ASSERT_TRUE(crlf) << error.Message();
    EXPECT_EQ(*lf, *crlf);

    const auto spaced = Parse("\t[SYSTEM:0]  \n \t \n[SX-400:0]\r\n\tLatency=7\t\n      \n");
    ASSERT_TRUE(spaced) << error.Message();
    EXPECT_EQ(Number(spaced->systems[0].boards[0].board, 0), 7);
}

TEST_F(TextParserTest, PerPortKeysFollowTheirBlock) {
    const auto tx = ParseModule(
        "[TX-30:0]\nSlot_Number = 0\nRed_Video_P_Ref = 7\nStrobe1_High\n"
        "[CameraPort:3]\nRed_Video_P_Ref = 9\nStrobe1_Low\n");
    ASSERT_TRUE(tx) << error.Message();
    // Before the blocks: every port; in a block: that port.
    for (const auto &[handle, port, value] : std::vector<std::tuple<int, std::size_t, double>>{
             {32, 0, 7}, {32, 2, 7}, {32, 3, 9}, {24, 1, 1}, {24, 3, 0}})
        EXPECT_EQ(Number(*tx, handle, port), value) << handle << " on port " << port;
}

// What fits a key's type reads as its value; what does not is refused with its reason.
TEST_F(TextParserTest, NumbersFitTheKeyTypeOrAreRefused) {
    struct Case {
        const char *line;
        int handle;
        double value;
        const char *reason = nullptr;
    };
    const Case cases[] = {
        {"Mailbox = 0xFFFFFFFF", 21, -1.0},
        {"Mailbox = 0x80000000", 21, -2147483648.0},
        {"Mailbox = -2147483648", 21, -2147483648.0},
        {"Counter = 0xFFFFFFFF", 22, 4294967295.0},
        {"Counter = 4294967295", 22, 4294967295.0},
        {"Trim = 0x80", 23, -128.0},
        {"Trim = -128", 23, -128.0},
        {"Trim = +12", 23, 12.0},
        {"Index_Pos = -1", 24, -1.0},
        {"Exposure = \"1.500\"", 20, 1.5},
        {"Exposure = -0.125", 20, -0.125},
        {"Trim = 128", 0, 0, "value out of range"},
        {"Trim = 0x180", 0, 0, "value out of range"},
        {"Mailbox = 2147483648", 0, 0, "value out of range"},
        {"Exposure = \"1e39\"", 0, 0, "value out of range"},
        {"Counter = -0x5", 0, 0, "bad number"},
        {"Counter = +-5", 0, 0, "bad number"},
        {"Counter = 1.5", 0, 0, "bad number"},
        {"Name = \"Bob\" x", 0, 0, "stray text"},
        {"name = \"case matters\"", 0, 0, "unknown key"},
        {"Field_Shift twice", 0, 0, "stray text"},
        {"= 5", 0, 0, "stray text"},
    };
    for (const Case &c : cases) {
        const std::string text = "[SYSTEM:0]\n[SX-400:0]\n[TX-60:0]\nSlot_Number = 0\n";
        if (c.reason != nullptr) {
            ExpectFault(text + c.line, 5, c.reason);
            continue;
        }
        SCOPED_TRACE(c.line);
        const auto config = Parse(text + c.line);
        ASSERT_TRUE(config) << error.Message();
        EXPECT_EQ(Number(config->systems[0].boards[0].modules[0], c.handle), c.value);
    }
    ExpectFault("[SYSTEM:0]\n[SX-400:0]\n[TX-30:0]\nSlot_Number = 0\nOffset = 256\n", 5,
                "value out of range");
    ExpectFault("[SYSTEM:0]\n[SX-400:0]\n[TX-30:0]\nSlot_Number = 0\nRed_Video_P_Ref = -32769\n", 5,
                "value out of range");
}

TEST_F(TextParserTest, BareWordsAndEmptyWords) {
    const auto silent = ParseModule("[TX-60:0]\nSlot_Number = 0\n");
    ASSERT_TRUE(silent) << error.Message();
    EXPECT_EQ(Number(*silent, 10), 0) << "no word written: the empty word's value";
    EXPECT_EQ(Number(*silent, 11), 0);

    const auto written = ParseModule("[TX-60:0]\nSlot_Number = 0\nField_Shift\nDual_B\nDual_A\n");
    ASSERT_TRUE(written) << error.Message();
    // Rows sharing words take them in row order.
    EXPECT_EQ(Numbers(*written, {10, 11, 12}), (std::vector<double>{1, 1, 0}));

    const auto board = Parse("[SYSTEM:0]\n[SX-400:0]\n");
    ASSERT_TRUE(board);
    EXPECT_EQ(Number(board->systems[0].boards[0].board, 2), 0);
}

TEST_F(TextParserTest, MoreBoardsThanTheLibraryHoldsAreRefusedAtTheFirstTooMany) {
    std::string text = "[SYSTEM:0]\n";
    for (std::size_t board = 0; board <= kMaxBoards; ++board)
        text += "[" + std::string(board % 2 ? "RX-600" : "SX-400") + ":" +
                std::to_string(board / 2) + "]\n";
    EXPECT_FALSE(Parse(text));
    EXPECT_EQ(error.line, static_cast<int>(kMaxBoards) + 2);
    EXPECT_EQ(error.reason, "more boards than the library holds (32768)");
    text.erase(text.rfind('['));
    EXPECT_TRUE(Parse(text)) << error.Message();
}

TEST_F(TextParserTest, ModulesNeedAFreeSlotOfTheirKind) {
    const auto dq = Parse(
        "[SYSTEM:0]\n[DQ-500:0]\n[RX-10:0]\nSlot_Number = 1\n[TX-60:0]\nSlot_Number = 0\n"
        "[SX-400:1]\n[TX-30:0]\nSlot_Number = 0\n");
    ASSERT_TRUE(dq) << error.Message();
    const auto &boards = dq->systems[0].boards;
    ASSERT_EQ(boards.size(), 2u);
    ASSERT_EQ(boards[0].modules.size(), 2u);
    EXPECT_EQ(boards[0].modules[0].slot, 1);
    EXPECT_EQ(boards[0].modules[1].slot, 0);
    EXPECT_EQ(boards[1].modules.at(0).table, &testing::fake::kFourPort);

    const std::string sx = "[SYSTEM:0]\n[SX-400:0]\n";
    ExpectFault(sx + "[SYSTEM:1]\n[TX-30:0]\nSlot_Number = 0\n", 4, "module before any board");
    ExpectFault(sx + "[RX-10:0]\nSlot_Number = 0\n", 4, "slot does not take this module");
    ExpectFault(sx + "[TX-30:99999]\nSlot_Number = 0\n", 3, "value out of range");
    ExpectFault(sx + "[TX-30:0]\nSlot_Number = zero\n", 4, "bad number");
    ExpectFault(sx + "Slot_Number = 0\n", 3, "unknown key");
}

TEST_F(TextParserTest, SxaCameraChannels) {
    const std::string sxa = "[SYSTEM:0]\n[SXA:0]\n";
    ExpectFault(sxa + "[CameraPort:2]\n", 3, "no such camera channel on the board");
    ExpectFault(sxa + "[CameraPort:0]\n[CameraPort:0]\n", 4, "camera channel already taken");
    ExpectFault(sxa + "[TX-60:0]\nSlot_Number = 0\n", 4, "slot does not take this module");
    ExpectFault(sxa + "[CameraPort:0]\n[SX-400:0]\n[CameraPort:1]\n", 5,
                "camera port outside a four-port module or an SXA board");
    ExpectFault(sxa + "[CameraPort:0]\n[BZ-700]\n[CameraPort:1]\n", 5,
                "camera port outside a four-port module or an SXA board");
}

TEST_F(TextParserTest, LinesWrittenForTheLibrary) {
    const auto tx60 = ParseModule(
        "[TX-60:0]\nSlot_Number = 0\nMatrix_Structure = Create_Structure\n"
        "Camera_Structure = Create_Structure\n");
    ASSERT_TRUE(tx60) << error.Message();
    EXPECT_EQ(Number(*tx60, 14), 0) << "a model with the key keeps its value";

    const auto lumo = Parse("[SYSTEM:0]\n[Lumo:2]\nPIXSZ_Override=16\n");
    ASSERT_TRUE(lumo) << error.Message();
    const ModuleConfig &board = lumo->systems[0].boards[0].board;
    EXPECT_EQ(board.sectionName, "Lumo");
    EXPECT_TRUE(board.pixelSizeOverride16);
    EXPECT_EQ(Number(board, 22), 0) << "\"Pixsz_Override\" is another key";

    const auto plain = Parse("[SYSTEM:0]\n[SX-400:0]\n[BZ-700]\nReg_Access_Mode\n");
    ASSERT_TRUE(plain) << error.Message();
    EXPECT_FALSE(plain->systems[0].boards[0].board.pixelSizeOverride16);
    EXPECT_FALSE(plain->busTranslator->noHardware);

    ExpectFault("[SYSTEM:0]\n[DQ-500:0]\nPIXSZ_Override=16\n", 3, "unknown key");
    ExpectFault("[SYSTEM:0]\n[SX-400:0]\nPIXSZ_Override=24\n", 3, "unknown word");
    ExpectFault("[SYSTEM:0]\n[SX-400:0]\nNo_Hardware\n", 3, "unknown word");
    ExpectFault("[SYSTEM:0]\n[SX-400:0]\n[TX-30:0]\nCamera_Structure = Default\n", 4,
                "unknown word");
}

TEST_F(TextParserTest, PendingModelsSkipAllButTheirSlotLine) {
    const auto pending = ParseModule(
        "[TX-50:0]\nSlot_Number = 0\nStartup_Port = 1\nAnything at all = ?\n[CameraPort:0]\n"
        "Bare_Word\n[CameraPort:3]\n");
    ASSERT_TRUE(pending) << error.Message();
    EXPECT_EQ(pending->slot, 0);
    EXPECT_EQ(Number(*pending, 0), 3) << "rows pending: keys keep their defaults";
}

}  // namespace
}  // namespace quar
