// The acquisition self-test: snap, a measured grab, a software-triggered snap
// and the digital I/O loop-back of every acquiring board, and its report.
#include "app/self_test.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <memory>
#include <optional>

#include "acquire/dio_test.h"
#include "acquire/frame_sink.h"
#include "acquire/image_commands.h"
#include "acquire/triggered_acquisition.h"
#include "app/acquisition_info.h"
#include "app/image_target.h"
#include "library/hardware.h"
#include "modules/acquisition/acq_plat_mod.h"
#include "modules/boards/dq500.h"
#include "platform/clock.h"
#include "platform/replace_file.h"
#include "system/board_plat_mod.h"
#include "system/config_writer.h"
#include "system/system.h"

namespace qvi {

namespace {

using Outcome = SelfTestStep::Outcome;
using Steady = std::chrono::steady_clock;

constexpr int kPollMs = 10;
constexpr int kLineMask = (1 << DioTest::kLines) - 1;

std::string Format(const char *format, auto... values) {
    char text[200];
    std::snprintf(text, sizeof text, format, values...);
    return text;
}

// Waits on the clock until `done` holds; false after `timeoutMs` of waiting.
bool WaitUntil(Clock &clock, const std::function<bool()> &done, int timeoutMs) {
    for (int waited = 0; !done(); waited += kPollMs) {
        if (waited >= timeoutMs) return false;
        clock.Wait(kPollMs);
    }
    return true;
}

// An image window without a window: what one board is tested through.
struct Bench {
    ImageTarget target;
    std::unique_ptr<FrameSink> sink;
    std::unique_ptr<ImageDocument> document;
    // A DQ-500 acquires onto its own monitor, not into the window.
    DQP_plat_mod *monitorBoard = nullptr;

