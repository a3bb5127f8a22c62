// qvshots: takes the README's pictures of the desktop program. It starts the
// way qvconfig starts, on the sample configuration with its simulated rack,
// opens the windows a user would open (the system window, the Module Setup
// dialog of an SXA camera channel, the value entry dialog of its "Horizontal
// Total" row, a live image window with its frame rate, the Triggered
// Acquisition and Digital I/O Test dialogs, the Image Tools, the finished
// acquisition self-test) and grabs the screen after each step. Run it under a virtual X
// server: scripts/screenshots.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app/platform_services.h"
#include "app/recent_files.h"
#include "app/startup.h"
#include "app/system_tree.h"
#include "platform/app_registry.h"
#include "platform/posix/dl_library_loader.h"
#include "platform/program_files.h"
#include "support/recording_ui.h"
#include "system/pci_platform.h"

#include <QApplication>
#include <QLabel>
#include <QPixmap>
#include <QScreen>
#include <QTabWidget>
#include <QThread>
#include <QTimer>

#include "gui/dio_dialog.h"
#include "gui/image_tools_window.h"
#include "gui/image_window.h"
#include "gui/main_frame.h"
#include "gui/module_setup_dialog.h"
#include "gui/self_test_dialog.h"
#include "gui/setup_dialogs.h"
#include "gui/system_window_hw.h"
#include "gui/trigger_dialog.h"
#include "gui/value_entry_dialog.h"
#include "quar/version_stamp.h"

QUAR_VERSION_STAMP(QVI_VERSION);

namespace {

constexpr int kSxaChannel = 4;  // the demo's first SXA camera channel
constexpr const char *kHorizontalTotal = "Horizontal Total";
constexpr const char *kTimingPage = "Timing Control";
constexpr int kSetupHeight = 640;

void Settle() {
    for (int i = 0; i < 20; ++i) {
        QApplication::processEvents();
        QThread::msleep(10);
    }
}

bool Grab(const std::filesystem::path &file, const QRect &area) {
    Settle();
    QPixmap shot = QApplication::primaryScreen()->grabWindow(0, area.x(), area.y(), area.width(),
                                                              area.height());
    const bool saved = shot.save(QString::fromStdString(file.string()), "PNG");
    std::printf("%s %s\n", saved ? "wrote" : "could not write", file.c_str());
    return saved;
}

QRect Around(std::initializer_list<const QWidget *> windows) {
    QRect area;
    for (const QWidget *window : windows) area = area.united(window->frameGeometry());
    return area.adjusted(-8, -8, 8, 8).intersected(QApplication::primaryScreen()->geometry());
}

// The row of the first page that shows the label.
int RowLabelled(const qvi::CParamPage &page, const QString &label) {
    for (int row = 1; row < 20; ++row) {
        if (page.Label(row) != nullptr && page.Label(row)->isVisible() &&
            page.Label(row)->text() == label)
            return row;
    }
    return -1;
}

// The active board's image window grabbing live, once the status bar shows
// the frame rate of a whole second; then its two dialogs, one at a time,
// and its Image Tools during a grab.
bool ShootImageWindow(qvi::CMainFrame &frame, const std::filesystem::path &out) {
    qvi::CChildFrame *window = frame.ActiveImageWindow(true);
    if (window == nullptr) return false;
    window->Grab();
    for (int i = 0; i < 20 && frame.FrameRateText().isEmpty(); ++i) Settle();
    // The first figure counts part of a second only; the next is a whole one.
    for (int i = 0; i < 6; ++i) Settle();
    bool ok = Grab(out / "image-window.png", Around({&frame}));
    window->OpenTriggerDialog();
    qvi::CTriggerDlg *trigger = window->TriggerDialog();
    if (trigger == nullptr) return false;
    trigger->move(frame.geometry().center() - trigger->rect().center());
    ok = Grab(out / "trigger-dialog.png", Around({trigger})) && ok;
    trigger->close();
    window->OpenDioDialog();
    qvi::CDioTestDlg *dio = window->DioDialog();
    if (dio == nullptr) return false;
    dio->move(frame.geometry().center() - dio->rect().center());
    ok = Grab(out / "dio-dialog.png", Around({dio})) && ok;
    dio->close();
    window->Grab();
    window->OpenImageTools();
    qvi::ImageToolsWindow *tools = window->ImageTools();
    if (tools == nullptr) return false;
    tools->SetLine(QPoint(0, 100), QPoint(window->Document().width - 1, 300));
    tools->move(frame.geometry().topRight() - QPoint(tools->frameGeometry().width() + 20, -60));
    for (int i = 0; i < 3; ++i) Settle();
    ok = Grab(out / "image-tools.png", Around({tools})) && ok;
    tools->close();
    return ok;
}

// Help > Acquisition Self-Test... once the user has agreed to close the
// image windows, when the report is in.
bool ShootSelfTest(qvi::CMainFrame &frame, qvi::RecordingUi &ui, const std::filesystem::path &out) {
    bool ok = false;
    QTimer::singleShot(0, &frame, [&] {
        auto *dialog = frame.findChild<qvi::CSelfTestDialog *>("selfTestDialog");
        if (dialog == nullptr) return;
        dialog->move(frame.geometry().center() - dialog->rect().center());
        while (!dialog->Finished()) Settle();
        ok = Grab(out / "self-test.png", Around({dialog}));
        dialog->accept();
    });
    ui.answers.push_back(qvi::MessageAnswer::Ok);
    frame.UpdateCommands();
    frame.Action(qvi::Command::SelfTest)->trigger();
    return ok;
}

}  // namespace

