// Loading, writing and building configurations through the real stand-in and
// the separate converter.
#include "app/system_tree.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <sstream>

#include "library/hardware.h"
#include "params/mod.h"
#include "params/value_entry.h"
#include "support/stand_in.h"
#include "system/config_state.h"
#include "system/config_writer.h"
#include "system/plat_mod.h"

namespace qvi {
namespace {

constexpr const char *kDemo = R"([SYSTEM:0]
[Lumo:0]
[TX-10:0]
      Slot_Number = 0
[SXA:0]
[CameraPort:0]
      Name = "Cam A0"
      Camera_Structure = Create_Structure
      Interlaced
      HTotal = 910
[CameraPort:1]
[DQ-500:0]
[TX-30:0]
      Slot_Number = 0
[RX-20:0]
      Slot_Number = 1
      Memory_Size = 8K_1K_12
[SYSTEM:1]
[RX-600:0]
[RX-10:0]
      Slot_Number = 0
      Program_Memory = 0x100000
[RX-40:0]
      Slot_Number = 2
[BZ-700]
      Safe_Access_Mode
)";

// The time the written headers carry: 4 July 1999, 9:05:03.
constexpr std::tm kWhen = [] {
    std::tm when{};
    when.tm_year = 99;
    when.tm_mon = 6;
    when.tm_mday = 4;
    when.tm_hour = 9;
    when.tm_min = 5;
    when.tm_sec = 3;
    return when;
}();

// A written text without its header's file line, which names where it went.
std::string WithoutFileLine(std::string text) {
    const std::size_t at = text.find("#    File: ");
    return text.erase(at, text.find('\n', at) - at);
}

class SystemTreeTest : public testing::StandInTest {
protected:
    void SetUp() override {
        SetHardwareEnabled(false);
        Start();
        FixHeaderTime(&kWhen);
    }
    void TearDown() override { FixHeaderTime(nullptr); }
};

// Whatever the program writes, the converter and the library take back, and
// writing again gives the same text: without hardware, without boards, New
// from every kind of board, and a loaded file with and without hardware.
TEST_F(SystemTreeTest, EveryShapeTheProgramWritesLoadsAgain) {
    int written = 0;
    std::vector<std::string> texts;
    auto writtenLoadsAgain = [&](const std::string &shape) {
        SCOPED_TRACE(shape);
        // A system without boards is not one the library lists, so the first
        // round may drop its line; from then on the text stays the same.
        texts.clear();
        for (int round = 0; round < 3; ++round) {
            const std::filesystem::path file = dir_ / (std::to_string(++written) + ".txt");
            ASSERT_EQ(tree->WriteTextFile(file.string()), 0);
            texts.push_back(WithoutFileLine(Read(file)));
            ASSERT_EQ(tree->LoadFile(file.string()), 0) << ::testing::PrintToString(ui.Texts());
        }
        EXPECT_EQ(texts[1], texts[2]);  // reached only after three rounds
    };
    ASSERT_EQ(tree->NewSystem(true), 0);
    writtenLoadsAgain("new without hardware");
    ASSERT_EQ(tree->LoadFile(Write("empty.txt", "[SYSTEM:0]\n").string()), 0);
    writtenLoadsAgain("a system without boards");
    ASSERT_EQ(tree->LoadFile(Write("demo.txt", kDemo).string()), 0)
        << ::testing::PrintToString(ui.Texts());
    // The file's boards in file order, a system's empty slot listed.
    EXPECT_EQ(Texts(), (std::vector<std::string>{
                           "System:0", "  SXP:0", "    slot 0 - TX-10:0", "  SXA:0",
                           "    Channel 0", "    Channel 1", "  DQP:0", "    slot 0 - TX-31:0",
                           "    slot 1 - RX-20:0", "System:1", "  RXP:0", "    slot 0 - RX-10:0",
                           "    slot 1 - empty", "    slot 2 - RX-40:0", "BZ700", " "}));
    EXPECT_EQ(tree->BoardNames(),
              (std::vector<std::string>{"Lumo:0", "SXA Ch:0", "SXA Ch:1", "DQP:0"}));
    EXPECT_TRUE(ConfigLoaded());
    EXPECT_TRUE(ui.messages.empty());
    writtenLoadsAgain("loaded without hardware");
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0], texts[1]);
    for (const char *line :
         {"#    Date: 7/4/1999  -  9:5:3\n",
          "[CameraPort:0]\n      Name = \"Cam A0\"\n      Camera_Structure = Create_Structure\n",
          "[BZ-700]\n      Safe_Access_Mode\n      No_Hardware\n",
          "      Program_Memory = 0x100000\n", "      Memory_Size = 8K_1K_12\n"})
        EXPECT_NE(texts[0].find(line), std::string::npos) << line << texts[0];

    UseRack(
        "[Board]\nKind = SXP\nSlot0 = TX-10\n[Board]\nKind = SXA\nChannels = 2\n"
        "[Board]\nKind = DQP\nSlot0 = TX-30\nSlot1 = RX-20\n[Board]\nKind = RXP\n"
        "Slot0 = RX-10\nSlot2 = RX-40\n");
    SetHardwareEnabled(true);
    ASSERT_EQ(tree->NewSystem(true), 0) << ::testing::PrintToString(ui.Texts());
    writtenLoadsAgain("new from every kind of board");
    ASSERT_EQ(tree->LoadFile((dir_ / "demo.txt").string()), 0);
    writtenLoadsAgain("loaded with hardware");
}

