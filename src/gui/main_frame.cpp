// The logic's headers come before Qt's: a table field named "slots" meets
// Qt's keyword macro otherwise.
#include "app/app_settings.h"
#include "app/platform_services.h"
#include "app/recent_files.h"
#include "app/system_tree.h"
#include "app/window_placement.h"
#include "library/hardware.h"
#include "platform/app_registry.h"
#include "platform/ui.h"
#include "system/config_state.h"
#include "system/pci_platform.h"

#include "gui/main_frame.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QMdiArea>
#include <QMimeData>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>

#include "gui/console_pane.h"
#include "gui/help_window.h"
#include "gui/screen_fit.h"
#include "gui/setup_dialogs.h"
#include "gui/wheel_focus.h"

namespace qvi {

namespace {

constexpr const char *kToolBarSection = "Tool bar";
constexpr int kSelectorWidth = 200;
constexpr int kSelectorGap = 12;
constexpr int kSelectorListHeight = 205;
constexpr int kSelectorFontPixels = 12;
// Like the framework's idle update: the commands' state follows the
// selection and the changed flag without every window reporting each change.
constexpr int kCommandUpdateMs = 200;

QRect ToQt(const WindowRect &rect) {
    return QRect(QPoint(rect.left, rect.top), QPoint(rect.right - 1, rect.bottom - 1));
}

WindowRect FromQt(const QRect &rect) {
    return {rect.left(), rect.top(), rect.right() + 1, rect.bottom() + 1};
}

}  // namespace

CMainFrame::CMainFrame(AppSettings &settings, PlatformServices &services, AppRegistry &registry,
                       RecentFiles &recent)
    : settings_(settings), services_(services), registry_(registry), recent_(recent) {
    setObjectName("mainFrame");
    setWindowTitle("Configurator");
    setAcceptDrops(true);
    tree_ = services_.Tree(settings_);
    if (tree_ != nullptr) {
        document_ = std::make_unique<ConfigDocument>(settings_, *tree_,
                                                     services_.ProcessRunner(), recent_);
    }
    mdi_ = new QMdiArea(this);
    setCentralWidget(mdi_);
    console_ = new CConsolePane(this);
    addDockWidget(Qt::BottomDockWidgetArea, console_);
    if (services_.Platform() != nullptr) console_->Attach(services_.Platform()->Binding());
    setupDialogs_ = new SetupDialogs(this);
    setupDialogs_->SetHelp([this](int topic) { ShowHelp(topic); });
    setupDialogs_->SetShowConsole([this] { console_->BringToFront(); });
    connect(setupDialogs_, &SetupDialogs::dialogsChanged, this, &CMainFrame::UpdateCommands);
    ConnectDocument();
    CreateMenus();
    CreateToolBar();
    statusBar()->showMessage("Ready");
    auto *idle = new QTimer(this);
    connect(idle, &QTimer::timeout, this, &CMainFrame::UpdateCommands);
    idle->start(kCommandUpdateMs);
    UpdateCommands();
}

// The image windows end their boards' work while the frame is still whole;
// what the MDI area and the windows signal while the base class tears them
// down no longer reaches this object.
CMainFrame::~CMainFrame() {
    StorePlacement();
    CloseImageWindows();
    ForgetChildSignals();
}

QAction *CMainFrame::AddAction(QMenu *menu, Command command, const QString &text,
                               const QString &tip, void (CMainFrame::*slot)()) {
    auto *action = new QAction(text, this);
    action->setStatusTip(tip);
    action->setData(static_cast<int>(command));
    if (slot != nullptr) connect(action, &QAction::triggered, this, slot);
    if (menu != nullptr) menu->addAction(action);
    actions_[command] = action;
    return action;
}

QAction *CMainFrame::Action(Command command) const {
    auto found = actions_.find(command);
    return found == actions_.end() ? nullptr : found->second;
}

void CMainFrame::CreateMenus() {
    fileMenu_ = menuBar()->addMenu("&File");
    AddAction(fileMenu_, Command::New, "&New", "Create new config file", &CMainFrame::OnNew)
        ->setShortcut(QKeySequence::New);
    AddAction(fileMenu_, Command::Open, "&Open...", "Open an existing  config file",
              &CMainFrame::OnOpen)
        ->setShortcut(QKeySequence::Open);
    AddAction(fileMenu_, Command::Save, "&Save", "Save configuration to  file", &CMainFrame::OnSave)
        ->setShortcut(QKeySequence::Save);
    AddAction(fileMenu_, Command::SaveAs, "Save &As...", "Save as a new document",
              &CMainFrame::OnSaveAs)
        ->setShortcut(Qt::CTRL | Qt::SHIFT | Qt::Key_S);
    AddAction(fileMenu_, Command::ViewConfigFile, "&View Config File...",
              "View Config file using the desktop's text viewer", &CMainFrame::OnViewConfigFile);
    fileMenu_->addSeparator();
    AddAction(fileMenu_, Command::HardwareDisabled, "&Hardware Disabled",
              "Run configurator in No-Hardware mode", &CMainFrame::OnHardwareDisabled);
    fileMenu_->addSeparator();
    recentMenu_ = fileMenu_->addMenu("Recent &Files");
    fileMenu_->addSeparator();
    AddAction(fileMenu_, Command::Exit, "E&xit", "Exit the Configurator", &CMainFrame::OnExit)
        ->setShortcut(Qt::CTRL | Qt::Key_Q);
    connect(fileMenu_, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommands);
    RebuildRecentMenu();

    QMenu *view = menuBar()->addMenu("&View");
    AddAction(view, Command::SystemDialog, "&System Dialog...",
              "Show or hide the system window", &CMainFrame::OnSystemDialog)
        ->setCheckable(true);
    QAction *console = console_->toggleViewAction();
    console->setStatusTip("Show or hide the library's console");
    view->addAction(console);
    connect(view, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommands);

    QMenu *setup = menuBar()->addMenu("&Setup");
    AddAction(setup, Command::Edit, "&Edit ...",
              "Edit the selected module in its Module Setup dialog", &CMainFrame::OnEdit);
    AddAction(setup, Command::CameraDatabase, "&Camera Database...",
              "Edit the database of known cameras", &CMainFrame::OnCameraDatabase);
    connect(setup, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommands);

    CreateImageMenu();

    QMenu *help = menuBar()->addMenu("&Help");
    AddAction(help, Command::HelpTopics, "&Help Topics", "List Help topics",
              &CMainFrame::OnHelpTopics)
        ->setShortcut(QKeySequence::HelpContents);
    AddAction(help, Command::About, "&About Camera Configurator...",
              "Display program information, version number and copyright", &CMainFrame::OnAbout);
    help->addSeparator();
    AddAction(help, Command::SelfTest, "Acquisition &Self-Test...",
              "Snap, grab, trigger and loop back the digital I/O of every acquiring board",
              &CMainFrame::OnSelfTest);
    connect(help, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommands);
}

void CMainFrame::CreateToolBar() {
    QToolBar *bar = addToolBar("Standard");
    bar->setObjectName("standardToolBar");
    const std::pair<Command, QStyle::StandardPixmap> icons[] = {
        {Command::New, QStyle::SP_FileIcon},
        {Command::Open, QStyle::SP_DialogOpenButton},
        {Command::Save, QStyle::SP_DialogSaveButton},
        {Command::SystemDialog, QStyle::SP_FileDialogListView},
        {Command::Edit, QStyle::SP_FileDialogDetailedView},
        {Command::CameraDatabase, QStyle::SP_DirIcon},
        {Command::About, QStyle::SP_MessageBoxInformation},
    };
    for (const auto &[command, pixmap] : icons) Action(command)->setIcon(style()->standardIcon(pixmap));
    bar->addAction(Action(Command::New));
    bar->addAction(Action(Command::Open));
    bar->addAction(Action(Command::Save));
    bar->addSeparator();
    bar->addAction(Action(Command::SystemDialog));
    bar->addAction(Action(Command::Edit));
    bar->addAction(Action(Command::CameraDatabase));
    bar->addAction(Action(Command::About));
    auto *gap = new QWidget(bar);
    gap->setFixedWidth(kSelectorGap);
    bar->addWidget(gap);
    boardSelector_ = new QComboBox(bar);
    boardSelector_->setObjectName("boardSelector");
    TakeWheelOnlyWhenFocused(*boardSelector_);  // a stray wheel would switch boards
    boardSelector_->setFixedWidth(kSelectorWidth);
    boardSelector_->setMaxVisibleItems(kSelectorListHeight / boardSelector_->sizeHint().height());
    QFont font("Sans Serif");
    font.setPixelSize(kSelectorFontPixels);
    font.setBold(true);
    boardSelector_->setFont(font);
    boardSelector_->setEnabled(HardwareEnabled());
    bar->addWidget(boardSelector_);
    connect(boardSelector_, &QComboBox::activated, this, &CMainFrame::OnBoardSelected);
}

void CMainFrame::RebuildRecentMenu() {
    recentMenu_->clear();
    int number = 1;
    for (const std::string &name : recent_.List()) {
        QAction *entry = recentMenu_->addAction(
            QString("&%1 %2").arg(number++).arg(QString::fromStdString(name)));
        entry->setStatusTip("Open this document");
        connect(entry, &QAction::triggered, this, [this, name] { OpenPath(name); });
    }
    recentMenu_->setEnabled(!recentMenu_->isEmpty());
}

void CMainFrame::UpdateCommands() {
    const bool haveDocument = document_ != nullptr;
    Action(Command::Save)->setEnabled(haveDocument && document_->CanSave());
    Action(Command::ViewConfigFile)->setEnabled(haveDocument && document_->CanViewConfigFile());
    Action(Command::HardwareDisabled)->setEnabled(haveDocument && document_->CanDisableHardware());
    for (Command always : {Command::New, Command::Open, Command::SaveAs})
        Action(always)->setEnabled(haveDocument);
    boardSelector_->setEnabled(HardwareEnabled());
    setWindowModified(ConfigModified());  // the caption's "[*]"
    QWidget *window = CurrentSystemWindow();
    QAction *systemDialog = Action(Command::SystemDialog);
    systemDialog->setEnabled(haveDocument);
    systemDialog->setChecked(window != nullptr && window->isVisible());
    const int element = SelectedElement();
    Action(Command::Edit)->setEnabled(tree_ != nullptr && element >= 0 &&
                                      tree_->System().HasSetup(element) &&
                                      !setupDialogs_->IsOpen(element));
    Action(Command::CameraDatabase)->setEnabled(services_.CameraDatabase() != nullptr);
    Action(Command::SelfTest)->setEnabled(tree_ != nullptr && HardwareEnabled());
    UpdateImageCommands();
}

// "[*]" shows as the modified mark while the configuration has unsaved changes.
void CMainFrame::ShowCaption() {
    if (document_) setWindowTitle(QString::fromStdString(document_->Caption()) + "[*]");
}

void CMainFrame::AfterFileCommand() {
    ShowCaption();
    RebuildRecentMenu();
    UpdateCommands();
}

void CMainFrame::OnNew() {
    document_->New();
    AfterFileCommand();
}

void CMainFrame::OnOpen() {
    document_->OpenWithDialog();
    AfterFileCommand();
}

void CMainFrame::OnSave() {
    document_->Save();
    AfterFileCommand();
}

void CMainFrame::OnSaveAs() {
    document_->SaveAsWithDialog();
    AfterFileCommand();
}

void CMainFrame::OnViewConfigFile() {
    document_->ViewConfigFile();
}

void CMainFrame::OnHardwareDisabled() {
    document_->DisableHardware();
    AfterFileCommand();
}

void CMainFrame::OnExit() {
    close();
}

void CMainFrame::OpenPath(const std::string &path) {
    document_->Open(path);
    AfterFileCommand();
}

void CMainFrame::OpenStartConfiguration() {
    if (!document_) return;
    document_->OpenStart(settings_.currentConfigFile);
    AfterFileCommand();
}

void CMainFrame::RestorePlacement() {
    const QRect screen = QApplication::primaryScreen()->availableGeometry();
    WindowRect firstRun = FirstRunRect(screen.width(), screen.height());
    firstRun.left += screen.left();
    firstRun.right += screen.left();
    firstRun.top += screen.top();
    firstRun.bottom += screen.top();
    const WindowPlacement placement = qvi::RestorePlacement(registry_, firstRun);
    // A placement stored on a larger screen, or at another scale factor,
    // would open the window past the screen's edges.
    setGeometry(FitToScreen(ToQt(placement.normal.IsEmpty() ? firstRun : placement.normal)));
    const QByteArray state = QByteArray::fromBase64(
        QByteArray::fromStdString(registry_.GetString(kToolBarSection, "State", "")));
    if (!state.isEmpty()) restoreState(state);
    switch (placement.show) {
    case ShowCommand::Maximized:
        showMaximized();
        break;
    case ShowCommand::MinimizedNoActivate:
        setAttribute(Qt::WA_ShowWithoutActivating);
        if (placement.flags == kPlacementRestoreToMaximized)
            setWindowState(Qt::WindowMinimized | Qt::WindowMaximized);
        else
            setWindowState(Qt::WindowMinimized);
        show();
        break;
    case ShowCommand::Normal:
        show();
        KeepOnScreen(*this);  // now with the frame the window system added
        break;
    }
}

void CMainFrame::StorePlacement() {
    if (placementStored_) return;
    placementStored_ = true;
    const Qt::WindowStates state = windowState();
    const WindowState closing = state.testFlag(Qt::WindowMinimized)   ? WindowState::Minimized
                                : state.testFlag(Qt::WindowMaximized) ? WindowState::Maximized
                                                                      : WindowState::Normal;
    qvi::StorePlacement(registry_, closing, state.testFlag(Qt::WindowMaximized),
                        FromQt(normalGeometry()));
    registry_.WriteString(kToolBarSection, "State", saveState().toBase64().toStdString());
}

void CMainFrame::closeEvent(QCloseEvent *event) {
    if (document_ && !document_->AskToSave(true)) {
        event->ignore();
        return;
    }
    StorePlacement();
    // Live grabs and trigger waits end while the boards are still there.
    CloseImageWindows();
    setupDialogs_->CloseAll();
    if (help_) help_->close();
    event->accept();
}

namespace {

// The local configuration file a drop carries, if it carries exactly one.
QString DroppedConfigFile(const QMimeData *data) {
    if (data == nullptr || !data->hasUrls() || data->urls().size() != 1) return {};
    const QUrl url = data->urls().front();
    if (!url.isLocalFile()) return {};
    const QString path = url.toLocalFile();
    const bool configuration = path.endsWith(".txt", Qt::CaseInsensitive) ||
                               path.endsWith(".cnf", Qt::CaseInsensitive);
    return configuration ? path : QString();
}

}  // namespace

void CMainFrame::dragEnterEvent(QDragEnterEvent *event) {
    if (document_ && !DroppedConfigFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent *event) {
    const QString path = DroppedConfigFile(event->mimeData());
    if (!document_ || path.isEmpty()) return;
    event->acceptProposedAction();
    OpenPath(path.toStdString());
}

}  // namespace qvi
