// qvcfg: the configurator's logic from the command line, for batch editing,
// scripts and tests. It starts like the desktop program (settings, library,
// factory, camera database, hardware detection) and edits through the same
// rows the Module Setup dialog uses.
#include <cstdio>
#include <iostream>

#include "app/startup.h"
#include "check_commands.h"
#include "commands.h"
#include "library/hardware.h"
#include "library_console.h"
#include "options.h"
#include "platform/console_ui.h"
#include "platform/posix/dl_library_loader.h"
#include "platform/program_files.h"
#include "quar/version_stamp.h"
#include "system/config_writer.h"
#include "system/pci_platform.h"

QUAR_VERSION_STAMP(QVI_VERSION);

namespace {

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
    if (std::optional<int> status = qvcfg::RunFileCommand(*options)) return *status;

    // Outlives the library binding, which may print while it is released.
    qvcfg::LibraryConsole libraryConsole(std::cout, std::cerr,
                                         options->quiet ? qvcfg::LibraryConsole::Target::Hidden
                                                        : qvcfg::LibraryConsole::Target::Messages);
    AppSettings &settings = GlobalAppSettings();
    PlatformServices services;
    services.SetConsoleSink(&qvcfg::LibraryConsole::Sink, &libraryConsole);
    settings.SetHooks(&services);
    if (!StartUpSettings(settings, StartUpArguments(*options), RunningProgramPath()).ok)
        return qvcfg::kFailed;
    if (options->noHardware) {
        settings.hardwareEnabled = false;
        settings.boardsDetected = 0;
        SetDetectOnNew(0);
    }
    return qvcfg::RunCommand(*options, settings, services, libraryConsole);
}
