// The acquisition commands: an image window without a window, on the board of an element.
#include "acquire_commands.h"

#include "trigger_commands.h"

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <iostream>
#include <memory>

#include "acquire/image_commands.h"
#include "app/self_test.h"
#include "command_support.h"
#include "image_session.h"
#include "library/hardware.h"
#include "library/library_binding.h"
#include "modules/boards/dq500.h"
#include "params/number_text.h"
#include "platform/posix/polling_clock.h"
#include "platform/ui.h"
#include "system/board_plat_mod.h"

namespace qvi::qvcfg {

namespace {

using Steady = std::chrono::steady_clock;

constexpr int kDefaultGrabFrames = 100;

// A DQ-500 shows what it acquires on its own monitor, not in a window: it
// snaps there, and the file holds the frame the monitor shows, whose shape
// is read back from the file.
int SnapOnMonitor(ImageSession &session, DQP_plat_mod &board, const std::string &path) {
    board.SnapOnMonitor();
    auto props = board.Binding() ? board.Binding()->Entry<&::qrx_imagefile_props>() : nullptr;
    std::int32_t width = 0, height = 0, planes = 0, bits = 0;
    if (board.SaveImageFile(path) != 0 || props == nullptr ||
        props(path.c_str(), &width, &height, &planes, &bits) != 0) {
        ReportError("Can't write image file: " + path);
        return kFailed;
    }
    ImageDocument &document = *session.document;
    document.width = width;
    document.height = height;
    document.bitsPerPixel = planes == 3 ? 24 : bits;
    PrintImage(document);
    return kSuccess;
}

int Snap(const Options &options, AppSettings &settings, PlatformServices &services) {
    if (options.words.size() != 2 || options.output.empty())
        return Usage("snap takes CONFIG INDEX -o OUT.tif");
    auto session = OpenSession(options, settings, services);
    if (!session) return kFailed;
    if (auto *monitorBoard = dynamic_cast<DQP_plat_mod *>(session->target.board))
        return SnapOnMonitor(*session, *monitorBoard, options.output);
    Snap(*session->document, session->Window());
    if (!session->document->imageValid) {
        ReportError("snap: the board showed no image");
        return kFailed;
    }
    if (SaveShownImage(*session, options.output) != kSuccess) return kFailed;
    PrintImage(*session->document);
    return kSuccess;
}

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval &t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

void PrintRate(int frames, double seconds, double cpuSeconds) {
    char line[160];
    std::snprintf(line, sizeof line,
                  "frames\t%d\nseconds\t%.3f\nframes_per_second\t%.1f\ncpu_ms_per_frame\t%.3f\n",
                  frames, seconds, seconds > 0 ? frames / seconds : 0.0,
                  frames > 0 ? cpuSeconds * 1000.0 / frames : 0.0);
    std::cout << line;
}

// Uncapped: the display server is suspended and the connection drawn on this
// thread as fast as the display path allows.
int DrawUncapped(ImageSession &session, int frames) {
    LibraryBinding *binding = session.target.board->Binding();
    auto suspend = binding ? binding->Entry<&::qrx_suspend_img_server>() : nullptr;
    auto draw = binding ? binding->Entry<&::qrx_display_conn>() : nullptr;
    if (suspend == nullptr || draw == nullptr) return -1;
    suspend(session.document->server);
    for (int i = 0; i < frames; ++i)
        if (draw(session.document->connection) != 0) return -1;
    return 0;
}

int Grab(const Options &options, AppSettings &settings, PlatformServices &services) {
    if (options.words.size() != 2)
        return Usage("grab takes CONFIG INDEX [--frames N] [--uncapped]");
    auto session = OpenSession(options, settings, services);
    if (!session) return kFailed;
    const int frames = options.frames.value_or(kDefaultGrabFrames);
    const Steady::time_point start = Steady::now();
    const double cpuStart = CpuSeconds();
    if (Grab(*session->document, session->Window()) != 1 || !session->document->imageValid) {
        ReportError("grab: the board could not start a live display");
        return kFailed;
    }
    if (options.uncapped) {
        if (DrawUncapped(*session, frames) != 0) {
            ReportError("grab: the connection could not be drawn");
            return kFailed;
        }
    } else {
        PollingClock clock;
        // A camera at 1 frame per second still fills the count in time.
        const int timeoutMs = frames * 1000 + 5000;
        if (!clock.RunUntil([&] { return session->sink->Frames() >= frames; }, timeoutMs))
            ReportError("grab: only " + std::to_string(session->sink->Frames()) + " of " +
                        std::to_string(frames) + " frames came");
    }
    const double seconds = std::chrono::duration<double>(Steady::now() - start).count();
    const double cpu = CpuSeconds() - cpuStart;
    const int shown = session->sink->Frames();
    session->Close();
    PrintRate(shown, seconds, cpu);
    return shown >= frames ? kSuccess : kFailed;
}

int LoadImage(const Options &options, AppSettings &settings, PlatformServices &services) {
    if (options.words.size() != 3) return Usage("load-image takes CONFIG INDEX IN.tif");
    auto session = OpenSession(options, settings, services);
    if (!session) return kFailed;
    LoadTiff(*session->document, options.words[2], session->Window());
    if (!session->document->imageValid) return kFailed;
    PrintImage(*session->document);
    std::cout << "caption\t" << session->document->caption << "\n";
    return kSuccess;
}

int Pixel(const Options &options, AppSettings &settings, PlatformServices &services) {
    if (options.words.size() != 4) return Usage("pixel takes CONFIG INDEX X Y [--after ...]");
    auto x = ParseInteger(options.words[2]);
    auto y = ParseInteger(options.words[3]);
    if (!x || !y || *x < 0 || *y < 0 || *x > 65535 || *y > 65535)
        return Usage("bad pixel position: " + options.words[2] + " " + options.words[3]);
    const std::string after = options.after.empty() ? "snap" : options.after;
    const bool load = after.rfind("load:", 0) == 0;
    if (after != "snap" && !load) return Usage("bad --after: " + after);
    auto session = OpenSession(options, settings, services);
    if (!session) return kFailed;
    ImageDocument &document = *session->document;
    if (load) {
        LoadTiff(document, after.substr(5), session->Window());
        if (!document.imageValid) return kFailed;
    } else {
        Snap(document, session->Window());
        if (!document.imageValid) {
            ReportError("pixel: the board showed no image");
            return kFailed;
        }
    }
    if (*x >= document.width || *y >= document.height) {
        ReportError("pixel: (" + options.words[2] + ", " + options.words[3] +
                    ") is outside the image of " + std::to_string(document.width) + " x " +
                    std::to_string(document.height));
        return kFailed;
    }
    document.board->SelectChannel(document.channel);
    std::cout << document.board->ReadPixel(static_cast<int>(*x), static_cast<int>(*y)) << "\n";
    return kSuccess;
}

// The report goes to stdout and beside the configuration (or to -o); the
// board being tested is told on stderr.
int SelfTest(const Options &options, AppSettings &settings, PlatformServices &services) {
    if (options.words.size() != 1)
        return Usage("selftest takes CONFIG [--timeout SECONDS] [-o REPORT]");
    if (!HardwareEnabled()) {
        ReportError("selftest: acquisition needs hardware (No-Hardware mode)");
        return kFailed;
    }
    Loaded loaded = Load(settings, services, options.words[0]);
    if (loaded.status != kSuccess) return kFailed;
    SelfTestOptions testOptions;
    if (options.timeout) testOptions.triggerTimeoutMs = static_cast<int>(*options.timeout * 1000);
    PollingClock clock;
    const SelfTestReport report = RunSelfTest(
        loaded.tree->System(), clock, settings.currentConfigFile, testOptions,
        [](int done, int total, const std::string &board) {
            std::cerr << "selftest: " << board << " (" << done + 1 << " of " << total << ")\n";
            return true;
        });
    const std::string text = SelfTestReportText(report);
    std::cout << text;
    const SavedReport saved = SaveSelfTestReport(settings.currentConfigFile, text, options.output);
    if (!saved.saved) {
        ReportError("selftest: " + saved.message);
        return kFailed;
    }
    std::cerr << "selftest: " << saved.message << "\n";
    return report.Passed() ? kSuccess : kFailed;
}

}  // namespace

std::optional<int> RunAcquisitionCommand(const Options &options, AppSettings &settings,
                                         PlatformServices &services) {
    const std::string &command = options.command;
    if (command == "snap") return Snap(options, settings, services);
    if (command == "grab") return Grab(options, settings, services);
    if (command == "load-image") return LoadImage(options, settings, services);
    if (command == "pixel") return Pixel(options, settings, services);
    if (command == "trigger") return TriggeredSnap(options, settings, services);
    if (command == "dio") return DigitalIo(options, settings, services);
    if (command == "selftest") return SelfTest(options, settings, services);
    return std::nullopt;
}

}  // namespace qvi::qvcfg