TEST_F(SystemTreeTest, ABinaryNameIsSavedToItsTextTwin) {
    ASSERT_EQ(tree->LoadFile(Write("demo.txt", kDemo).string()), 0);
    SetHardwareEnabled(true);
    ASSERT_EQ(tree->WriteTextFile((dir_ / "saved.cnf").string()), 0);
    EXPECT_TRUE(std::filesystem::exists(dir_ / "saved.TXT"));
    EXPECT_FALSE(std::filesystem::exists(dir_ / "saved.cnf"));
    // With hardware present the bus translator's section has no No_Hardware line.
    EXPECT_EQ(Read(dir_ / "saved.TXT").find("No_Hardware"), std::string::npos);
    // And the binary twin loads without conversion.
    SetHardwareEnabled(false);
    ASSERT_EQ(tree->ConvertToBinary((dir_ / "saved.cnf").string()), 0);
    EXPECT_TRUE(std::filesystem::exists(dir_ / "saved.cnf"));  // the name keeps its spelling
    EXPECT_EQ(tree->LoadFile((dir_ / "saved.cnf").string()), 0);
}

// The converter's own message (file, line, at most 80 characters of the line,
// control characters escaped) comes first, then the program's.
TEST_F(SystemTreeTest, BadTextIsReportedByTheConverterAndNothingLoads) {
    const std::string line = "[TX-99:0] \x1b[31m" + std::string(100, 'x');
    std::string bad = std::string(kDemo) + line + "\n";
    EXPECT_EQ(tree->LoadFile(Write("bad.txt", bad).string()), -1);
    ASSERT_EQ(ui.Errors().size(), 3u);
    const int lineNumber = static_cast<int>(std::count(kDemo, kDemo + strlen(kDemo), '\n')) + 1;
    EXPECT_EQ(ui.Errors()[0], (dir_ / "bad.txt").string() + ":" + std::to_string(lineNumber) +
                                  ": stray text: [TX-99:0] \\x1b[31m" + std::string(65, 'x') +
                                  "...");
    EXPECT_EQ(ui.Errors()[1].rfind("Mkbcf failed. cmd = mkbcf " + (dir_ / "bad.txt").string() +
                                       " " + (dir_ / "bad.CNF").string() + " ",
                                   0),
              0u)
        << ui.Errors()[1];
    EXPECT_EQ(ui.Errors()[2], "Can't load config file");
    EXPECT_EQ(tree->System().Size(), 0);
}

// A FIFO would block the converter and an enormous file exhaust memory: both
// are refused, naming the file, before anything reads them. A binary the
// library refuses is named with a hint at the hardware.
TEST_F(SystemTreeTest, WhatIsNotASmallRegularFileOrIsRefusedGivesBothMessages) {
    const std::filesystem::path fake = Write("fake.cnf", "not a configuration");
    const std::filesystem::path fifo = dir_ / "fifo.txt";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    const std::filesystem::path huge = Write("huge.cnf", "");
    std::filesystem::resize_file(huge, (64u << 20) + 1);  // sparse: costs no disk
    const std::filesystem::path atLimit = Write("limit.cnf", "");
    std::filesystem::resize_file(atLimit, 64u << 20);
    const std::filesystem::path demo = Write("demo.txt", kDemo);
    const std::string unreadable = "Can't read config file: ";
    const std::string notRegular = "\nIt is not a regular file.";
    const struct {
        std::filesystem::path file;
        std::string first;
        bool hardware = false;
    } cases[] = {{fifo, unreadable + fifo.string() + notRegular},
                 {dir_, unreadable + dir_.string() + notRegular},
                 {huge, unreadable + huge.string() + "\nIt is larger than the limit of 64 MiB."},
                 {fake, "Can't load config file: " + fake.string() + "\nCheck hardware connection"},
                 // With hardware, a system whose boards are absent does not initialise.
                 {demo, "qrx_init_sys() failed for config file: " + demo.string(), true}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.file);
        SetHardwareEnabled(c.hardware);
        ui.Clear();
        EXPECT_EQ(tree->LoadFile(c.file.string()), -1);
        EXPECT_EQ(ui.Errors(), (std::vector<std::string>{c.first, "Can't load config file"}));
    }
    // A file at the limit is read (and refused by the library for what it holds).
    SetHardwareEnabled(false);
    ui.Clear();
    EXPECT_EQ(tree->LoadFile(atLimit.string()), -1);
    EXPECT_EQ(ui.Errors().front().rfind("Can't load config file: ", 0), 0u);
}

