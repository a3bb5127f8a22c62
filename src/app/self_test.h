#pragma once

#include <functional>
#include <string>
#include <vector>

namespace qvi {

class Clock;
class QV_system;

// The acquisition self-test: every board of the image windows' board list
// (boards that acquire, SXA camera channels) is snapped, grabbed for a
// moment with its rate measured, snapped on a software trigger, and has its
// digital output lines looped back to its inputs where they are wired so.
struct SelfTestStep {
    enum class Outcome { Pass, Fail, Skip };
    std::string name;  // "snap", "grab", "triggered snap", "digital I/O"
    Outcome outcome = Outcome::Skip;
    std::string detail;
};

struct SelfTestBoard {
    std::string name;  // as in the board list: "Lumo:0", "SXA Ch:1", ...
    std::vector<SelfTestStep> steps;
};

struct SelfTestReport {
    std::string configuration;
    std::string started;  // local time, "2026-12-06 18:40:12"
    std::vector<SelfTestBoard> boards;
    bool cancelled = false;

    int Count(SelfTestStep::Outcome outcome) const;
    // Every step passed or was skipped, and at least one board was tested.
    bool Passed() const;
};

struct SelfTestOptions {
    int grabMs = 1000;
    int triggerTimeoutMs = 3000;
    // How far the measured rate may lie from the rate the module's timing
    // sets (a share of that rate).
    double rateTolerance = 0.10;
};

// Told before each board: how many are done, how many there are, and the
// board's name; returning false cancels the rest.
using SelfTestProgress = std::function<bool(int done, int total, const std::string &board)>;

// Needs hardware; with none, or without any acquiring board, the report has
// no boards and does not pass. Waits run on `clock`, so a desktop stays
// responsive meanwhile.
SelfTestReport RunSelfTest(const QV_system &system, Clock &clock, const std::string &configuration,
                           const SelfTestOptions &options = {},
                           const SelfTestProgress &progress = {});

// The plain-text report: a heading, one block per board with a line per
// step ("  pass  snap            640 x 480 x 8"), and the result line.
std::string SelfTestReportText(const SelfTestReport &report);

// Where the report of a configuration is kept: beside it, its name's
// extension replaced by ".selftest.txt".
std::string SelfTestReportPath(const std::string &configuration);

// Keeps the report text at `path` (replaced whole, as every file is written),
// or beside the configuration when `path` is empty; `message` says where or
// why not ("Report saved as PATH", "Can't write the report PATH: WHY").
struct SavedReport {
    bool saved = false;
    std::string message;
};
SavedReport SaveSelfTestReport(const std::string &configuration, const std::string &text,
                               const std::string &path = {});

}  // namespace qvi
