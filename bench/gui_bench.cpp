// The desktop's response times on the sample configuration: start-up to the
// main window shown, opening the largest Module Setup page, and the refill
// of every row after a camera-port switch. Runs on the offscreen platform
// unless a display is named.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "app/app_settings.h"
#include "app/platform_services.h"
#include "app/recent_files.h"
#include "app/startup.h"
#include "app/system_tree.h"
#include "library/hardware.h"
#include "params/mod.h"
#include "params/param_group.h"
#include "params/usr_param.h"
#include "platform/app_registry.h"
#include "support/recording_ui.h"
#include "system/pci_platform.h"

#include <QApplication>
#include <QComboBox>
#include <QTabWidget>

#include "gui/main_frame.h"
#include "gui/module_setup_dialog.h"
#include "gui/setup_dialogs.h"

namespace qvi {
namespace {

namespace fs = std::filesystem;

// A private copy of the samples, so the run leaves the repository alone.
class BenchSamples {
public:
    BenchSamples() {
        dir_ = fs::temp_directory_path() / ("qvi-gui-bench-" + std::to_string(::getpid()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        fs::copy(SAMPLES_DIR, Dir(), fs::copy_options::recursive);
    }
    ~BenchSamples() { fs::remove_all(dir_); }
    fs::path Dir() const { return dir_ / "config"; }
    std::string Demo() const { return (Dir() / "demo.txt").string(); }

private:
    fs::path dir_;
};

// The program as the desktop starts it: settings, binding, factory, camera
// database, detection, and the main window on the demo configuration.
struct Desktop {
    explicit Desktop(const BenchSamples &samples) {
        settings.SetHooks(&services);
        ok = StartUpSettings(settings,
                             {"-c", samples.Dir().string(), "-i",
                              (samples.Dir() / "qvi.ini").string(), samples.Demo()},
                             LIBRARY_DIR "/qvconfig")
                 .ok;
        if (!ok) return;
        // The library's console would flood the figures.
        if (auto sink = services.Platform()->Binding().Entry<&::qrx_set_console_sink>())
            sink([](const char *, void *) {}, nullptr);
        frame = std::make_unique<CMainFrame>(settings, services, registry, recent);
        frame->RestorePlacement();
        frame->OpenStartConfiguration();
        QApplication::processEvents();
    }
    ~Desktop() {
        frame.reset();
        SetHardwareEnabled(true);
    }

    AppSettings settings;
    PlatformServices services;
    MemoryRegistry registry;
    MemoryRecentFiles recent;
    std::unique_ptr<CMainFrame> frame;
    bool ok = false;
};

void BM_StartUpToMainWindowShown(benchmark::State &state) {
    BenchSamples samples;
    RecordingUi ui;
    ScopedUi install(ui);
    for (auto _ : state) {
        Desktop desktop(samples);
        if (!desktop.ok || !desktop.frame->isVisible()) {
            state.SkipWithError("start-up failed");
            break;
        }
        state.PauseTiming();
        desktop.frame->Document().Save();  // nothing changed: keeps the close quiet
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartUpToMainWindowShown)->Unit(benchmark::kMillisecond);

// The element and group with the most rows in the demo.
struct LargestPage {
    int element = -1;
    int group = -1;
    int rows = 0;
};

LargestPage FindLargestPage(const QV_system &system) {
    LargestPage largest;
    for (int i = 0; i < system.Size() && i < 16; ++i) {
        if (!system.HasSetup(i)) continue;
        const auto &groups = system.GetModule(i)->GetParamGroups();
        for (std::size_t g = 0; g < groups.size(); ++g) {
            const int rows = static_cast<int>(groups[g]->GetUsrParams().size());
            if (rows > largest.rows) largest = {i, static_cast<int>(g), rows};
        }
    }
    return largest;
}

void BM_OpenLargestModuleSetupPage(benchmark::State &state) {
    BenchSamples samples;
    RecordingUi ui;
    ScopedUi install(ui);
    Desktop desktop(samples);
    SystemTree &tree = *desktop.services.Tree(desktop.settings);
    const LargestPage largest = FindLargestPage(tree.System());
    if (!desktop.ok || largest.element < 0) {
        state.SkipWithError("no Module Setup page");
        return;
    }
    for (auto _ : state) {
        CModuleSetupDlg *dialog = desktop.frame->Dialogs().Open(tree.System(), largest.element);
        // The module's own groups follow those of a second module.
        QTabWidget *tabs = dialog->Tabs();
        tabs->setCurrentIndex(
            tabs->count() -
            static_cast<int>(tree.System().GetModule(largest.element)->GetParamGroups().size()) +
            largest.group);
        QApplication::processEvents();
        state.PauseTiming();
        desktop.frame->Dialogs().CloseAll();
        QApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["rows"] = largest.rows;
}
BENCHMARK(BM_OpenLargestModuleSetupPage)->Unit(benchmark::kMillisecond);

// The first row of the page that chooses the camera port.
int PortSelectorRow(const CModuleSetupDlg &dialog) {
    CParamPage *page = dialog.Page(dialog.Tabs()->currentIndex());
    for (int row = 1; row < 20; ++row) {
        QComboBox *box = page->DropDown(row);
        if (box != nullptr && box->isVisible() && box->count() == 4 &&
            box->itemText(0).contains("0"))
            return row;
    }
    return -1;
}

void BM_PortSwitchRefill(benchmark::State &state) {
    BenchSamples samples;
    RecordingUi ui;
    ScopedUi install(ui);
    Desktop desktop(samples);
    SystemTree &tree = *desktop.services.Tree(desktop.settings);
    constexpr int kFourPortModule = 2;  // the demo's TX-10
    CModuleSetupDlg *dialog =
        desktop.ok ? desktop.frame->Dialogs().Open(tree.System(), kFourPortModule) : nullptr;
    const int row = dialog != nullptr ? PortSelectorRow(*dialog) : -1;
    if (row < 0) {
        state.SkipWithError("no port selector");
        return;
    }
    QComboBox *ports = dialog->Page(dialog->Tabs()->currentIndex())->DropDown(row);
    int port = 0;
    for (auto _ : state) {
        port = (port + 1) % 4;
        ports->setCurrentIndex(port);
        QApplication::processEvents();
    }
    desktop.frame->Dialogs().CloseAll();
}
BENCHMARK(BM_PortSwitchRefill)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace qvi

int main(int argc, char **argv) {
    if (std::getenv("DISPLAY") == nullptr && std::getenv("QT_QPA_PLATFORM") == nullptr)
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // The offscreen platform says, for each window, what it cannot do.
    ::setenv("QT_LOGGING_RULES", "qt.qpa.*=false", 0);
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
