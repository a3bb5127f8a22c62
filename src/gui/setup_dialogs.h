#pragma once

#include <QObject>
#include <QPointer>
#include <functional>
#include <map>

#include "app/setup_host.h"

class QWidget;

namespace qvi {

class CModuleSetupDlg;
class QV_system;

// The main window's Module Setup slots, one per system element index:
// opens a dialog, or activates the open one, and is the host the dialogs
// report to (board refresh, changed configuration, closing).
class SetupDialogs : public QObject, public ProgramSetupHost {
    Q_OBJECT

public:
    // The dialogs are placed against and parented to the main window.
    explicit SetupDialogs(QWidget *mainWindow);
    ~SetupDialogs() override;

    // The element's open dialog, activated, or a new one shown; null (after a
    // message) for an element without pages.
    CModuleSetupDlg *Open(QV_system &system, int elementIndex);
    CModuleSetupDlg *Find(int elementIndex) const;
    bool IsOpen(int elementIndex) const { return Find(elementIndex) != nullptr; }
    // Closing the configuration destroys every dialog without OK or Cancel.
    void CloseAll();
    int OpenCount() const;

    void SetHelp(std::function<void(int topic)> help) { help_ = std::move(help); }
    void SetShowConsole(std::function<void()> showConsole) {
        showConsole_ = std::move(showConsole);
    }

    // ModuleSetupHost.
    void ForgetDialog(int elementIndex) override;

signals:
    // A dialog opened or closed: the Edit command's state may have changed.
    void dialogsChanged();

private:
    void DestroyWidgets();

    QWidget *mainWindow_;
    ModuleSetupRegistry registry_;
    std::map<int, QPointer<CModuleSetupDlg>> widgets_;
    std::function<void(int)> help_;
    std::function<void()> showConsole_;
};

}  // namespace qvi
