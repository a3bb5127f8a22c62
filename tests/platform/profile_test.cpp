// INI files with private-profile semantics: reading, writing, limits.
#include "platform/profile.h"
#include "support/core_scratch_dir.h"
#include "support/recording_ui.h"

#include <gtest/gtest.h>

#include <climits>
#include <tuple>
#include <utility>

namespace qvi {
namespace {

namespace fs = std::filesystem;

class ProfileTest : public ::testing::Test {
protected:
    fs::path Put(const std::string &text, const std::string &name = "settings.ini") {
        return scratch_.Write(name, text);
    }
    static std::string Slurp(const fs::path &path) { return testing::ScratchDir::Read(path); }

    testing::ScratchDir scratch_;
    const fs::path dir_ = scratch_.Path();
};

TEST_F(ProfileTest, ReadsTheLineSyntax) {
    Profile profile(
        Put("\xEF\xBB\xBF[ Camera ]\r\n; note=x\r\n\tModel \t=  \"  QV 10 \" \r\n"
            "junk line\r\nEmpty=\r\nHalf=\"open\r\n[Other]\nk=v"));
    EXPECT_EQ(profile.GetString("camera", "MODEL", "d"), "  QV 10 ");
    EXPECT_EQ(profile.GetString("Camera", "Half", "d"), "\"open");
    EXPECT_EQ(profile.GetString("Camera", "; note", "d"), "d");
    EXPECT_EQ(profile.GetString("Other", "k", "d"), "v");
    // The program reads with a 100-character buffer and a sentinel default.
    EXPECT_EQ(profile.GetString("Camera", "Empty", "InVaLiD_EnTrY", 100), "");
    EXPECT_EQ(profile.SectionNames(), (std::vector<std::string>{"Camera", "Other"}));

    // The first matching section and key win, whatever their case.
    Profile repeated(Put("top=0\n[A]\nx=1\nX=2\n[b]\ny=3\n[a]\nx=9\nz=4\n", "repeated.ini"));
    EXPECT_EQ(repeated.GetInt("a", "x", -1), 1);
    // Not in the first [A], in no [B], before any section: never found.
    for (const auto &[section, key] : {std::pair{"A", "z"}, {"B", "x"}, {"", "top"}, {"A", "top"}})
        EXPECT_EQ(repeated.GetInt(section, key, -1), -1) << section << "/" << key;
    const auto entries = repeated.SectionEntries("a");
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[1].key + "=" + entries[1].value, "X=2");
    EXPECT_EQ(repeated.SectionNames(), (std::vector<std::string>{"A", "b", "a"}));
}

// A settings file or database beyond the size limit is not read; it is named
// once however many keys are asked for.
TEST_F(ProfileTest, AFileBeyondTheLimitIsNamedOnceAndReadsAsMissing) {
    RecordingUi ui;
    ScopedUi install(ui);
    const fs::path huge = Put("[Camera]\nModel=QV\n", "huge.ini");
    fs::resize_file(huge, (64u << 20) + 1);
    Profile profile(huge);
    EXPECT_EQ(profile.GetString("Camera", "Model", "d"), "d");
    EXPECT_EQ(profile.GetInt("Camera", "Count", 7), 7);
    // Nor is it replaced by what a write would make of an empty file.
    EXPECT_FALSE(profile.WriteString("Camera", "Model", "QV"));
    EXPECT_FALSE(profile.DeleteKey("Camera", "Model"));
    EXPECT_EQ(fs::file_size(huge), (64u << 20) + 1);
    EXPECT_EQ(ui.Errors(), (std::vector<std::string>{"Can't read file: " + huge.string() +
                                                     "\nIt is larger than the limit of 64 MiB."}));
}

TEST_F(ProfileTest, DefaultsAndBufferCut) {
    Profile missing(dir_ / "none.ini");
    EXPECT_FALSE(missing.Exists());
    EXPECT_EQ(missing.GetString("s", "k", "dflt"), "dflt");
    EXPECT_EQ(missing.GetInt("s", "k", 7), 7);
    EXPECT_TRUE(missing.SectionNames().empty());
    Profile profile(Put("[s]\nk=abcdef\n"));
    for (const auto &[size, cut] : {std::pair{4, "abc"}, {1, ""}, {0, ""}})
        EXPECT_EQ(profile.GetString("s", "k", "", size), cut) << size;
    EXPECT_EQ(profile.GetString("s", "nokey", "default", 3), "de");
    EXPECT_EQ(profile.GetString("nosection", "k", "dflt"), "dflt");
}

TEST_F(ProfileTest, GetIntTakesTheLeadingNumberAndClamps) {
    Profile profile(
        Put("[n]\na=42abc\nb=-7\nc=+5\nd=abc\ne=\nf=99999999999\ng=-99999999999\n"
            "h=-2147483648\ni=\"12\"\nj=- 3\n"));
    std::vector<int> read;  // keys a to j
    for (const char *key : {"a", "b", "c", "d", "e", "f", "g", "h", "i", "j"})
        read.push_back(profile.GetInt("n", key, -1));
    EXPECT_EQ(read, (std::vector<int>{42, -7, 5, 0, 0, INT_MAX, INT_MIN, INT_MIN, 12, 0}));
}

TEST_F(ProfileTest, WriteStringChangesOnlyWhatItMust) {
    const std::string head = "; top\r\n[Board]\r\n  Speed = 10 ; old\r\nSpeed=20\r\n";
    const fs::path path = Put(head + "\r\n[Cam]\r\nx=1\r\n\r\n\r\n[Last]\r\nlast=1");
    Profile profile(path);
    ASSERT_TRUE(profile.WriteString("BOARD", "speed", "30"));
    ASSERT_TRUE(profile.WriteString("cam", "Y", "2"));
    ASSERT_TRUE(profile.WriteString("Last", "more", "3"));
    ASSERT_TRUE(profile.WriteString("New", "k", "v"));
    EXPECT_EQ(Slurp(path),
              "; top\r\n[Board]\r\nSpeed=30\r\nSpeed=20\r\n\r\n[Cam]\r\nx=1\r\nY=2\r\n\r\n\r\n"
              "[Last]\r\nlast=1\r\nmore=3\r\n\r\n[New]\r\nk=v\r\n");
}

TEST_F(ProfileTest, WriteStringCreatesTheFileAndRefusesUnreadableLines) {
    Profile profile(dir_ / "fresh.ini");
    ASSERT_TRUE(profile.WriteString("S", "k", " spaced "));
    EXPECT_EQ(Slurp(profile.Path()), "[S]\nk= spaced \n");
    EXPECT_EQ(profile.GetString("s", "K", "d"), "spaced");
    for (const auto &[section, key, value] :
         {std::tuple{"S", "k", "two\nlines"}, {"S", "a=b", "v"}, {"S", "", "v"}, {"S\r", "k", "v"}})
        EXPECT_FALSE(profile.WriteString(section, key, value)) << key << "=" << value;
    EXPECT_EQ(Slurp(profile.Path()), "[S]\nk= spaced \n");
}

TEST_F(ProfileTest, DeleteKeyRemovesOnlyTheFirstMatch) {
    const fs::path path = Put("[s]\nk=1\r\nK=2\n[t]\nk=3");
    Profile profile(path);
    ASSERT_TRUE(profile.DeleteKey("S", "k"));
    EXPECT_EQ(Slurp(path), "[s]\nK=2\n[t]\nk=3");
    EXPECT_TRUE(profile.DeleteKey("s", "absent"));
    EXPECT_TRUE(profile.DeleteKey("absent", "k"));
    EXPECT_EQ(Slurp(path), "[s]\nK=2\n[t]\nk=3");
    Profile missing(dir_ / "none.ini");
    EXPECT_TRUE(missing.DeleteKey("s", "k"));
    EXPECT_FALSE(missing.Exists());
}

TEST_F(ProfileTest, WriteAllReplacesTheFile) {
    Profile profile(Put("[old]\nx=1\n"));
    ASSERT_TRUE(profile.WriteAll({{"A", {{"k", "1"}, {"j", "2"}}}, {"B", {}}, {"C", {{"z", ""}}}}));
    EXPECT_EQ(Slurp(profile.Path()), "[A]\nk=1\nj=2\n\n[B]\n\n[C]\nz=\n");
    EXPECT_FALSE(profile.WriteAll({{"A", {{"bad\nkey", "1"}}}}));
    EXPECT_EQ(profile.GetInt("a", "J", 0), 2);
}

// A file the writes cannot replace keeps its content, and each write says it failed.
TEST_F(ProfileTest, WritesToAReadOnlyFileFailAndChangeNothing) {
    Profile profile(Put("[s]\nk=old\n"));
    fs::permissions(profile.Path(), fs::perms::owner_read);
    EXPECT_FALSE(profile.WriteString("s", "k", "new"));
    EXPECT_FALSE(profile.DeleteKey("s", "k"));
    EXPECT_FALSE(profile.WriteAll({{"s", {}}}));
    EXPECT_EQ(Slurp(profile.Path()), "[s]\nk=old\n");
}

}  // namespace
}  // namespace qvi
