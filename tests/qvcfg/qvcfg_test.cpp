// The command-line front end as a separate program on a copy of the sample
// configuration directory (settings, camera database, rack).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "qvcfg_fixture.h"

namespace qvi {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::StartsWith;

TEST_F(QvcfgTest, WithoutHardwareShowListsThePlainElementTexts) {
    Outcome run = Qvcfg("--no-hardware show " + Demo());
    ASSERT_EQ(run.status, 0) << run.err;
    std::vector<std::string> lines = ElementLines(run.out);
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[1], "1\t  SXP:0");
}

TEST_F(QvcfgTest, WritingWhatWasWrittenGivesTheSameBytes) {
    for (const char *mode : {"", "--no-hardware "}) {
        const std::string fixed = std::string(mode) + "--time \"1999-07-04 09:05:03\" ";
        Outcome first = Qvcfg(fixed + "write " + Demo() + " -");
        ASSERT_EQ(first.status, 0) << first.err;
        std::ofstream(dir_ / "first.txt", std::ios::binary) << first.out;
        Outcome second = Qvcfg(fixed + "write " + (dir_ / "first.txt").string() + " -");
        ASSERT_EQ(second.status, 0) << second.err;
        EXPECT_EQ(first.out, second.out) << mode;
        EXPECT_THAT(first.out, HasSubstr("#    Date: 7/4/1999  -  9:5:3\n"));
        // A loaded decoder board keeps its file's camera names, even with boards detected.
        EXPECT_THAT(first.out, HasSubstr("      Name = \"NTSC colour TX-71\"\n")) << mode;
        EXPECT_EQ(first.out.find("No_Hardware") != std::string::npos, *mode != '\0') << mode;
        // The colour modules' own matrices survive the load, with or without hardware.
        EXPECT_THAT(first.out, HasSubstr("      CSC_Coefficient_Matrix = 1.100,-0.050,-0.050,"
                                         "-0.050,1.100,-0.050,-0.050,-0.050,1.100\n"));
        EXPECT_THAT(first.out,
                    HasSubstr("      CSC_Coefficient_Matrix = "
                              "1.100,0.000,0.000,0.000,1.000,0.000,0.000,0.000,0.900\n"));
    }
}

TEST_F(QvcfgTest, SetChangesRowsAndRefusesWhatTheDialogRefuses) {
    const fs::path out = dir_ / "changed.txt";
    Outcome run =
        Qvcfg("set " + Demo() +
              " 4 \"Horizontal Total=800\" \"Interlace mode=Non_Interlaced\" -o " + out.string());
    ASSERT_EQ(run.status, 0) << run.err;
    std::string text = Read(out);
    std::size_t channel = text.find("[CameraPort:0]\n      Name = \"RS-170 Left0\"");
    ASSERT_NE(channel, std::string::npos) << text;
    EXPECT_THAT(text.substr(channel), HasSubstr("      Non_Interlaced\n"));
    EXPECT_THAT(text.substr(channel), HasSubstr("      HTotal = 800\n"));

    Outcome refused = Qvcfg("set " + Demo() + " 4 \"Horizontal Total=2000\" -o " + out.string());
    EXPECT_EQ(refused.status, 1);
    EXPECT_THAT(refused.err, HasSubstr("error: Entry out of range: 2000\n"));
    Outcome letters = Qvcfg("set " + Demo() + " 4 \"Horizontal Total=abc\" -o " + out.string());
    EXPECT_EQ(letters.status, 1);
    EXPECT_THAT(letters.err, HasSubstr("error: Invalid entry: abc\n"));
    Outcome word = Qvcfg("set " + Demo() + " 4 \"Interlace mode=Sideways\" -o " + out.string());
    EXPECT_EQ(word.status, 1);

    // --port chooses the port whose rows change.
    Outcome port =
        Qvcfg("set " + Demo() + " 16 --port 3 \"Horizontal Active=1024\" -o " + out.string());
    ASSERT_EQ(port.status, 0) << port.err;
    text = Read(out);
    const std::size_t port3 = text.find("[CameraPort:3]", text.find("[TX-20:0]"));
    ASSERT_NE(port3, std::string::npos) << text;
    EXPECT_LT(text.find("      Horizontal_Active = 255\n", port3), text.find("[TX-50:0]"));
}

