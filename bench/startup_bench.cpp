// Start-up (settings, library binding, factory with every default module, a
// 200-camera database) and loading and writing the largest sample.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "app/app_settings.h"
#include "app/platform_services.h"
#include "app/startup.h"
#include "app/system_tree.h"
#include "library/hardware.h"
#include "support/recording_ui.h"
#include "system/pci_platform.h"

namespace qvi {
namespace {

namespace fs = std::filesystem;

// A copy of the sample configuration whose camera database holds 200 cameras,
// and settings naming the built libraries.
class BenchConfig {
public:
    BenchConfig() {
        dir_ = fs::temp_directory_path() / ("qvi-startup-bench-" + std::to_string(::getpid()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        fs::copy(SAMPLES_DIR, dir_ / "config", fs::copy_options::recursive);
        WriteDatabase(200);
        std::ifstream in(fs::path(SAMPLES_DIR) / "qvi.ini");
        std::string settings(std::istreambuf_iterator<char>(in), {});
        for (const char *name : {"libquar-core.so", "libquar-rx.so", "libquar-px.so"}) {
            std::size_t at = settings.find(name);
            settings.replace(at, std::string(name).size(), (fs::path(LIBRARY_DIR) / name).string());
        }
        std::ofstream(Ini()) << settings;
    }
    ~BenchConfig() { fs::remove_all(dir_); }

    fs::path Dir() const { return dir_ / "config"; }
    fs::path Ini() const { return dir_ / "bench.ini"; }

private:
    void WriteDatabase(int cameras) {
        std::ofstream out(Dir() / "dbase" / "cameras.db");
        out << "[CameraDataBase]\nNumberOfCameras = " << cameras << "\n";
        for (int i = 0; i < cameras; ++i)
            out << "\n[Cam" << i << "]\nName = Camera " << i
                << "\nConfigFile = cameras/rs170.cnf\nValidTXMod = SXA\nValidTXPorts = 0\n"
                   "CablePartNumber = CBL\nComments = bench\n";
    }
    fs::path dir_;
};

void BM_StartUp(benchmark::State &state) {
    BenchConfig config;
    RecordingUi ui;
    ScopedUi install(ui);
    for (auto _ : state) {
        AppSettings settings;
        PlatformServices services;
        settings.SetHooks(&services);
        auto result =
            StartUpSettings(settings, {"-c", config.Dir().string(), "-i", config.Ini().string()},
                            LIBRARY_DIR "/qvcfg");
        if (!result.ok) state.SkipWithError("start-up failed");
    }
    SetHardwareEnabled(true);
}
BENCHMARK(BM_StartUp)->Unit(benchmark::kMillisecond);

void BM_LoadAndWriteDemo(benchmark::State &state) {
    BenchConfig config;
    RecordingUi ui;
    ScopedUi install(ui);
    AppSettings settings;
    PlatformServices services;
    settings.SetHooks(&services);
    StartUpSettings(settings, {"-c", config.Dir().string(), "-i", config.Ini().string()},
                    LIBRARY_DIR "/qvcfg");
    SystemTree *tree = services.Tree(settings);
    // The library's console would flood the figures.
    if (auto sink = services.Platform()->Binding().Entry<&::qrx_set_console_sink>())
        sink([](const char *, void *) {}, nullptr);
    const std::string demo = (config.Dir() / "demo.txt").string();
    const std::string out = (config.Dir() / "written.txt").string();
    for (auto _ : state) {
        if (tree->LoadFile(demo) != 0 || tree->WriteTextFile(out) != 0) {
            std::string why = "load or write failed";
            for (const std::string &error : ui.Errors()) why += "; " + error;
            state.SkipWithError(why.c_str());
            break;
        }
    }
    SetHardwareEnabled(true);
}
BENCHMARK(BM_LoadAndWriteDemo)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace qvi
