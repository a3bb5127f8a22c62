// qvcfg: the configurator's logic from the command line, for batch editing,
// scripts and tests. It starts like the desktop program (settings, library,
// factory, camera database, hardware detection) and edits through the same
// rows the Module Setup dialog uses.
#include <cstdio>
#include <iostream>

#include "app/startup.h"
#include "commands.h"
#include "options.h"
#include "platform/console_ui.h"
#include "platform/posix/dl_library_loader.h"
#include "quar/version_stamp.h"
#include "system/config_writer.h"
#include "system/hardware.h"
#include "system/pci_platform.h"

QUAR_VERSION_STAMP(QVI_VERSION);

namespace {

template <int Stream>
void PrintTo(const char *text, void *) {
    std::fputs(text, Stream == 1 ? stdout : stderr);
}

std::vector<std::string> StartUpArguments(const qvi::qvcfg::Options &options) {
    std::vector<std::string> arguments;
    if (!options.configDir.empty()) arguments.insert(arguments.end(), {"-c", options.configDir});
    if (!options.settingsFile.empty())
        arguments.insert(arguments.end(), {"-i", options.settingsFile});
    return arguments;
}

}  // namespace

int main(int argc, char **argv) {
    using namespace qvi;
    auto options = qvcfg::ParseOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (!options) return qvcfg::kUsageError;
    if (options->version) {
        std::cout << "qvcfg " << QVI_VERSION << "\n";
        return qvcfg::kSuccess;
    }
    ConsoleUi console(std::cerr, options->answer);
    ScopedUi install(console);
    if (options->time) FixHeaderTime(&*options->time);

    AppSettings &settings = GlobalAppSettings();
    PlatformServices services;
    settings.SetHooks(&services);
    if (!StartUpSettings(settings, StartUpArguments(*options), RunningProgramPath()).ok)
        return qvcfg::kFailed;
    // The library's console (load messages, register dumps) goes to standard
    // output, unless the configuration itself is written there.
    if (auto *platform = services.Platform()) {
        bool toStdout = !(options->command == "write" && options->words.size() == 2 &&
                          options->words[1] == "-");
        auto sink = platform->Binding().Entry<&::qrx_set_console_sink>();
        if (sink)
            sink(toStdout ? &PrintTo<1> : &PrintTo<2>, nullptr);
    }
    if (options->noHardware) {
        settings.hardwareEnabled = false;
        settings.boardsDetected = 0;
        SetDetectOnNew(0);
    }
    return qvcfg::RunCommand(*options, settings, services);
}