TEST_F(QvcfgTest, Tx10ActiveCameraAndCamerasWorkPortByPort) {
    const fs::path out = dir_ / "ports.txt";
    Outcome run = Qvcfg("set " + Demo() +
                        " 2 \"Active Camera=Camera 3\" \"Horizontal Total=801\" "
                        "\"Camera 2=CCIR TX-10\" -o " +
                        out.string());
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string text = Read(out);
    const std::size_t port2 = text.find("[CameraPort:2]\n      Name = \"CCIR TX-10\"\n");
    const std::size_t port3 = text.find("[CameraPort:3]\n      Name = \"Spare\"\n");
    ASSERT_NE(port2, std::string::npos) << text;
    ASSERT_NE(port3, std::string::npos) << text;
    EXPECT_THAT(text, HasSubstr("      Startup_Port = 3\n"));
    // The camera filled port 2 only, and the new total went to port 3.
    EXPECT_LT(text.find("      HTotal = 944\n", port2), port3);
    EXPECT_THAT(text.substr(port3), HasSubstr("      HTotal = 801\n"));
    EXPECT_THAT(text, HasSubstr("[CameraPort:1]\n      Name = \"CCIR TX-10\"\n"));
    const std::size_t port0 = text.find("[CameraPort:0]\n      Name = \"Generic TX-10\"\n");
    ASSERT_NE(port0, std::string::npos);
    EXPECT_LT(text.find("      HTotal = 780\n", port0), text.find("[CameraPort:1]"));
    EXPECT_THAT(text, Not(HasSubstr("      HTotal = 800\n")));  // port 2's own total
}

// What `pages` shows of an element of the demo: its tabs, then each row's id,
// label and shown value, on the start-up port unless --port names another.
TEST_F(QvcfgTest, PagesListEachElementsTabsRowsAndValues) {
    struct Case {
        const char *element;
        std::vector<std::string> fragments;
    };
    const Case cases[] = {
        {"2",
         {"[Camera]\n0\tCamera 0\tGeneric TX-10\n1\tCamera 1\tCCIR TX-10\n"
          "2\tCamera 2\tProgressive 640\n3\tCamera 3\tSpare\n"
          "5\tActive Camera\tCamera 1\n[Advanced]\n",
          "5\tActive Camera\tCamera 1\n4\tVideo Standard\tCCIR\n6\tHorizontal Total\t944\n",
          "72\tBoard Revision\t30\n[PLL registers]\n50\tFeedback Divider\t943\n"}},
        {"16 --port 1",
         {"21\tHorizontal Active\t1000\n22\tVertical Active\t504\n"
          "4\tScan Mode\tNon-interlaced\n0\tTime Base\tVGA   640x480 (NI)\n"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.element);
        const Outcome run = Qvcfg("pages " + Demo() + " " + c.element);
        ASSERT_EQ(run.status, 0) << run.err;
        for (const std::string &fragment : c.fragments) EXPECT_THAT(run.out, HasSubstr(fragment));
    }
    EXPECT_EQ(Qvcfg("pages " + Demo() + " 0").status, 1) << "a system line has no pages";
    EXPECT_EQ(Qvcfg("pages " + Demo() + " 12").status, 1) << "the RX-10 has no pages";
}

TEST_F(QvcfgTest, CamerasAreListedPerModuleAndPort) {
    Outcome run = Qvcfg("cameras SXA 0");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "RS-170 Std\nCCIR Std\nProgressive 1K\n");
    EXPECT_EQ(Qvcfg("cameras TX-31 1").out, "Colour NTSC\nColour PAL custom\n");
    EXPECT_EQ(Qvcfg("cameras TX-31 2").out, "Colour PAL custom\n");
}

TEST_F(QvcfgTest, SaveAsAppendsTxtAndProducesTheBinaryTwin) {
    const fs::path name = dir_ / "saved";
    Outcome run = Qvcfg("save " + Demo() + " " + name.string());
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(fs::exists(dir_ / "saved.txt"));
    EXPECT_TRUE(fs::exists(dir_ / "saved.CNF"));
    // Saving over it again asks; without --answer the safe answer is Cancel.
    Outcome again = Qvcfg("save " + Demo() + " " + (dir_ / "saved.txt").string());
    EXPECT_EQ(again.status, 1);
    EXPECT_THAT(again.err, HasSubstr("question: File: " + (dir_ / "saved.txt").string() +
                                     " already exists. Overwrite? -> cancel"));
    EXPECT_EQ(Qvcfg("--answer ok save " + Demo() + " " + (dir_ / "saved.txt").string()).status, 0);
}

