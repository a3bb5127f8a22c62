// The Module Setup dialogs of the desktop: one window per element, opened and closed.
#include "gui/setup_dialogs.h"

#include <QWidget>

#include "app/module_description.h"
#include "gui/module_setup_dialog.h"
#include "params/mod.h"
#include "system/system.h"

namespace qvi {

SetupDialogs::SetupDialogs(QWidget *mainWindow) : QObject(mainWindow), mainWindow_(mainWindow) {}

// The widgets go before the logic they draw.
SetupDialogs::~SetupDialogs() {
    DestroyWidgets();
}

CModuleSetupDlg *SetupDialogs::Open(QV_system &system, int elementIndex) {
    std::optional<SetupModules> modules = SetupModulesOf(system, elementIndex);
    if (!modules) return nullptr;
    const ModuleSetupRegistry::OpenResult opened = registry_.Open(
        *this, elementIndex, *modules->module, modules->second, modules->secondIndex);
    if (opened.dialog == nullptr) return nullptr;
    QPointer<CModuleSetupDlg> &widget = widgets_[elementIndex];
    if (!opened.activated || widget.isNull()) {
        widget = new CModuleSetupDlg(*opened.dialog, *this, ModuleDescription(system, elementIndex),
                                     mainWindow_);
        widget->SetHelp(help_);
        widget->SetShowConsole(showConsole_);
        widget->show();
        if (mainWindow_ != nullptr) widget->PlaceAgainst(*mainWindow_);
        emit dialogsChanged();
    }
    widget->raise();
    widget->activateWindow();
    return widget;
}

CModuleSetupDlg *SetupDialogs::Find(int elementIndex) const {
    if (registry_.Find(elementIndex) == nullptr) return nullptr;
    auto found = widgets_.find(elementIndex);
    return found == widgets_.end() ? nullptr : found->second.data();
}

int SetupDialogs::OpenCount() const {
    return registry_.OpenCount();
}

void SetupDialogs::DestroyWidgets() {
    std::map<int, QPointer<CModuleSetupDlg>> closing;
    closing.swap(widgets_);
    for (auto &entry : closing) delete entry.second.data();
}

void SetupDialogs::CloseAll() {
    const bool any = OpenCount() > 0;
    DestroyWidgets();
    registry_.CloseAll();
    if (any) emit dialogsChanged();
}

// The dialog is inside its own OK or Cancel handler: its widget goes once
// that has returned, its logic at once (the dialog no longer uses it).
void SetupDialogs::ForgetDialog(int elementIndex) {
    auto found = widgets_.find(elementIndex);
    if (found != widgets_.end()) {
        if (!found->second.isNull()) {
            found->second->hide();
            found->second->deleteLater();
        }
        widgets_.erase(found);
    }
    registry_.Forget(elementIndex);
    emit dialogsChanged();
}

}  // namespace qvi
