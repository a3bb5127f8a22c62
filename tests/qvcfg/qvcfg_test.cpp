// The command-line front end as a separate program on a copy of the sample
// configuration directory (settings, camera database, rack).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "qvcfg_fixture.h"

namespace qvi {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::StartsWith;

// `write OUT -` puts the text alone on stdout; --time fixes its date line and
// --no-hardware is the bus translator's No_Hardware (that what is written
// writes itself again is the system tree tests').
TEST_F(QvcfgTest, WriteTakesTheTimeAndHardwareOptions) {
    const Outcome run =
        Qvcfg("-q --no-hardware --time \"1999-07-04 09:05:03\" write " + Demo() + " -");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_THAT(run.out, StartsWith("#"));
    EXPECT_THAT(run.out, HasSubstr("#    Date: 7/4/1999  -  9:5:3\n"));
    EXPECT_THAT(run.out, HasSubstr("[BZ-700]\n      Safe_Access_Mode\n      No_Hardware\n"));
}

// The block of written text (up to the next section) that the markers lead
// to, each found after the one before.
std::string Block(const std::string &text, const std::vector<std::string> &markers) {
    std::size_t at = 0;
    for (const std::string &marker : markers)
        if ((at = text.find(marker, at)) == std::string::npos) return "";
    return text.substr(at, text.find("\n[", at) + 1 - at);
}

// `set` changes rows on the start-up port, on the one --port names, or on the
// one "Active Camera" chooses first; a camera fills its own port only. The
// file named is opened, not built new: a camera applied to a port of the
// decoder TX-70 keeps its name and multiplexer selects.
TEST_F(QvcfgTest, SetChangesTheRowsOfOnePort) {
    const struct {
        std::string arguments;
        std::vector<std::vector<std::string>> blocks, wanted;
    } cases[] = {
        {"4 \"Horizontal Total=800\" \"Interlace mode=Non_Interlaced\"",
         {{"[SXA:0]", "[CameraPort:0]"}},
         {{"Name = \"RS-170 Left0\"", "      Non_Interlaced\n", "      HTotal = 800\n"}}},
        {"16 --port 3 \"Horizontal Active=1024\"",
         {{"[TX-20:0]", "[CameraPort:3]"}},
         {{"      Horizontal_Active = 255\n"}}},
        {"2 \"Active Camera=Camera 3\" \"Horizontal Total=801\" \"Camera 2=CCIR TX-10\"",
         {{"[TX-10:0]"},
          {"[TX-10:0]", "[CameraPort:0]"},
          {"[TX-10:0]", "[CameraPort:2]"},
          {"[TX-10:0]", "[CameraPort:3]"}},
         {{"      Startup_Port = 3\n"},
          {"Name = \"Generic TX-10\"", "      HTotal = 780\n"},
          {"Name = \"CCIR TX-10\"", "      HTotal = 944\n"},
          {"Name = \"Spare\"", "      HTotal = 801\n"}}},
        {"26 \"#6=NTSC colour TX-71\"",
         {{"[TX-70:1]", "[CameraPort:2]"}},
         {{"Name = \"NTSC colour TX-71\"\n", "      TX2_Mux_Select = Output_FIFO_2\n"}}},
    };
    const fs::path out = dir_ / "changed.txt";
    for (const auto &c : cases) {
        SCOPED_TRACE(c.arguments);
        const Outcome run = Qvcfg("set " + Demo() + " " + c.arguments + " -o " + out.string());
        ASSERT_EQ(run.status, 0) << run.err;
        const std::string text = Read(out);
        for (std::size_t i = 0; i < c.blocks.size(); ++i)
            for (const std::string &line : c.wanted[i])
                EXPECT_THAT(Block(text, c.blocks[i]), HasSubstr(line)) << c.blocks[i].back();
    }
}

// What `pages` shows of an element: its tabs, then each row's id, label and
// shown value (the rows themselves are the label tables'), on the start-up
// port (1 here) unless --port names another.
TEST_F(QvcfgTest, PagesListEachElementsTabsRowsAndValues) {
    const Outcome tx10 = Qvcfg("pages " + Demo() + " 2");
    ASSERT_EQ(tx10.status, 0) << tx10.err;
    EXPECT_THAT(tx10.out, StartsWith("[Camera]\n0\tCamera 0\tGeneric TX-10\n"));
    EXPECT_THAT(tx10.out, HasSubstr("\n[Advanced]\n"));
    EXPECT_THAT(tx10.out, HasSubstr("\n6\tHorizontal Total\t944\n"));
    const Outcome port = Qvcfg("pages " + Demo() + " 16 --port 1");
    ASSERT_EQ(port.status, 0) << port.err;
    EXPECT_THAT(port.out, HasSubstr("\n21\tHorizontal Active\t1000\n"));
    EXPECT_EQ(Qvcfg("pages " + Demo() + " 0").status, 1) << "a system line has no pages";
    EXPECT_EQ(Qvcfg("pages " + Demo() + " 12").status, 1) << "the RX-10 has no pages";
}

TEST_F(QvcfgTest, CamerasAreListedPerModuleAndPort) {
    Outcome run = Qvcfg("cameras SXA 0");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "RS-170 Std\nCCIR Std\nProgressive 1K\n");
    EXPECT_EQ(Qvcfg("cameras TX-31 2").out, "Colour PAL custom\n");
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
}

