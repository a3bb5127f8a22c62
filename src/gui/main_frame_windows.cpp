// The main frame's windows: the system window of the current hardware mode
// with the board selector, the Module Setup dialogs, the Camera Database
// dialog, help and the About box.
#include "app/about_info.h"
#include "app/app_settings.h"
#include "app/platform_services.h"
#include "app/system_tree.h"
#include "camdb/camera_db.h"
#include "camdb/camera_db_editor.h"
#include "library/hardware.h"
#include "platform/ui.h"
#include "system/pci_platform.h"

#include "gui/main_frame.h"

#include <QAction>
#include <QComboBox>

#include "gui/about_dialog.h"
#include "gui/camera_db_dialog.h"
#include "gui/help_window.h"
#include "gui/setup_dialogs.h"
#include "gui/system_window_hw.h"
#include "gui/system_window_nohw.h"

namespace qvi {

namespace {

constexpr int kGeneralHelpTopic = 1;

}  // namespace

CSystemWindowHw *CMainFrame::SystemWindowHw() const {
    return systemWindowHw_;
}

CSystemWindowNoHw *CMainFrame::SystemWindowNoHw() const {
    return systemWindowNoHw_;
}

CCameraDbDlg *CMainFrame::CameraDatabaseDialog() const {
    return cameraDb_;
}

CHelpWindow *CMainFrame::HelpWindow() const {
    return help_;
}

void CMainFrame::ConnectDocument() {
    if (!document_) return;
    document_->SetCloseDialogs([this] { CloseConfigurationWindows(); });
    document_->SetHardwareModeChanged([this] { DestroyHardwareWindow(); });
    document_->SetSystemReplaced([this](ConfigDocument::SystemReplacement replacement) {
        if (replacement == ConfigDocument::SystemReplacement::New) {
            ShowSystemWindow();
            return;
        }
        // Open rebuilds the window as it is: the hardware variant starts hidden.
        EnsureSystemWindow();
        RebuildSystemWindow();
    });
}

QWidget *CMainFrame::CurrentSystemWindow() const {
    if (HardwareEnabled()) return systemWindowHw_;
    return systemWindowNoHw_;
}

void CMainFrame::EnsureSystemWindow() {
    if (tree_ == nullptr || CurrentSystemWindow() != nullptr) return;
    if (HardwareEnabled()) {
        systemWindowHw_ = new CSystemWindowHw(*tree_, this);
        connect(systemWindowHw_, &CSystemWindowHw::editRequested, this,
                &CMainFrame::OpenSetupDialog);
        connect(systemWindowHw_, &CSystemWindowHw::activeBoardChanged, this,
                &CMainFrame::OnActiveBoardChanged);
        connect(systemWindowHw_, &CSystemWindowHw::helpRequested, this, &CMainFrame::ShowHelp);
        return;
    }
    systemWindowNoHw_ = new CSystemWindowNoHw(*tree_, *services_.Factory(), settings_, this);
    connect(systemWindowNoHw_, &CSystemWindowNoHw::editRequested, this,
            &CMainFrame::OpenSetupDialog);
    connect(systemWindowNoHw_, &CSystemWindowNoHw::aboutToChangeSystem, setupDialogs_,
            &SetupDialogs::CloseAll);
    connect(systemWindowNoHw_, &CSystemWindowNoHw::systemChanged, this,
            &CMainFrame::OnSystemChanged);
    systemWindowNoHw_->PlaceBeside(this);
    systemWindowNoHw_->show();
}

// New shows the system window and rebuilds it from the new model.
void CMainFrame::ShowSystemWindow() {
    EnsureSystemWindow();
    RebuildSystemWindow();
    if (QWidget *window = CurrentSystemWindow()) {
        window->show();
        window->raise();
    }
}

void CMainFrame::RebuildSystemWindow() {
    if (systemWindowHw_ && HardwareEnabled()) {
        systemWindowHw_->Rebuild();
        FillBoardSelector();
        ActiveImageWindow(true);
    }
    if (systemWindowNoHw_ && !HardwareEnabled()) systemWindowNoHw_->Rebuild();
}

void CMainFrame::CloseConfigurationWindows() {
    CloseImageWindows();
    setupDialogs_->CloseAll();
    boardSelector_->clear();
}

void CMainFrame::DestroyHardwareWindow() {
    CloseImageWindows();
    delete systemWindowHw_;
    boardSelector_->clear();
    boardSelector_->setEnabled(false);
}

void CMainFrame::FillBoardSelector() {
    QSignalBlocker quiet(boardSelector_);
    boardSelector_->clear();
    if (!systemWindowHw_) return;
    boardSelector_->addItems(systemWindowHw_->BoardItems());
    boardSelector_->setCurrentIndex(systemWindowHw_->ActiveBoard());
}

// Selecting a board makes its image window, when it has none.
void CMainFrame::OnBoardSelected(int board) {
    if (systemWindowHw_) systemWindowHw_->SelectBoard(board);
    ActiveImageWindow(true);
}

void CMainFrame::OnActiveBoardChanged(int board) {
    QSignalBlocker quiet(boardSelector_);
    boardSelector_->setCurrentIndex(board);
    ActiveImageWindow(true);
}

void CMainFrame::OnSystemChanged() {
    UpdateCommands();
}

int CMainFrame::SelectedElement() const {
    if (HardwareEnabled()) return systemWindowHw_ ? systemWindowHw_->SelectedElement() : -1;
    return systemWindowNoHw_ ? systemWindowNoHw_->SelectedElement() : -1;
}

void CMainFrame::OnSystemDialog() {
    EnsureSystemWindow();
    QWidget *window = CurrentSystemWindow();
    if (window == nullptr) return;
    window->setVisible(!window->isVisible());
    UpdateCommands();
}

void CMainFrame::OnEdit() {
    const int element = SelectedElement();
    if (element >= 0) OpenSetupDialog(element);
}

void CMainFrame::OpenSetupDialog(int elementIndex) {
    if (tree_ == nullptr) return;
    setupDialogs_->Open(tree_->System(), elementIndex);
    UpdateCommands();
}

void CMainFrame::OnCameraDatabase() {
    if (cameraDb_) {
        cameraDb_->show();
        cameraDb_->raise();
        cameraDb_->activateWindow();
        return;
    }
    cameraDb_ = new CCameraDbDlg(services_.NewCameraDatabase(settings_), settings_.dbaseFile, this);
    connect(cameraDb_, &CCameraDbDlg::closedWith, this, &CMainFrame::OnCameraDatabaseClosed);
    cameraDb_->show();
}

// OK saved the working copy: the program takes the database from the file again.
void CMainFrame::OnCameraDatabaseClosed(int code) {
    if (cameraDb_) cameraDb_->deleteLater();
    cameraDb_ = nullptr;
    if (code != CameraDbEditor::kClosedOk || services_.CameraDatabase() == nullptr) return;
    if (services_.CameraDatabase()->Load(settings_.dbaseFile) != 0)
        ReportError("Could not load camera database file:" + settings_.dbaseFile);
}

void CMainFrame::ShowHelp(int topic) {
    if (!help_) help_ = new CHelpWindow(this);
    help_->ShowTopic(topic);
}

void CMainFrame::OnHelpTopics() {
    ShowHelp(kGeneralHelpTopic);
}

void CMainFrame::OnAbout() {
    const LibraryBinding *binding =
        services_.Platform() != nullptr ? &services_.Platform()->Binding() : nullptr;
    CAboutDlg about(CollectAboutInfo(settings_, binding), this);
    about.exec();
}

}  // namespace qvi