TEST_F(SystemTreeTest, AChangedRowReachesTheStandInsRegisterWithHardware) {
    UseRack(
        "[Board]\nKind = SXP\nSlot0 = TX-10\n[Board]\nKind = SXA\n[Board]\nKind = DQP\n"
        "[Board]\nKind = RXP\n");
    SetHardwareEnabled(true);
    ASSERT_EQ(tree->LoadFile(Write("demo.txt", kDemo).string()), 0)
        << ::testing::PrintToString(ui.Texts());
    QV_mod *channel = tree->System().GetModule(4);
    ASSERT_NE(channel, nullptr);
    QV_usr_param *total = channel->GetUsrParam(8);  // "Horizontal Total", register 123
    ASSERT_NE(total, nullptr);
    auto readReg32 = platform->Binding().Entry<&::read_reg32>();
    const std::uint32_t handle = tree->System().GetElement(4)->GetPlatMod()->Handle();
    EXPECT_EQ(readReg32(handle, 123), 910u);  // written when the system was initialised
    ValueEntry entry(*total, [] {});
    EXPECT_TRUE(entry.Ok("800"));
    EXPECT_EQ(readReg32(handle, 123), 800u);
    SetHardwareEnabled(false);
    EXPECT_TRUE(ValueEntry(*total, [] {}).Ok("700"));
    EXPECT_EQ(readReg32(handle, 123), 800u);
}

// A new system holds the detected boards with their modules in their slots.
// An SXA gets one camera channel per channel the rack gives it, alone or
// between other boards, and the file New writes holds a camera port for each.
TEST_F(SystemTreeTest, ANewSystemHoldsTheRacksBoardsAndGivesAnSxaItsChannels) {
    SetHardwareEnabled(true);
    const std::string others =
        "[Board]\nKind = SXP\nSlot0 = TX-10\n[Board]\nKind = RXP\nSlot0 = RX-10\n"
        "Slot2 = RX-40\n";
    struct Case {
        std::string others;
        int channels;
        int expected;
    };
    for (const Case &c : {Case{"", 1, 1}, Case{"", 2, 2}, Case{"", 4, 4}, Case{others, 2, 2},
                          Case{others, 4, 4}, Case{"", 6, 4}}) {
        const std::string sxa =
            "[Board]\nKind = SXA\nChannels = " + std::to_string(c.channels) + "\n";
        UseRack(c.others + sxa + c.others);
        ui.messages.clear();
        ASSERT_EQ(tree->NewSystem(true), 0) << ::testing::PrintToString(ui.Texts());
        std::vector<std::string> texts = Texts();
        auto board = std::find(texts.begin(), texts.end(), "  SXA:0");
        ASSERT_NE(board, texts.end()) << ::testing::PrintToString(texts);
        if (!c.others.empty()) {  // the boards of a kind together, their modules in their slots
            EXPECT_EQ(
                std::vector(texts.begin(), texts.begin() + 9),
                (std::vector<std::string>{"System:0", "  SXP:0", "    slot 0 - TX-10:0", "  SXP:1",
                                          "    slot 0 - TX-10:0", "  RXP:0", "    slot 0 - RX-10:0",
                                          "    slot 1 - empty", "    slot 2 - RX-40:0"}));
        }
        for (int channel = 0; channel < c.expected; ++channel)
            EXPECT_EQ(board[channel + 1], "    Channel " + std::to_string(channel))
                << c.channels << " channels, with others: " << !c.others.empty();
        EXPECT_EQ(board[c.expected + 1], "BZ700");  // a new system lists the SXAs last
        // The SXA's section, the last board's, runs up to the bus translator's.
        const std::string written = Read(dir_ / "scratch.txt");
        const std::size_t from = written.find("[SXA:0]"), end = written.find("[BZ-700]");
        ASSERT_LT(from, end) << written;
        int ports = 0;
        for (std::size_t at = from; (at = written.find("[CameraPort:", at + 1)) < end;) ++ports;
        EXPECT_EQ(ports, c.expected) << written;
        EXPECT_TRUE(ui.messages.empty()) << ::testing::PrintToString(ui.Texts());
    }
}

TEST(ConfigWriterTest, TheHeaderIsSixteenLinesWithBoxedNotices) {
    std::ostringstream out;
    WriteHeader(out, "/cfg/demo.txt", kWhen);
    std::vector<std::string> lines;
    std::istringstream in(out.str());
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    ASSERT_EQ(lines.size(), 16u);
    EXPECT_EQ(lines[0], std::string(69, '#'));
    EXPECT_EQ(lines[1], "#" + std::string(67, ' ') + "#");
    for (int i : {2, 4, 5, 6, 7}) {
        EXPECT_EQ(lines[i].size(), 69u) << lines[i];
        EXPECT_EQ(lines[i].rfind("# ", 0), 0u);
        EXPECT_EQ(lines[i].back(), '#');
    }
    EXPECT_EQ(lines[9], std::string(69, '#'));
    EXPECT_EQ(lines[10], "#");
    EXPECT_EQ(lines[13], "#");
    EXPECT_EQ(lines[14], "#");
    EXPECT_EQ(lines[15], " ");
}

}  // namespace
}  // namespace qvi