// A module's image is checked against its snapped file by the acquisition
// commands' tests; a board reports its acquisition module's image and its
// own revision.
TEST_F(QvcfgTest, InfoReportsTheImageAndRevisionOfABoardOrModule) {
    Outcome board = Qvcfg("info " + Demo() + " 25");
    ASSERT_EQ(board.status, 0) << board.err;
    EXPECT_EQ(board.out,
              "pixel_format\t7\nbits_per_pixel\t16\nheight\t480\nwidth\t640\n"
              "hardware_revision\t36\n");
    Outcome decoder = Qvcfg("info " + Demo() + " 26");
    ASSERT_EQ(decoder.status, 0) << decoder.err;
    EXPECT_EQ(decoder.out.substr(0, decoder.out.find("hardware_revision")),
              board.out.substr(0, board.out.find("hardware_revision")));
}

// What qvcfg refuses: the exit status (2 for bad usage), nothing on stdout,
// and the message on stderr with its prefix, control characters quoted; a
// file that is not to be written is left as it was.
TEST_F(QvcfgTest, RefusalsExitWithTheirStatusAndSayWhyOnStderrOnly) {
    const std::string saved = (dir_ / "saved.txt").string(), out = (dir_ / "out.txt").string();
    const std::string tif = (dir_ / "x.tif").string();
    ASSERT_EQ(Qvcfg("save " + Demo() + " " + (dir_ / "saved").string()).status, 0);
    const fs::path readOnly = scratch_.Write("read-only.txt", "old\n");
    fs::permissions(readOnly, fs::perms::owner_read);
    const fs::path bad = scratch_.Write("bad.txt", "[SYSTEM:0]\n[XX:0] \x1b[31mred\n");
    const struct {
        std::string arguments;
        int status;
        std::string message;
    } cases[] = {
        {"save " + Demo() + " " + saved, 1,
         "question: File: " + saved + " already exists. Overwrite? -> cancel"},
        {"--no-hardware write " + Demo() + " " + readOnly.string(), 1,
         "error: Can't write config file: " + readOnly.string() + "\\nThe file is read-only."},
        {"convert " + bad.string() + " " + (dir_ / "bad.cnf").string(), 1,
         "error: " + bad.string() + ":2: stray text: [XX:0] \\x1b[31mred\n" +
             "error: Mkbcf failed. cmd = mkbcf "},
        {"show " + (Config() / "missing.txt").string(), 1, "error: Can't load config file\n"},
        {"set " + Demo() + " 4 \"Horizontal Total=2000\" -o " + out, 1,
         "error: Entry out of range: 2000\n"},
        {"set " + Demo() + " 4 \"Interlace mode=Sideways\" -o " + out, 1, "error: "},
        {"registers " + Demo() + " 0", 1, "error: element 0 "},
        {"--no-hardware registers " + Demo() + " 2", 1,
         "error: registers: the register dump needs hardware"},
        {"registers " + Demo(), 2, "error: "},
        {"info " + Demo() + " 0", 1, "for element 0"},
        {"info " + Demo() + " 11", 1, "for element 11"},
        {"info " + Demo() + " 12", 1, "for element 12"},
        {"info " + Demo() + " 99", 1, "for element 99"},
        {"--no-hardware snap " + Demo() + " 1 -o " + tif, 1, "snap: acquisition needs hardware"},
        {"snap " + Demo() + " 11 -o " + tif, 1, "No image window for element 11 (RXP:0)"},
        {"snap " + Demo() + " 1", 2, "error: "},
        {"--no-hardware selftest " + Demo(), 1, "selftest: acquisition needs hardware"},
        {"trigger " + Demo() + " 8 --source sw", 1, "trigger: this module takes external triggers only"},
        {"pixel " + Demo() + " 1 768 0", 1, "pixel: (768, 0) is outside the image of 768 x 576"},
        {"grab " + Demo() + " 1 --frames 0", 2, "error: "},
        {"pixel " + Demo() + " 1 3", 2, "error: "},
        {"trigger " + Demo() + " 1 --source both", 2, "error: "},
        {"dio " + Demo() + " 1 --output 8=1", 2, "error: "},
        {"", 2, "error: no command\n"},
        {"frobnicate", 2, "error: "},
        {"show", 2, "error: "},
        {"--answer maybe show x", 2, "error: bad answer: maybe\n"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.arguments);
        const Outcome run = Qvcfg(c.arguments);
        EXPECT_EQ(run.status, c.status);
        EXPECT_EQ(run.out, "");
        EXPECT_THAT(run.err, HasSubstr(c.message));
        EXPECT_THAT(run.err, Not(HasSubstr("\x1b")));
    }
    EXPECT_EQ(Read(readOnly), "old\n");
    EXPECT_FALSE(fs::exists(tif));
    EXPECT_EQ(Qvcfg("--answer ok save " + Demo() + " " + saved).status, 0);
}

}  // namespace
}  // namespace qvi
