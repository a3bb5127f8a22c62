// qvconfig: the desktop configurator. Start-up reads the command line and the
// settings, binds the imaging library, creates the module factory and the
// camera database, detects the hardware, then places the main window where
// it was last left and opens the configuration named on the command line (or
// a new one).
#include <QApplication>
#include <cstdio>
#include <string>
#include <vector>

#include "app/platform_services.h"
#include "app/recent_files.h"
#include "app/startup.h"
#include "gui/main_frame.h"
#include "gui/qt_app_registry.h"
#include "gui/qt_ui.h"
#include "platform/posix/dl_library_loader.h"
#include "platform/program_files.h"
#include "quar/version_stamp.h"

QUAR_VERSION_STAMP(QVI_VERSION);

int main(int argc, char **argv) {
    QApplication application(argc, argv);
    QApplication::setOrganizationName("Corvath");
    QApplication::setApplicationName("QVI Configurator");
    QApplication::setApplicationVersion(QVI_VERSION);
    // Qt has taken its own options out of argv; the rest is the program's.
    std::vector<std::string> arguments(argv + 1, argv + argc);
    if (arguments.size() == 1 && arguments[0] == "--version") {
        std::printf("qvconfig %s\n", QVI_VERSION);
        return 0;
    }

    using namespace qvi;
    QtUi ui;
    ScopedUi install(ui);
    AppSettings &settings = GlobalAppSettings();
    PlatformServices services;
    settings.SetHooks(&services);
    if (!StartUpSettings(settings, arguments, RunningProgramPath()).ok) return 1;

    QtAppRegistry registry;
    QtRecentFiles recent(registry.Settings());
    CMainFrame frame(settings, services, registry, recent);
    ui.SetParent(&frame);
    frame.RestorePlacement();
    frame.OpenStartConfiguration();
    return QApplication::exec();
}