// A read-only file is refused with a message naming it and the reason, and left as it was.
TEST_F(QvcfgTest, WritingRefusesAReadOnlyFile) {
    const fs::path readOnly = dir_ / "read-only.txt";
    std::ofstream(readOnly) << "old\n";
    fs::permissions(readOnly, fs::perms::owner_read);
    const Outcome refused = Qvcfg("--no-hardware write " + Demo() + " " + readOnly.string());
    EXPECT_EQ(refused.status, 1);
    EXPECT_THAT(refused.err, HasSubstr("error: Can't write config file: " + readOnly.string() +
                                       "\\nThe file is read-only."));
    EXPECT_EQ(Read(readOnly), "old\n");
}

// The converter's own message reaches the user as one of qvcfg's error lines,
// with the offending text quoted safely.
TEST_F(QvcfgTest, ConverterMessagesAreRelayedAsErrors) {
    const fs::path bad = dir_ / "bad.txt";
    std::ofstream(bad) << "[SYSTEM:0]\n[XX:0] \x1b[31mred\n";
    const Outcome converted = Qvcfg("convert " + bad.string() + " " + (dir_ / "bad.cnf").string());
    EXPECT_EQ(converted.status, 1);
    EXPECT_THAT(converted.err, StartsWith("error: " + bad.string() +
                                          ":2: stray text: [XX:0] \\x1b[31mred\n"
                                          "error: Mkbcf failed. cmd = mkbcf "));
    EXPECT_THAT(converted.err, Not(HasSubstr("\x1b")));
}

// Shown, or written to a file that loads again (writing what was written is
// the system tree tests').
TEST_F(QvcfgTest, NewWithoutHardwareIsTheBusTranslatorAlone) {
    Outcome run = Qvcfg("--no-hardware new");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(ElementLines(run.out), (std::vector<std::string>{"0\tSystem:0", "1\tBZ700", "2\t "}));
    const std::string file = (dir_ / "n.txt").string();
    ASSERT_EQ(Qvcfg("--no-hardware new " + file).status, 0);
    const Outcome shown = Qvcfg("--no-hardware show " + file);
    EXPECT_EQ(shown.status, 0) << shown.err;
    EXPECT_THAT(shown.out, HasSubstr("BZ700"));
}

TEST_F(QvcfgTest, AddAndRemoveChangeTheSystem) {
    const fs::path out = dir_ / "edited.txt";
    Outcome removed = Qvcfg("remove " + Demo() + " 13 -o " + out.string());
    ASSERT_EQ(removed.status, 0) << removed.err;
    EXPECT_THAT(Read(out), Not(HasSubstr("[RX-30:")));
    Outcome added = Qvcfg("add " + out.string() + " 13 RX-50 -o " + out.string());
    ASSERT_EQ(added.status, 0) << added.err;
    EXPECT_THAT(Read(out), HasSubstr("[RX-50:0]\n      Slot_Number = 1\n"));
    Outcome wrong = Qvcfg("add " + out.string() + " 2 TX-40 -o " + out.string());
    EXPECT_EQ(wrong.status, 1);  // slot 0 of the Lumo is taken
}

// A file named on the command line is opened, not built new: applying a
// camera to a port of the decoder TX-70 keeps the camera's name and the
// multiplexer selects, with the boards present as without them.
TEST_F(QvcfgTest, ACameraAppliedToALoadedFileKeepsItsOwnNames) {
    auto decoderSection = [](const std::string &text) {
        const std::size_t from = text.find("[TX-70:1]");
        return from == std::string::npos ? std::string()
                                         : text.substr(from, text.find("[BZ-700]") - from);
    };
    std::string sections[2];
    for (int hardware = 0; hardware < 2; ++hardware) {
        const fs::path out = dir_ / "camera.txt";
        Outcome run = Qvcfg(std::string(hardware ? "" : "--no-hardware ") + "set " + Demo() +
                            " 26 \"#6=NTSC colour TX-71\" -o " + out.string());
        ASSERT_EQ(run.status, 0) << run.err;
        sections[hardware] = decoderSection(Read(out));
        EXPECT_THAT(sections[hardware],
                    HasSubstr("[CameraPort:2]\n      Name = \"NTSC colour TX-71\"\n"));
        EXPECT_THAT(sections[hardware], Not(HasSubstr("DEF")));
    }
    EXPECT_EQ(sections[1], sections[0]);
}

