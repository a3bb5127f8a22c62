// The Triggered Acquisition and Digital I/O Test tools from the command line.
#include "trigger_commands.h"

#include <chrono>
#include <cstdio>
#include <iostream>

#include "acquire/dio_test.h"
#include "acquire/triggered_acquisition.h"
#include "image_session.h"
#include "params/number_text.h"
#include "platform/posix/polling_clock.h"
#include "platform/ui.h"
#include "system/board_plat_mod.h"
#include "system/sys_element.h"

namespace qvi::qvcfg {

namespace {

using Steady = std::chrono::steady_clock;

constexpr double kDefaultTimeoutSeconds = 10.0;

std::string Milliseconds(Steady::duration elapsed) {
    char text[32];
    std::snprintf(text, sizeof text, "%.0f",
                  std::chrono::duration<double, std::milli>(elapsed).count());
    return text;
}

}  // namespace

int TriggeredSnap(const Options &options, AppSettings &settings, PlatformServices &services) {
    if (options.words.size() != 2 || (options.source != "sw" && options.source != "ext"))
        return Usage("trigger takes CONFIG INDEX --source sw|ext [--timeout SECONDS] [-o OUT.tif]");
    auto session = OpenSession(options, settings, services);
    if (!session) return kFailed;
    TriggeredAcquisition::Setup setup = TriggerSetupOf(session->target, session->Window());
    if (setup.module == nullptr) {
        ReportError("trigger: the element has no acquisition module to trigger");
        return kFailed;
    }
    const int timeoutMs = static_cast<int>(options.timeout.value_or(kDefaultTimeoutSeconds) * 1000);
    PollingClock clock;
    ImageDocument &document = *session->document;
    const Steady::time_point start = Steady::now();
    bool externalCame = false;

    setup.waitForExternalTrigger = [&](QV_board_plat_mod &board) {
        bool finished = false;
        ExternalTriggerWait wait(board, clock, [&](bool came) {
            externalCame = came;
            finished = true;
        });
        if (!clock.RunUntil([&] { return finished; }, timeoutMs)) wait.Cancel();
        return externalCame;
    };
    TriggeredAcquisition tool(document, clock, setup);
    const auto source = options.source == "sw" ? TriggeredAcquisition::Source::Software
                                               : TriggeredAcquisition::Source::External;
    if (source == TriggeredAcquisition::Source::Software && !tool.SoftwareAllowed()) {
        ReportError("trigger: this module takes external triggers only");
        return kFailed;
    }
    tool.ChooseSource(source);
    tool.Arm();
    const bool came = clock.RunUntil(
        [&] { return document.state == ImageDocument::kTriggered || tool.FramesShown() > 0; },
        timeoutMs);
    const Steady::duration elapsed = Steady::now() - start;
    tool.Close();
    if (!came) {
        ReportError("trigger: no triggered frame within " +
                    std::to_string(timeoutMs / 1000.0).substr(0, 5) + " s");
        return kFailed;
    }
    if (!options.output.empty() && SaveShownImage(*session, options.output) != kSuccess)
        return kFailed;
    std::cout << "triggered_after_ms\t" << Milliseconds(elapsed) << "\n";
    PrintImage(document);
    return kSuccess;
}

namespace {

// "BIT=0|1" with BIT 0 to 7.
bool ParseOutput(const std::string &word, int &bit, int &state) {
    const std::size_t equals = word.find('=');
    if (equals == std::string::npos) return false;
    auto parsedBit = ParseInteger(word.substr(0, equals));
    auto parsedState = ParseInteger(word.substr(equals + 1));
    if (!parsedBit || !parsedState || *parsedBit < 0 || *parsedBit >= DioTest::kLines ||
        (*parsedState != 0 && *parsedState != 1))
        return false;
    bit = static_cast<int>(*parsedBit);
    state = static_cast<int>(*parsedState);
    return true;
}

std::string Mask(int value) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", value & 0xFF);
    return text;
}

}  // namespace

int DigitalIo(const Options &options, AppSettings &settings, PlatformServices &services) {
    if (options.words.size() != 2)
        return Usage("dio takes CONFIG INDEX [--output BIT=0|1]... [--watch SECONDS]");
    std::vector<std::pair<int, int>> outputs;
    for (const std::string &word : options.outputs) {
        int bit = 0, state = 0;
        if (!ParseOutput(word, bit, state)) return Usage("bad --output: " + word);
        outputs.emplace_back(bit, state);
    }
    auto session = OpenSession(options, settings, services);
    if (!session) return kFailed;
    if (!DioTestAvailable(*session->target.board, IsSxaChannel(session->target))) {
        ReportError("dio: the board has no digital I/O test (hardware revision below 5)");
        return kFailed;
    }
    PollingClock clock;
    const Steady::time_point start = Steady::now();
    int last = -1;
    bool watching = false;
    DioTest test(*session->document, clock, [&](int inputs) {
        if (watching && inputs != last)
            std::cout << Milliseconds(Steady::now() - start) << "\t" << Mask(inputs) << "\n";
        last = inputs;
    });
    for (auto [bit, state] : outputs)
        if (((test.Outputs() >> bit) & 1) != state) test.ToggleOutput(bit);
    // One read of the inputs after the outputs changed (a loop-back shows them).
    clock.Wait(DioTest::kPeriodMs * 3 / 2);
    std::cout << "outputs\t" << Mask(test.Outputs()) << "\n"
              << "inputs\t" << Mask(test.Inputs()) << "\n";
    if (options.watch) {
        watching = true;
        last = test.Inputs();
        clock.Wait(static_cast<int>(*options.watch * 1000));
    }
    test.Close();
    return kSuccess;
}

}  // namespace qvi::qvcfg
