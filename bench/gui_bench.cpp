// The desktop's response times on the sample configuration: start-up to the
// main window shown, opening the largest Module Setup page, and the refill
// of every row after a camera-port switch; and the live display of an image
// window against the floor of copying and drawing the same frame. Runs on the
// offscreen platform unless a display is named.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "acquire/image_commands.h"
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
#include <QImage>
#include <QMdiArea>
#include <QPainter>
#include <QTabWidget>

#include "gui/image_view.h"
#include "gui/image_window.h"
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
    // The samples with another rack, opening `name` (written with `text`).
    BenchSamples(const char *rack, const char *name, const char *text) : BenchSamples() {
        std::ofstream(Dir() / "rack.ini", std::ios::trunc) << rack;
        std::ofstream(Dir() / name, std::ios::trunc) << text;
        start_ = name;
    }
    ~BenchSamples() { fs::remove_all(dir_); }
    fs::path Dir() const { return dir_ / "config"; }
    std::string Demo() const { return (Dir() / start_).string(); }

private:
    fs::path dir_;
    std::string start_ = "demo.txt";
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

// ---- the live display ----------------------------------------------------------

// Two uncapped boards: a TX-10 at 640 x 480 x 8 and a TX-70 RGB board at
// 1300 x 1030 x 24.
constexpr const char *kVideoRack =
    "[Board]\nKind = SXP\nSlot0 = TX-10\nFrameRate = 0\n"
    "[Board]\nKind = SXP\nSlot0 = TX-70\nSlot0Type = 8\nFrameRate = 0\n";
constexpr const char *kVideoBoards =
    "[SYSTEM:0]\n[Lumo:0]\n[TX-10:0]\n      Slot_Number = 0\n[CameraPort:0]\n"
    "      Camera_Structure = Create_Structure\n      HOffset = 140\n      HActive = 777\n"
    "      VOffset = 35\n      VActive = 515\n      NonInterlaced\n"
    "[SX-400:1]\n[TX-70:0]\n      Slot_Number = 0\n      RGB_Input_Board\n[CameraPort:0]\n"
    "      Camera_Structure = Create_Structure\n      RGB_VActive = 1030\n";

struct VideoCase {
    int board, width, height;
    QImage::Format format;
};
constexpr VideoCase kVideoCases[] = {{0, 640, 480, QImage::Format_Grayscale8},
                                     {1, 1300, 1030, QImage::Format_RGB32}};

std::string SizeLabel(const VideoCase &c) {
    return std::to_string(c.width) + "x" + std::to_string(c.height) +
           (c.format == QImage::Format_Grayscale8 ? "x8" : "x24");
}

// Counts the paints of the view's viewport.
class PaintCounter : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
    }
};

// An image window of the video rack's board, sized to hold the whole image,
// grabbing (or with one frame snapped).
class LiveWindow {
public:
    LiveWindow(const VideoCase &c, bool grab)
        : samples_(kVideoRack, "video.txt", kVideoBoards), install_(ui_), desktop_(samples_) {
        if (!desktop_.ok) return;
        desktop_.frame->resize(c.width + 200, c.height + 250);
        desktop_.frame->show();
        desktop_.frame->BoardSelector()->setCurrentIndex(c.board);
        emit desktop_.frame->BoardSelector()->activated(c.board);
        window_ = desktop_.frame->ActiveImageWindow(true);
        if (window_ == nullptr) return;
        if (grab)
            window_->Grab();
        else
            window_->Snap();
        window_->FitToImage(QSize(c.width + 100, c.height + 100));
        QApplication::processEvents();
        // The whole image is painted: the view holds it.
        ok_ = window_->Document().width == c.width && window_->Document().height == c.height &&
              View().viewport()->width() >= c.width && View().viewport()->height() >= c.height;
    }
    ~LiveWindow() {
        if (window_ != nullptr) window_->Clear();
    }
    bool Ok() const { return ok_; }
    CFrmView &View() { return *window_->View(); }
    ImageDocument &Document() { return window_->Document(); }

private:
    BenchSamples samples_;
    RecordingUi ui_;
    ScopedUi install_;
    Desktop desktop_;
    CChildFrame *window_ = nullptr;
    bool ok_ = false;
};

void LiveDisplayCounters(benchmark::State &state, const VideoCase &c) {
    state.counters["fps"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.SetLabel(SizeLabel(c));
}

// Frames painted by the live window as the program runs it: the board's
// display server draws a frame every 20 ms, and each one finished asks for
// a repaint (which Qt paces to the screen's refresh). The time is the real time per painted frame,
// the CPU that of the whole process (the library's display thread and the GUI thread).
void BM_LiveDisplay(benchmark::State &state) {
    const VideoCase &c = kVideoCases[state.range(0)];
    LiveWindow live(c, true);
    if (!live.Ok()) {
        state.SkipWithError("no image window of the board's size");
        return;
    }
    PaintCounter counter;
    live.View().viewport()->installEventFilter(&counter);
    for (auto _ : state) {
        const int paints = counter.paints;
        while (counter.paints == paints) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    live.View().viewport()->removeEventFilter(&counter);
    LiveDisplayCounters(state, c);
}
BENCHMARK(BM_LiveDisplay)
    ->Arg(0)
    ->Arg(1)
    ->UseRealTime()
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMicrosecond);

// The same view unpaced: the library draws the board's frame into the
// view's sink and the view paints it at once, frame after frame.
void BM_LiveDisplayUncapped(benchmark::State &state) {
    const VideoCase &c = kVideoCases[state.range(0)];
    LiveWindow live(c, false);
    if (!live.Ok()) {
        state.SkipWithError("no image window of the board's size");
        return;
    }
    const int frames = live.View().Sink().Frames();
    for (auto _ : state) {
        Redisplay(live.Document(), live.View().Window());
        live.View().viewport()->repaint();
    }
    if (live.View().Sink().Frames() - frames < state.iterations())
        state.SkipWithError("the library drew fewer frames than were painted");
    LiveDisplayCounters(state, c);
}
BENCHMARK(BM_LiveDisplayUncapped)
    ->Arg(0)
    ->Arg(1)
    ->UseRealTime()
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMicrosecond);

// The floor of a displayed frame: one memcpy of the frame's bytes plus one
// QPainter::drawImage of it into an image of the backing store's format.
void BM_LiveDisplayFloor(benchmark::State &state) {
    const VideoCase &c = kVideoCases[state.range(0)];
    QImage frame(c.width, c.height, c.format);
    frame.fill(Qt::gray);
    QImage copy(c.width, c.height, c.format);
    QImage store(c.width, c.height, QImage::Format_RGB32);  // the offscreen store
    const auto bytes = static_cast<std::size_t>(frame.sizeInBytes());
    for (auto _ : state) {
        std::memcpy(copy.bits(), frame.constBits(), bytes);
        QPainter painter(&store);
        painter.drawImage(0, 0, copy);
        painter.end();
        benchmark::DoNotOptimize(store.constBits());
        benchmark::ClobberMemory();
    }
    LiveDisplayCounters(state, c);
}
BENCHMARK(BM_LiveDisplayFloor)
    ->Arg(0)
    ->Arg(1)
    ->UseRealTime()
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMicrosecond);

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
