// The main frame's image windows: one per acquisition board (or SXA channel),
// the Image menu's commands for the active board, and the frame-rate pane.
// The board's header comes before Qt's, whose "slots" would rename its members.
#include "system/board_plat_mod.h"

#include <QAction>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>

#include "acquire/image_commands.h"
#include "acquire/tiff_paths.h"
#include "app/app_settings.h"
#include "app/board_registers.h"
#include "app/image_target.h"
#include "app/system_tree.h"
#include "gui/image_window.h"
#include "gui/main_frame.h"
#include "gui/register_viewer.h"
#include "gui/self_test_dialog.h"
#include "gui/system_window_hw.h"
#include "library/hardware.h"
#include "platform/ui.h"
#include "system/sys_element.h"

namespace qvi {

void CMainFrame::CreateImageMenu() {
    QMenu *image = menuBar()->addMenu("&Image");
    AddAction(image, Command::Grab, "&Grab", "Show live video of the active board",
              &CMainFrame::OnGrab);
    AddAction(image, Command::Snap, "&Snap", "Acquire one frame on the active board",
              &CMainFrame::OnSnap);
    AddAction(image, Command::Clear, "&Clear", "Clear the active board's frame",
              &CMainFrame::OnClear);
    AddAction(image, Command::TriggeredSnap, "&Triggered Snap ...", "Acquire a frame on a trigger",
              &CMainFrame::OnTriggeredSnap);
    image->addSeparator();
    AddAction(image, Command::LoadTiff, "&Load TIFF file...",
              "Show a TIFF file in the active board's window", &CMainFrame::OnLoadTiff);
    AddAction(image, Command::SaveTiff, "Sa&ve TIFF file...",
              "Save the active window's image as a TIFF file", &CMainFrame::OnSaveTiff);
    image->addSeparator();
    AddAction(image, Command::StretchToFit, "Stretch To &Fit Enable", "Fit the image to its window",
              &CMainFrame::OnStretchToFit)
        ->setCheckable(true);
    AddAction(image, Command::DirectDraw, "&DirectDraw Mode Enable", "Display through DirectDraw",
              &CMainFrame::OnDirectDraw)
        ->setCheckable(true);
    image->addSeparator();
    AddAction(image, Command::RegisterViewer, "&Register Viewer...",
              "Show the registers of the active window's board", &CMainFrame::OnRegisterViewer);
    AddAction(image, Command::ImageTools, "Image T&ools...",
              "Histogram, line profile and pixel values of the active window's image",
              &CMainFrame::OnImageTools);
    connect(image, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommands);

    frameRate_ = new QLabel(this);
    frameRate_->setObjectName("frameRate");
    statusBar()->addPermanentWidget(frameRate_);
    connect(mdi_, &QMdiArea::subWindowActivated, this, &CMainFrame::OnImageWindowActivated);
}

QString CMainFrame::FrameRateText() const {
    return frameRate_->text();
}

CChildFrame *CMainFrame::ActiveImageWindow(bool create) {
    if (tree_ == nullptr || !HardwareEnabled() || !systemWindowHw_) return nullptr;
    const int board = systemWindowHw_->ActiveBoard();
    const std::vector<int> &elements = tree_->BoardElements();
    if (board < 0 || board >= static_cast<int>(elements.size())) return nullptr;
    const int element = elements[static_cast<std::size_t>(board)];
    auto found = imageWindows_.find(element);
    if (found != imageWindows_.end() && found->second) return found->second;
    return create ? OpenImageWindow(element) : nullptr;
}

CChildFrame *CMainFrame::OpenImageWindow(int element) {
    std::optional<ImageTarget> target = ImageTargetOf(tree_->System(), element);
    if (!target) return nullptr;
    auto document =
        OpenImageDocument(*target->board, target->element, target->channel, target->title);
    auto *window = new CChildFrame(std::move(document), element, *target);
    mdi_->addSubWindow(window);
    imageWindows_[element] = window;
    connect(window, &CChildFrame::editRequested, this, &CMainFrame::OpenSetupDialog);
    connect(window, &CChildFrame::helpRequested, this, &CMainFrame::ShowHelp);
    connect(window, &CChildFrame::registerViewerRequested, this,
            [this, window] { OpenRegisterViewer(window); });
    connect(window, &CChildFrame::statusText, this,
            [this](const QString &text) { statusBar()->showMessage(text); });
    connect(window, &CChildFrame::frameRateChanged, this, [this, window](const QString &text) {
        if (mdi_->activeSubWindow() == window) frameRate_->setText(text);
    });
    window->show();
    window->FitToImage(mdi_->viewport()->size());
    return window;
}

CChildFrame *CMainFrame::CurrentImageWindow() const {
    return qobject_cast<CChildFrame *>(mdi_->activeSubWindow());
}

// The windows go before the model they show: each ends its board's work as
// it closes. The register viewer reads the same boards.
void CMainFrame::CloseImageWindows() {
    if (registerViewer_) delete registerViewer_;
    for (auto &[element, window] : imageWindows_)
        if (window) window->close();
    imageWindows_.clear();
    frameRate_->clear();
}

void CMainFrame::ForgetChildSignals() {
    disconnect(mdi_, nullptr, this, nullptr);
    for (QMdiSubWindow *window : mdi_->subWindowList()) window->disconnect(this);
}

void CMainFrame::OnGrab() {
    if (CChildFrame *window = ActiveImageWindow(true)) window->Grab();
}

void CMainFrame::OnSnap() {
    if (CChildFrame *window = ActiveImageWindow(true)) window->Snap();
}

void CMainFrame::OnClear() {
    if (CChildFrame *window = ActiveImageWindow(true)) window->Clear();
}

void CMainFrame::OnTriggeredSnap() {
    if (CChildFrame *window = ActiveImageWindow(true)) window->OpenTriggerDialog();
}

void CMainFrame::OnLoadTiff() {
    std::optional<std::string> path = ChooseTiffToLoad();
    if (!path) return;
    if (CChildFrame *window = ActiveImageWindow(true))
        window->LoadTiff(QString::fromStdString(*path));
}

void CMainFrame::OnSaveTiff() {
    if (CChildFrame *window = CurrentImageWindow())
        window->Action(ImageCommand::SaveTiff)->trigger();
}

void CMainFrame::OnStretchToFit() {
    if (CChildFrame *window = CurrentImageWindow())
        window->Action(ImageCommand::StretchToFit)->trigger();
}

void CMainFrame::OnDirectDraw() {
    if (CChildFrame *window = CurrentImageWindow())
        window->Action(ImageCommand::DirectDraw)->trigger();
}

void CMainFrame::OnRegisterViewer() {
    if (CChildFrame *window = CurrentImageWindow())
        window->Action(ImageCommand::RegisterViewer)->trigger();
}

void CMainFrame::OnImageTools() {
    if (CChildFrame *window = CurrentImageWindow())
        window->Action(ImageCommand::ImageTools)->trigger();
}

// The test works every board through image windows of its own: the open ones
// are closed first, when the user agrees.
void CMainFrame::OnSelfTest() {
    if (tree_ == nullptr || !HardwareEnabled()) return;
    bool windowsOpen = registerViewer_ != nullptr;
    for (const auto &[element, window] : imageWindows_) windowsOpen = windowsOpen || window;
    if (windowsOpen &&
        CurrentUi().Ask("The self-test works every board: the image windows will be closed.",
                        MessageButtons::OkCancel, MessageKind::Information,
                        "Acquisition Self-Test") != MessageAnswer::Ok)
        return;
    CloseImageWindows();
    const std::string configuration = settings_.currentConfigFile;
    CSelfTestDialog dialog(
        tree_->System(), configuration,
        [configuration](const std::string &text) {
            return SaveSelfTestReport(configuration, text).message;
        },
        this);
    dialog.setObjectName("selfTestDialog");
    dialog.exec();
}

CRegisterViewer *CMainFrame::RegisterViewer() const {
    return registerViewer_;
}

// The viewer is started only when none is open; a second command brings the
// open one forward.
void CMainFrame::OpenRegisterViewer(CChildFrame *window) {
    if (registerViewer_) {
        registerViewer_->raise();
        registerViewer_->activateWindow();
        return;
    }
    const QV_board_plat_mod *board = window->Document().board;
    if (tree_ == nullptr || board == nullptr) return;
    const QV_system &system = tree_->System();
    registerViewer_ = new CRegisterViewer(
        "Register Viewer - " + window->windowTitle(),
        [&system, board] { return ReadBoardRegisters(system, *board); }, this);
    registerViewer_->show();
}

void CMainFrame::OnImageWindowActivated() {
    CChildFrame *window = CurrentImageWindow();
    frameRate_->setText(window ? window->FrameRateText() : QString());
}

void CMainFrame::UpdateImageCommands() {
    const bool enabled = MainFrameAcquisitionEnabled(tree_ != nullptr && tree_->BoardCount() > 0,
                                                     tree_ != nullptr && tree_->ActiveBoard() >= 0,
                                                     HardwareEnabled());
    for (Command command :
         {Command::Grab, Command::Snap, Command::Clear, Command::TriggeredSnap, Command::LoadTiff})
        Action(command)->setEnabled(enabled);
    CChildFrame *window = CurrentImageWindow();
    if (window != nullptr) window->UpdateCommands();
    const std::pair<Command, ImageCommand> forwarded[] = {
        {Command::SaveTiff, ImageCommand::SaveTiff},
        {Command::StretchToFit, ImageCommand::StretchToFit},
        {Command::DirectDraw, ImageCommand::DirectDraw},
        {Command::RegisterViewer, ImageCommand::RegisterViewer},
        {Command::ImageTools, ImageCommand::ImageTools}};
    for (const auto &[command, imageCommand] : forwarded) {
        QAction *own = window ? window->Action(imageCommand) : nullptr;
        Action(command)->setEnabled(own != nullptr && own->isEnabled());
        Action(command)->setChecked(own != nullptr && own->isChecked());
    }
}

}  // namespace qvi