// Stdout carries the command's result alone; the library's console lines go
// to stderr with their prefix, or nowhere with -q.
TEST_F(QvcfgTest, TheLibrarysConsoleStaysOffStdout) {
    Outcome run = Qvcfg("show " + Demo());
    ASSERT_EQ(run.status, 0) << run.err;
    std::string joined;
    for (const std::string &line : ElementLines(run.out)) joined += line + "\n";
    EXPECT_EQ(run.out, joined);
    EXPECT_EQ(ElementLines(run.out).size(), 29u);
    EXPECT_THAT(run.err, HasSubstr("console: Configuration loaded: "));
    std::size_t at = 0;
    for (std::size_t end; (end = run.err.find('\n', at)) != std::string::npos; at = end + 1)
        EXPECT_EQ(run.err.compare(at, 9, "console: "), 0) << run.err.substr(at, end - at);
    EXPECT_EQ(at, run.err.size()) << "an unfinished line";

    Outcome quiet = Qvcfg("-q show " + Demo());
    EXPECT_EQ(quiet.out, run.out);
    EXPECT_EQ(quiet.err, "");

    Outcome written = Qvcfg("write " + Demo() + " -");
    ASSERT_EQ(written.status, 0) << written.err;
    EXPECT_THAT(written.out, StartsWith("#"));
    EXPECT_THAT(written.out, Not(HasSubstr("Configuration loaded")));
    EXPECT_THAT(written.err, HasSubstr("console: Configuration loaded: "));
}

TEST_F(QvcfgTest, RegistersPrintsTheDumpAsTheResult) {
    Outcome run = Qvcfg("registers " + Demo() + " 2");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_THAT(run.out, StartsWith("TX-10:0 registers\n  reg "));
    EXPECT_THAT(run.out, Not(HasSubstr("console: ")));
    EXPECT_THAT(run.err, Not(HasSubstr("registers")));
    Outcome quiet = Qvcfg("-q registers " + Demo() + " 2");
    EXPECT_EQ(quiet.out, run.out);

    Outcome board = Qvcfg("registers " + Demo() + " 23");
    ASSERT_EQ(board.status, 0) << board.err;
    EXPECT_THAT(board.out, StartsWith("SX-400:5 registers\n"));

    Outcome system = Qvcfg("registers " + Demo() + " 0");
    EXPECT_EQ(system.status, 1);
    EXPECT_EQ(system.out, "");
    EXPECT_THAT(system.err, HasSubstr("error: element 0 "));

    Outcome noHardware = Qvcfg("--no-hardware registers " + Demo() + " 2");
    EXPECT_EQ(noHardware.status, 1);
    EXPECT_EQ(noHardware.out, "");
    EXPECT_THAT(noHardware.err, HasSubstr("error: registers: the register dump needs hardware"));
    EXPECT_EQ(Qvcfg("registers " + Demo()).status, 2);
}

TEST_F(QvcfgTest, InfoReportsTheImageAndRevisionOfABoardOrModule) {
    Outcome tx10 = Qvcfg("info " + Demo() + " 2");
    ASSERT_EQ(tx10.status, 0) << tx10.err;
    EXPECT_EQ(tx10.out,
              "pixel_format\t0\nbits_per_pixel\t8\nheight\t576\nwidth\t768\n"
              "hardware_revision\t30\n");
    // A board reports its acquisition module's image and its own revision.
    Outcome board = Qvcfg("info " + Demo() + " 25");
    ASSERT_EQ(board.status, 0) << board.err;
    EXPECT_EQ(board.out,
              "pixel_format\t7\nbits_per_pixel\t16\nheight\t480\nwidth\t640\n"
              "hardware_revision\t36\n");
    Outcome decoder = Qvcfg("info " + Demo() + " 26");
    ASSERT_EQ(decoder.status, 0) << decoder.err;
    EXPECT_EQ(decoder.out.substr(0, decoder.out.find("hardware_revision")),
              board.out.substr(0, board.out.find("hardware_revision")));

    for (const char *index : {"0", "11", "12", "99"}) {
        Outcome refused = Qvcfg("info " + Demo() + " " + index);
        EXPECT_EQ(refused.status, 1) << index;
        EXPECT_EQ(refused.out, "") << index;
        EXPECT_THAT(refused.err, HasSubstr(std::string("for element ") + index));
    }
}

TEST_F(QvcfgTest, BadUsageExitsWithTwo) {
    EXPECT_EQ(Qvcfg("").status, 2);
    EXPECT_EQ(Qvcfg("frobnicate").status, 2);
    EXPECT_EQ(Qvcfg("show").status, 2);
    EXPECT_EQ(Qvcfg("--answer maybe show x").status, 2);
    Outcome missing = Qvcfg("show " + (Config() / "missing.txt").string());
    EXPECT_EQ(missing.status, 1);
    EXPECT_THAT(missing.err, HasSubstr("error: Can't load config file\n"));
}

}  // namespace
}  // namespace qvi