int main(int argc, char **argv) {
    QApplication application(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: qvshots CONFIG_DIR OUT_DIR\n");
        return 2;
    }
    const std::filesystem::path config = argv[1], out = argv[2];
    std::filesystem::create_directories(out);

    using namespace qvi;
    // Messages would block the run; they are printed instead.
    RecordingUi ui;
    ScopedUi install(ui);
    AppSettings &settings = GlobalAppSettings();
    PlatformServices services;
    settings.SetHooks(&services);
    if (!StartUpSettings(settings, {"-c", config.string(), "-i", (config / "qvi.ini").string(),
                          (config / "demo.txt").string()},
                         RunningProgramPath())
             .ok) {
        for (const std::string &text : ui.Texts()) std::fprintf(stderr, "%s\n", text.c_str());
        return 1;
    }
    MemoryRegistry registry;
    registry.WriteString("Window size", "Rect", "0020 0020 1060 0760");
    MemoryRecentFiles recent;
    CMainFrame frame(settings, services, registry, recent);
    frame.RestorePlacement();
    frame.OpenStartConfiguration();
    CSystemWindowHw *system = frame.SystemWindowHw();
    if (system == nullptr) return 1;
    // The user has shown the system window (it starts hidden on a named file).
    system->show();
    system->move(60, 130);
    system->resize(360, 520);
    bool ok = Grab(out / "main-window.png", Around({&frame}));

    CModuleSetupDlg *setup =
        frame.Dialogs().Open(services.Tree(settings)->System(), kSxaChannel);
    if (setup == nullptr) return 1;
    // The user has made the dialog taller and turned to the timing page.
    for (int tab = 0; tab < setup->Tabs()->count(); ++tab)
        if (setup->Tabs()->tabText(tab) == kTimingPage) setup->Tabs()->setCurrentIndex(tab);
    setup->resize(setup->width(), kSetupHeight);
    ok = Grab(out / "module-setup.png", Around({setup})) && ok;

    CParamPage *page = setup->Page(setup->Tabs()->currentIndex());
    const int row = RowLabelled(*page, kHorizontalTotal);
    if (row < 0) {
        std::fprintf(stderr, "no row labelled %s\n", kHorizontalTotal);
        return 1;
    }
    setup->SetValueEntryRunner([&](CValueEntryDlg &entry) {
        entry.show();
        ok = Grab(out / "value-entry.png", Around({setup, &entry})) && ok;
        entry.reject();
        return static_cast<int>(QDialog::Rejected);
    });
    emit page->numberFieldActivated(row, false);
    frame.Dialogs().CloseAll();
    system->hide();
    ok = ShootImageWindow(frame, out) && ok;
    ok = ShootSelfTest(frame, ui, out) && ok;
    for (const std::string &text : ui.Texts()) std::fprintf(stderr, "message: %s\n", text.c_str());
    return ok ? 0 : 1;
}
