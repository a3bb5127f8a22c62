// validate's checks on the malformed corpus kept beside this file, on the
// samples and the parser's fuzz seeds, always against what the converter says.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/config_check.h"
#include "app/row_limits.h"
#include "support/core_scratch_dir.h"

namespace qvi {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

struct Expected {
    std::string file;
    int line = 0;
    std::string severity;
    std::string words;
};

std::vector<Expected> ReadExpectations() {
    std::ifstream in(fs::path(MALFORMED_DIR) / "expected.txt");
    std::vector<Expected> expected;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream words(line);
        Expected entry;
        words >> entry.file >> entry.line >> entry.severity;
        std::getline(words >> std::ws, entry.words);
        expected.push_back(entry);
    }
    return expected;
}

std::string Describe(const std::vector<ConfigProblem> &problems) {
    std::string text;
    for (const ConfigProblem &problem : problems) text += FormatProblem("F", problem) + "\n";
    return text;
}

bool Matches(const ConfigProblem &problem, const Expected &expected) {
    const bool error = expected.severity == "error";
    return problem.line == expected.line && (problem.severity == Severity::Error) == error &&
           problem.message.find(expected.words) != std::string::npos;
}

TEST(ConfigCheck, EveryMalformedFileIsReportedAtItsLineWithItsReason) {
    const std::vector<Expected> expected = ReadExpectations();
    ASSERT_GE(expected.size(), 30u);
    RowLimits limits;
    std::set<std::string> listed;
    for (const Expected &entry : expected) {
        listed.insert(entry.file);
        const auto problems = CheckConfigFile(fs::path(MALFORMED_DIR) / entry.file, limits);
        bool found = false;
        for (const ConfigProblem &problem : problems) found = found || Matches(problem, entry);
        EXPECT_TRUE(found) << entry.file << " wants " << entry.line << " " << entry.severity
                           << " \"" << entry.words << "\", got:\n"
                           << Describe(problems);
        // An error file has exactly the converter's one fault.
        if (entry.severity == "error") {
            EXPECT_EQ(problems.size(), 1u) << Describe(problems);
        }
    }
    // No file of the corpus goes unchecked.
    for (const auto &file : fs::directory_iterator(MALFORMED_DIR))
        EXPECT_TRUE(listed.contains(file.path().filename().string()) ||
                    file.path().filename() == "expected.txt")
            << file.path();
}

// The converter's verdict: whether it refuses the file.
bool ConverterRefuses(const fs::path &file, const fs::path &scratch) {
    const std::string command = std::string(MKBCF_PATH) + " '" + file.string() + "' '" +
                                (scratch / "out.cnf").string() + "' -1 2>/dev/null";
    const int status = std::system(command.c_str());
    return !(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

TEST(ConfigCheck, ValidateAgreesWithTheConverterOnEveryFileOfTheSuite) {
    std::vector<fs::path> files;
    for (const char *dir : {MALFORMED_DIR, SAMPLES_DIR, PARSER_SEEDS_DIR})
        for (const auto &entry : fs::recursive_directory_iterator(dir))
            if (entry.path().extension() == ".txt" && entry.path().filename() != "expected.txt")
                files.push_back(entry.path());
    ASSERT_GE(files.size(), 60u);
    const testing::ScratchDir scratch;
    RowLimits limits;
    int samples = 0;
    for (const fs::path &file : files) {
        const auto problems = CheckConfigFile(file, limits);
        EXPECT_EQ(ChecksFail(problems, false), ConverterRefuses(file, scratch.Path()))
            << file << "\n"
            << Describe(problems);
        // Every sample is accepted.
        if (file.string().starts_with(SAMPLES_DIR)) {
            ++samples;
            EXPECT_FALSE(ChecksFail(problems, false)) << file << "\n" << Describe(problems);
        }
    }
    EXPECT_GE(samples, 15);
}

// A TX-10 with a horizontal total (row limits 0..1023) in each place a port's
// value can come from.
std::string Tx10(const std::string &beforeBlocks, const std::string &port0) {
    return "[SYSTEM:0]\n[SX-400:0]\n[TX-10:0]\n      Slot_Number = 0\n" + beforeBlocks +
           "[CameraPort:0]\n" + port0 + "[CameraPort:1]\n[CameraPort:2]\n[CameraPort:3]\n";
}

TEST(ConfigCheck, RowLimitsHoldAtTheirBoundsAndPointAtTheLineThatGaveThePortItsValue) {
    RowLimits limits;
    EXPECT_THAT(CheckConfigText(Tx10("      HTotal = 0\n", "      HTotal = 1023\n"), "f", limits),
                IsEmpty());
    // Line 5 gives ports 1 to 3 their value; port 0 has its own on line 7.
    const auto problems =
        CheckConfigText(Tx10("      HTotal = 5000\n", "      HTotal = 100\n"), "f", limits);
    ASSERT_EQ(problems.size(), 3u) << Describe(problems);
    for (std::size_t i = 0; i < problems.size(); ++i) {
        EXPECT_EQ(problems[i].line, 5);
        EXPECT_EQ(problems[i].severity, Severity::Warning);
        EXPECT_THAT(problems[i].message, HasSubstr("camera port " + std::to_string(i + 1) +
                                                   ": HTotal = 5000 is outside 0..1023"));
    }
    // Port 0's own line, not the one before the blocks that it overrides.
    const auto own =
        CheckConfigText(Tx10("      HTotal = 100\n", "      HTotal = 5000\n"), "f", limits);
    ASSERT_EQ(own.size(), 1u) << Describe(own);
    EXPECT_EQ(own[0].line, 7);
}

}  // namespace
}  // namespace qvi
