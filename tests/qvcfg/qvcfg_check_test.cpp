// qvcfg validate, diff and --json as users and scripts run them.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "qvcfg_fixture.h"

namespace qvi {
namespace {

using ::testing::AllOf;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::StartsWith;

std::vector<std::string> Corpus() {
    std::vector<std::string> files;
    for (const auto &entry : fs::directory_iterator(MALFORMED_DIR))
        if (entry.path().filename() != "expected.txt") files.push_back(entry.path().string());
    std::sort(files.begin(), files.end());
    return files;
}

std::string Joined(const std::vector<std::string> &words) {
    std::string text;
    for (const std::string &word : words) text += " '" + word + "'";
    return text;
}

TEST_F(QvcfgTest, ValidatePrintsNothingForAGoodFileAndOneLinePerProblemOnStdout) {
    Outcome clean = Qvcfg("validate " + (Config() / "dbase" / "default.txt").string());
    EXPECT_EQ(clean.status, 0) << clean.err;
    EXPECT_THAT(clean.out, IsEmpty());
    EXPECT_THAT(clean.err, IsEmpty());

    // Warnings alone pass, unless --werror.
    const std::string warned = std::string(MALFORMED_DIR) + "/outside_row_limits.txt";
    EXPECT_EQ(Qvcfg("validate " + warned).status, 0);
    Outcome strict = Qvcfg("validate --werror " + warned);
    EXPECT_EQ(strict.status, 1);
    EXPECT_THAT(strict.out, StartsWith(warned + ":7: warning: "));
}

TEST_F(QvcfgTest, ValidateAndDiffNeverCrashOnTheMalformedCorpus) {
    // A folder or a missing file is an error of the whole file.
    std::vector<std::string> files = Corpus();
    const std::string folder = (dir_ / "a-folder.txt").string(),
                      missing = (dir_ / "missing.txt").string();
    fs::create_directories(folder);
    files.insert(files.end(), {folder, missing});
    Outcome all = Qvcfg("validate" + Joined(files));
    EXPECT_EQ(all.status, 1) << all.err;
    EXPECT_THAT(all.err, IsEmpty());
    EXPECT_THAT(all.out, HasSubstr(folder + ": error: cannot read the file"));
    EXPECT_THAT(all.out, HasSubstr(missing + ": error: cannot read the file"));
    for (const std::string &file : files) {
        Outcome one = Qvcfg("validate '" + file + "'");
        ASSERT_TRUE(one.status == 0 || one.status == 1) << file << ": " << one.status;
        // diff's trouble status is for files the converter refuses, and the
        // reason goes to stderr.
        Outcome diff = Qvcfg("diff '" + file + "' " + Demo());
        EXPECT_EQ(diff.status, one.out.find(": error: ") != std::string::npos ? 2 : 1) << file;
        if (diff.status == 2) {
            EXPECT_THAT(diff.err, StartsWith("error: ")) << file;
        }
    }
}

TEST_F(QvcfgTest, DiffOfIdenticalChangedAndExtendedConfigurations) {
    EXPECT_EQ(Qvcfg("diff " + Demo() + " " + Demo()).status, 0);
    // What qvcfg writes back (another header, spelled-out keys, floats in
    // single precision) is the same configuration, but for the one name that
    // is longer than the library keeps.
    ASSERT_EQ(Qvcfg("-q write " + Demo() + " " + (dir_ / "w.txt").string()).status, 0);
    Outcome same = Qvcfg("diff " + Demo() + " " + (dir_ / "w.txt").string());
    EXPECT_EQ(same.out,
              "SYSTEM:0/DQ-500:0/TX-30:0/CameraPort:0 Name: \"Colour NTSC balanced\" -> "
              "\"Colour NTSC balance\"\n");

    std::string text = Read(Demo());
    text.replace(text.find("Latency = 64"), 12, "Latency = 32");
    text += "[SYSTEM:1]\n[SX-400:9]\n";
    Outcome json = Qvcfg("--json diff " + Demo() + " " + scratch_.Write("b.txt", text).string());
    EXPECT_EQ(json.status, 1);
    const nlohmann::json read = nlohmann::json::parse(json.out);
    EXPECT_EQ(read["equal"], false);
    ASSERT_EQ(read["differences"].size(), 2u);
    EXPECT_EQ(read["differences"][0],
              nlohmann::json::parse(R"({"change": "changed", "path": "SYSTEM:0/SX-400:1",
                                        "key": "Latency", "before": "64", "after": "32"})"));
    EXPECT_EQ(read["differences"][1]["change"], "added");
}

TEST_F(QvcfgTest, DiffWithACameraShowsWhatApplyingItChangesOnThatPortOnly) {
    Outcome run = Qvcfg("-q --json diff " + Demo() + " --camera 'CCIR TX-10' --element 2 --port 0");
    ASSERT_EQ(run.status, 1) << run.err;
    const nlohmann::json read = nlohmann::json::parse(run.out);
    ASSERT_GE(read["differences"].size(), 5u);
    for (const auto &difference : read["differences"])
        EXPECT_EQ(difference["path"], "SYSTEM:0/Lumo:0/TX-10:0/CameraPort:0") << difference;
    EXPECT_EQ(read["differences"][0]["key"], "Name");
    EXPECT_EQ(read["differences"][0]["after"], "\"CCIR TX-10\"");

    // Port 1 already has that camera; an unknown camera is trouble.
    EXPECT_EQ(Qvcfg("-q diff " + Demo() + " --camera 'CCIR TX-10' --element 2 --port 1").status, 0);
    Outcome unknown = Qvcfg("-q diff " + Demo() + " --camera 'No such' --element 2 --port 0");
    EXPECT_EQ(unknown.status, 2);
    EXPECT_THAT(unknown.err, HasSubstr("no camera \"No such\""));
}

TEST_F(QvcfgTest, JsonOutputsCarryWhatTheTextOutputsSay) {
    const nlohmann::json show = nlohmann::json::parse(Qvcfg("-q --json show " + Demo()).out);
    EXPECT_EQ(show["elements"][1], nlohmann::json::parse(R"({"index": 1, "text": "  Lumo:0 *"})"));
    EXPECT_EQ(show["elements"].size(), ElementLines(Qvcfg("-q show " + Demo()).out).size());

    const nlohmann::json info = nlohmann::json::parse(Qvcfg("-q --json info " + Demo() + " 1").out);
    EXPECT_EQ(info, nlohmann::json::parse(R"({"pixel_format": 0, "bits_per_pixel": 8,
        "height": 576, "width": 768, "hardware_revision": 30})"));

    const nlohmann::json cameras = nlohmann::json::parse(Qvcfg("-q --json cameras TX-10 0").out);
    EXPECT_EQ(cameras["cameras"], nlohmann::json::parse(R"(["Generic TX-10", "CCIR TX-10"])"));

    const nlohmann::json pages =
        nlohmann::json::parse(Qvcfg("-q --json pages " + Demo() + " 2").out);
    EXPECT_EQ(pages["element"], 2);
    EXPECT_EQ(pages["pages"][0]["title"], "Camera");
    EXPECT_EQ(pages["pages"][0]["rows"][0],
              nlohmann::json::parse(R"({"id": 0, "label": "Camera 0", "value": "Generic TX-10"})"));
}

}  // namespace
}  // namespace qvi