    QV_board_plat_mod &Board() { return *target.board; }
    void *Window() { return sink->Window(); }
    ~Bench() {
        if (document) CloseImageDocument(*document);
    }
};

std::unique_ptr<Bench> OpenBench(const QV_system &system, int index, const ImageTarget &target) {
    auto bench = std::make_unique<Bench>();
    bench->target = target;
    bench->sink = FrameSinkFor(system, index);
    bench->document =
        OpenImageDocument(*target.board, target.element, target.channel, target.title);
    bench->monitorBoard = dynamic_cast<DQP_plat_mod *>(target.board);
    return bench;
}

SelfTestStep Step(const char *name, Outcome outcome, std::string detail) {
    return {name, outcome, std::move(detail)};
}

// A camera port whose settings give the image no size has nothing to acquire.
constexpr const char *kNoImage = "the camera settings give the image no size: nothing to acquire";

std::int64_t FramesAcquired(Bench &bench) {
    bench.Board().SelectChannel(bench.target.channel);
    return bench.Board().FramesAcquired();
}

// What the window shows is drawn once the library has finished a frame.
bool WaitForDrawing(Bench &bench, Clock &clock, int drawnBefore) {
    return bench.monitorBoard != nullptr ||
           WaitUntil(
               clock, [&] { return bench.sink->Frames() > drawnBefore; }, 1000);
}

SelfTestStep TestSnap(Bench &bench, Clock &clock) {
    const std::int64_t before = FramesAcquired(bench);
    const int drawn = bench.sink->Frames();
    ImageDocument &document = *bench.document;
    if (bench.monitorBoard != nullptr)
        bench.monitorBoard->SnapOnMonitor();
    else if (Snap(document, bench.Window()); !document.imageValid)
        return document.width <= 0 || document.height <= 0
                   ? Step("snap", Outcome::Skip, kNoImage)
                   : Step("snap", Outcome::Fail, "the board showed no image");
    const std::int64_t after = FramesAcquired(bench);
    if (before >= 0 && after <= before) return Step("snap", Outcome::Fail, "no frame was acquired");
    if (!WaitForDrawing(bench, clock, drawn))
        return Step("snap", Outcome::Fail, "the frame was not drawn");
    if (bench.monitorBoard != nullptr) return Step("snap", Outcome::Pass, "on the board's monitor");
    return Step("snap", Outcome::Pass,
                Format("%d x %d x %d", document.width, document.height, document.bitsPerPixel));
}

double NominalRate(const ImageTarget &target) {
    const TriggeredAcquisition::Setup setup = TriggerSetupOf(target, nullptr);
    return setup.module ? setup.module->NominalFrameRate() : 0.0;
}

std::string RateVerdict(double measured, double nominal, double tolerance, Outcome &outcome) {
    const std::string rate = Format("%.1f frames/s", measured);
    if (nominal <= 0.0) {
        outcome = Outcome::Pass;
        return rate + " (the camera sets the rate)";
    }
    const bool within = std::fabs(measured - nominal) <= tolerance * nominal;
    outcome = within ? Outcome::Pass : Outcome::Fail;
    return rate + Format(", the module's timing gives %.2f (%s %.0f %%)", nominal,
                         within ? "within" : "not within", tolerance * 100.0);
}

SelfTestStep TestGrab(Bench &bench, Clock &clock, const SelfTestOptions &options) {
    ImageDocument &document = *bench.document;
    if (bench.monitorBoard != nullptr)
        bench.monitorBoard->GrabOnMonitor();
    else if (Grab(document, bench.Window()) != 1 || !document.imageValid)
        return Step("grab", Outcome::Fail, "the board could not start a live display");
    const std::int64_t firstCount = FramesAcquired(bench);
    const int firstDrawn = bench.sink->Frames();
    const Steady::time_point start = Steady::now();
    clock.Wait(options.grabMs);
    const double seconds = std::chrono::duration<double>(Steady::now() - start).count();
    const std::int64_t acquired = FramesAcquired(bench) - firstCount;
    const int drawn = bench.sink->Frames() - firstDrawn;
    if (bench.monitorBoard != nullptr)
        bench.monitorBoard->StopAcquisition();
    else
        Clear(document, bench.Window());

    if (bench.monitorBoard == nullptr && drawn <= 0)
        return Step("grab", Outcome::Fail, Format("nothing was drawn in %.2f s", seconds));
    const std::string shown =
        bench.monitorBoard ? " on the board's monitor" : Format(", %d drawn", drawn);
    if (firstCount < 0)
        return Step("grab", Outcome::Pass,
                    Format("%d frames drawn in %.2f s; the library does not count the frames "
                           "acquired",
                           drawn, seconds));
    if (acquired <= 0)
        return Step("grab", Outcome::Fail, Format("no frame was acquired in %.2f s", seconds));
    Outcome outcome = Outcome::Pass;
    const std::string rate = RateVerdict(static_cast<double>(acquired) / seconds,
                                         NominalRate(bench.target), options.rateTolerance, outcome);
    return Step("grab", outcome, rate + shown);
}

SelfTestStep TestTriggeredSnap(Bench &bench, Clock &clock, const SelfTestOptions &options) {
    TriggeredAcquisition::Setup setup = TriggerSetupOf(bench.target, bench.Window());
    if (setup.module == nullptr)
        return Step("triggered snap", Outcome::Skip, "no acquisition module to trigger");
    if (setup.tx30)
        return Step("triggered snap", Outcome::Skip, "the TX-30 takes external triggers only");
    ImageDocument &document = *bench.document;
    const Steady::time_point start = Steady::now();
    TriggeredAcquisition tool(document, clock, std::move(setup));
    tool.ChooseSource(TriggeredAcquisition::Source::Software);
    tool.Arm();
    const bool came = WaitUntil(
        clock,
        [&] { return document.state == ImageDocument::kTriggered || tool.FramesShown() > 0; },
        options.triggerTimeoutMs);
    const auto ms = std::chrono::duration<double, std::milli>(Steady::now() - start).count();
    tool.Close();
    if (!came)
        return Step("triggered snap", Outcome::Fail,
                    Format("no frame within %.1f s of a software trigger",
                           options.triggerTimeoutMs / 1000.0));
    return Step("triggered snap", Outcome::Pass,
                Format("software trigger, frame after %.0f ms", ms));
}

int ReadBack(QV_board_plat_mod &board, int outputs) {
    for (int bit = 0; bit < DioTest::kLines; ++bit) board.SetOutputBit(bit, (outputs >> bit) & 1);
    return board.ReadInputs(-1) & kLineMask;
}

// The lines are looped back when all inputs follow all outputs off and on;
// then each output alone must show on its own input only.
SelfTestStep TestDigitalIo(Bench &bench) {
    QV_board_plat_mod &board = bench.Board();
    if (!DioTestAvailable(board, IsSxaChannel(bench.target)))
        return Step("digital I/O", Outcome::Skip,
                    "the board has no digital I/O ports (hardware revision below 5)");
    board.SelectChannel(bench.target.channel);
    const int allOff = ReadBack(board, 0);
    const int allOn = ReadBack(board, kLineMask);
    if (allOff != 0 || allOn != kLineMask) {
        ReadBack(board, 0);
        return Step("digital I/O", Outcome::Skip,
                    Format("no loop-back: the inputs read 0x%02X with the outputs off and 0x%02X "
                           "with them on",
                           allOff, allOn));
    }
    std::string wrong;
    for (int bit = 0; bit < DioTest::kLines; ++bit)
        if (const int read = ReadBack(board, 1 << bit); read != 1 << bit)
            wrong += Format("%sline %d reads 0x%02X", wrong.empty() ? "" : ", ", bit, read);
    ReadBack(board, 0);
    if (!wrong.empty()) return Step("digital I/O", Outcome::Fail, "loop-back: " + wrong);
    return Step("digital I/O", Outcome::Pass, "8 lines looped back");
}

SelfTestBoard TestBoard(Bench &bench, Clock &clock, const SelfTestOptions &options) {
    SelfTestBoard tested{bench.target.title, {}};
    tested.steps.push_back(TestSnap(bench, clock));
    if (tested.steps.back().detail != kNoImage) {
        tested.steps.push_back(TestGrab(bench, clock, options));
        tested.steps.push_back(TestTriggeredSnap(bench, clock, options));
    } else {
        tested.steps.push_back(Step("grab", Outcome::Skip, kNoImage));
        tested.steps.push_back(Step("triggered snap", Outcome::Skip, kNoImage));
    }
    tested.steps.push_back(TestDigitalIo(bench));
    return tested;
}

// The clock the configuration header reads, so a test that fixes one fixes both.
std::string LocalTime() {
    const std::tm local = CurrentLocalTime();
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    return text;
}

const char *OutcomeWord(Outcome outcome) {
    switch (outcome) {
        case Outcome::Pass:
            return "pass";
        case Outcome::Fail:
            return "FAIL";
        case Outcome::Skip:
            return "skip";
    }
    return "";
}

}  // namespace

int SelfTestReport::Count(SelfTestStep::Outcome outcome) const {
    int count = 0;
    for (const SelfTestBoard &board : boards)
        for (const SelfTestStep &step : board.steps) count += step.outcome == outcome ? 1 : 0;
    return count;
}

bool SelfTestReport::Passed() const {
    return !boards.empty() && !cancelled && Count(SelfTestStep::Outcome::Fail) == 0;
}

SelfTestReport RunSelfTest(const QV_system &system, Clock &clock, const std::string &configuration,
                           const SelfTestOptions &options, const SelfTestProgress &progress) {
    SelfTestReport report{configuration, LocalTime(), {}, false};
    if (!HardwareEnabled()) return report;
    std::vector<int> listed;
    for (int index = 0; index < system.Size(); ++index)
        if (BoardListName(system, index)) listed.push_back(index);
    for (std::size_t done = 0; done < listed.size(); ++done) {
        const int index = listed[done];
        std::optional<ImageTarget> target = ImageTargetOf(system, index);
        if (!target) continue;
        if (progress &&
            !progress(static_cast<int>(done), static_cast<int>(listed.size()), target->title)) {
            report.cancelled = true;
            break;
        }
        std::unique_ptr<Bench> bench = OpenBench(system, index, *target);
        report.boards.push_back(TestBoard(*bench, clock, options));
    }
    return report;
}

std::string SelfTestReportText(const SelfTestReport &report) {
    std::string text = "Acquisition self-test\nConfiguration: " + report.configuration +
                       "\nStarted: " + report.started + "\n";
    if (report.boards.empty())
        text += "\nNo board was tested: " +
                std::string(HardwareEnabled() ? "none acquires images" : "no hardware") + ".\n";
    for (const SelfTestBoard &board : report.boards) {
        text += "\n" + board.name + "\n";
        for (const SelfTestStep &step : board.steps)
            text += Format("  %-4s  %-14s  ", OutcomeWord(step.outcome), step.name.c_str()) +
                    step.detail + "\n";
    }
    if (report.cancelled) text += "\nCancelled before every board was tested.\n";
    text += Format("\nResult: %s (%d passed, %d failed, %d skipped)\n",
                   report.Passed() ? "PASS" : "FAIL", report.Count(Outcome::Pass),
                   report.Count(Outcome::Fail), report.Count(Outcome::Skip));
    return text;
}

std::string SelfTestReportPath(const std::string &configuration) {
    std::filesystem::path path(configuration);
    path.replace_extension(".selftest.txt");
    return path.string();
}

SavedReport SaveSelfTestReport(const std::string &configuration, const std::string &text,
                               const std::string &path) {
    if (path.empty() && configuration.empty())
        return {false, "The report is not saved: the configuration has no file yet"};
    const std::string target = path.empty() ? SelfTestReportPath(configuration) : path;
    std::string why;
    if (!ReplaceFileContent(target, text, &why))
        return {false, "Can't write the report " + target + ": " + why};
    return {true, "Report saved as " + target};
}

}  // namespace qvi
