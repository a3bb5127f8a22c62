// qvcfg selftest on the sample demo and its rack: the report a user reads,
// where it is kept, and what makes a step fail.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "qvcfg_fixture.h"

namespace qvi {
namespace {

using ::testing::ContainsRegex;
using ::testing::HasSubstr;

using QvcfgSelfTest = QvcfgTest;

// The demo rack: every step passes or says why it was skipped (no loop-back
// wired, a TX-30 that takes external triggers only, a channel whose camera
// settings give no image), and the TX-50's grab is held to its own timing.
TEST_F(QvcfgSelfTest, PassesOnTheDemoRackAndKeepsTheReportBesideTheConfiguration) {
    const Outcome run = Qvcfg("-q selftest " + Demo());
    EXPECT_EQ(run.status, 0) << run.out << run.err;
    EXPECT_THAT(run.out, HasSubstr("Configuration: " + Demo() + "\n"));
    EXPECT_THAT(run.out, ContainsRegex("\nSXP:2\n  pass  snap            640 x 480 x 8\n"
                                       "  pass  grab            [0-9.]+ frames/s, the module's "
                                       "timing gives 29.97 \\(within 10 %\\), [0-9]+ drawn\n"));
    EXPECT_THAT(run.out, HasSubstr("\nSXA Ch:0\n  pass  snap            640 x 480 x 8\n"));
    EXPECT_THAT(run.out, ContainsRegex("  pass  grab            [0-9.]+ frames/s \\(the camera "
                                       "sets the rate\\), [0-9]+ drawn\n"));
    EXPECT_THAT(run.out, ContainsRegex("  pass  triggered snap  software trigger, frame after "
                                       "[0-9]+ ms\n  pass  digital I/O     8 lines looped back\n"));
    EXPECT_THAT(run.out,
                HasSubstr("\nSXA Ch:3\n  skip  snap            the camera settings give the "
                          "image no size: nothing to acquire\n"));
    EXPECT_THAT(run.out, HasSubstr("\nDQP:0\n  pass  snap            on the board's monitor\n"));
    EXPECT_THAT(run.out,
                HasSubstr("  skip  triggered snap  the TX-30 takes external triggers only\n"));
    EXPECT_THAT(run.out, HasSubstr("\nLumo:0\n"));
    EXPECT_THAT(run.out, HasSubstr("  skip  digital I/O     no loop-back: the inputs read 0x81 "
                                   "with the outputs off and 0x81 with them on\n"));
    EXPECT_THAT(run.out, ContainsRegex("\nResult: PASS \\([0-9]+ passed, 0 failed, [0-9]+ "
                                       "skipped\\)\n$"));
    EXPECT_EQ(Read(Config() / "demo.selftest.txt"), run.out);
    EXPECT_THAT(run.err, HasSubstr("selftest: Lumo:0 (1 of 12)\n"));
    EXPECT_THAT(run.err, HasSubstr("selftest: Report saved as " +
                                   (Config() / "demo.selftest.txt").string()));
}

// A camera slower than the module's timing fails the grab and the test; the
// report still goes where -o says.
TEST_F(QvcfgSelfTest, ARateTheModulesTimingDoesNotGiveFails) {
    // The rack's TX-50 board gets a camera of its own rate.
    ASSERT_NO_FATAL_FAILURE(
        Edit(Config() / "rack.ini", "Slot0 = TX-50\n", "Slot0 = TX-50\nFrameRate = 15\n"));
    const fs::path report = dir_ / "report.txt";
    const Outcome run = Qvcfg("-q selftest " + Demo() + " -o " + report.string());
    EXPECT_EQ(run.status, 1) << run.out << run.err;
    EXPECT_THAT(run.out, ContainsRegex("\nSXP:2\n  pass  snap [^\n]*\n  FAIL  grab            "
                                       "1[0-9.]+ frames/s, the module's timing gives 29.97 "
                                       "\\(not within 10 %\\)"));
    EXPECT_THAT(run.out, ContainsRegex("\nResult: FAIL \\([0-9]+ passed, 1 failed, "));
    EXPECT_EQ(Read(report), run.out);
    EXPECT_FALSE(fs::exists(Config() / "demo.selftest.txt"));
}

// The refusal without hardware is among qvcfg's refusals.
TEST_F(QvcfgSelfTest, ReportsAReportItCannotWrite) {
    // The rack's first board alone.
    const fs::path lumo = scratch_.Write(
        "config/lumo.txt", "[SYSTEM:0]\n[Lumo:0]\n[TX-10:0]\n      Slot_Number = 0\n");
    const fs::path nowhere = dir_ / "missing" / "report.txt";
    const Outcome unwritable = Qvcfg("-q selftest " + lumo.string() + " -o " + nowhere.string());
    EXPECT_EQ(unwritable.status, 1);
    EXPECT_THAT(unwritable.out, HasSubstr("Result: PASS"));
    EXPECT_THAT(unwritable.err, HasSubstr("selftest: Can't write the report " + nowhere.string()));
}

}  // namespace
}  // namespace qvi
