#pragma once

#include <QMainWindow>
#include <QPointer>
#include <map>
#include <memory>

#include "app/config_document.h"

class QAction;
class QComboBox;
class QMdiArea;
class QMenu;

namespace qvi {

class AppRegistry;
class AppSettings;
class CCameraDbDlg;
class CChildFrame;
class CConsolePane;
class CHelpWindow;
class CRegisterViewer;
class CSystemWindowHw;
class CSystemWindowNoHw;
class SetupDialogs;
class PlatformServices;
class RecentFiles;
class SystemTree;

// The main window's commands, by the identifiers of the original menu.
enum class Command {
    New = 32778,
    Open = 32779,
    Save = 32780,
    SaveAs = 32781,
    ViewConfigFile = 32787,
    Exit = 32788,
    HardwareDisabled = 32792,
    SystemDialog = 32776,
    CameraDatabase = 32783,
    Edit = 32812,
    // The image windows' commands the main frame routes.
    Grab = 32773,
    Snap = 32801,
    Clear = 32785,
    TriggeredSnap = 32789,
    LoadTiff = 32790,
    SaveTiff = 32791,
    StretchToFit = 32805,
    DirectDraw = 32811,
    RegisterViewer = 32777,
    ImageTools = 32850,
    SelfTest = 32851,
    HelpTopics = 57667,
    About = 57664,
};

// The multiple-document main frame: menus, tool bar with the board selector,
// status bar, the console pane, the system window and the open Module Setup
// dialogs. The file commands run through ConfigDocument; every window draws
// what the logic decides.
class CMainFrame : public QMainWindow {
    Q_OBJECT

public:
    CMainFrame(AppSettings &settings, PlatformServices &services, AppRegistry &registry,
               RecentFiles &recent);
    ~CMainFrame() override;

    // Start-up: the placement kept in the registry (or the first-run size),
    // then the tool bars' state.
    void RestorePlacement();
    // Start-up's last step: the file named on the command line, else New.
    void OpenStartConfiguration();

    ConfigDocument &Document() { return *document_; }
    QAction *Action(Command command) const;
    QComboBox *BoardSelector() const { return boardSelector_; }
    CConsolePane *Console() const { return console_; }
    QMdiArea *MdiArea() const { return mdi_; }
    SetupDialogs &Dialogs() const { return *setupDialogs_; }
    // The system window of each variant; null until it is created.
    CSystemWindowHw *SystemWindowHw() const;
    CSystemWindowNoHw *SystemWindowNoHw() const;
    CCameraDbDlg *CameraDatabaseDialog() const;
    CHelpWindow *HelpWindow() const;
    // The register viewer; null while none is open.
    CRegisterViewer *RegisterViewer() const;
    // The image window of the active board (or SXA channel); with `create`
    // one is made when there is none. Null without hardware or a board.
    CChildFrame *ActiveImageWindow(bool create);
    // The frame rate pane of the status bar.
    QString FrameRateText() const;

    // Opens the help window on a topic id of the modules' tables.
    void ShowHelp(int topic);
    // The element selected in the system window of the current mode, or -1.
    int SelectedElement() const;

public slots:
    // Re-evaluates every command's enabling and check mark.
    void UpdateCommands();

protected:
    void closeEvent(QCloseEvent *event) override;
    // A configuration file dropped on the window is opened like File Open.
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    QAction *AddAction(QMenu *menu, Command command, const QString &text, const QString &tip,
                       void (CMainFrame::*slot)());
    void CreateMenus();
    void CreateToolBar();
    void RebuildRecentMenu();
    void ShowCaption();
    void StorePlacement();

    // File commands.
    void OnNew();
    void OnOpen();
    void OnSave();
    void OnSaveAs();
    void OnViewConfigFile();
    void OnHardwareDisabled();
    void OnExit();
    // Opens a file named by the recent-file list or dropped on the window.
    void OpenPath(const std::string &path);
    void AfterFileCommand();

    // The system window and the board selector.
    void ConnectDocument();
    QWidget *CurrentSystemWindow() const;
    void EnsureSystemWindow();
    void ShowSystemWindow();
    void RebuildSystemWindow();
    void CloseConfigurationWindows();
    void DestroyHardwareWindow();
    void FillBoardSelector();
    void OnBoardSelected(int board);
    void OnActiveBoardChanged(int board);
    void OnSystemChanged();

    // The image windows.
    void CreateImageMenu();
    CChildFrame *OpenImageWindow(int element);
    CChildFrame *CurrentImageWindow() const;
    void CloseImageWindows();
    void ForgetChildSignals();
    void OnGrab();
    void OnSnap();
    void OnClear();
    void OnTriggeredSnap();
    void OnLoadTiff();
    void OnSaveTiff();
    void OnStretchToFit();
    void OnDirectDraw();
    void OnRegisterViewer();
    void OnImageTools();
    void OnSelfTest();
    void OpenRegisterViewer(CChildFrame *window);
    void OnImageWindowActivated();
    void UpdateImageCommands();

    // The other windows.
    void OnSystemDialog();
    void OnEdit();
    void OpenSetupDialog(int elementIndex);
    void OnCameraDatabase();
    void OnCameraDatabaseClosed(int code);
    void OnHelpTopics();
    void OnAbout();

    AppSettings &settings_;
    PlatformServices &services_;
    AppRegistry &registry_;
    RecentFiles &recent_;
    SystemTree *tree_ = nullptr;
    std::unique_ptr<ConfigDocument> document_;

    QMdiArea *mdi_ = nullptr;
    CConsolePane *console_ = nullptr;
    QComboBox *boardSelector_ = nullptr;
    QMenu *fileMenu_ = nullptr;
    QMenu *recentMenu_ = nullptr;
    SetupDialogs *setupDialogs_ = nullptr;
    QPointer<CSystemWindowHw> systemWindowHw_;
    QPointer<CSystemWindowNoHw> systemWindowNoHw_;
    QPointer<CCameraDbDlg> cameraDb_;
    QPointer<CHelpWindow> help_;
    QPointer<CRegisterViewer> registerViewer_;
    std::map<Command, QAction *> actions_;
    // The image windows by the element they stand for.
    std::map<int, QPointer<CChildFrame>> imageWindows_;
    class QLabel *frameRate_ = nullptr;
    bool placementStored_ = false;
};

}  // namespace qvi
