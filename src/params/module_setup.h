#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "params/row_pager.h"

namespace qvi {

class QV_mod;

// What the Module Setup dialog needs from the program around it.
class ModuleSetupHost {
public:
    virtual ~ModuleSetupHost() = default;

    // Tells the board that carries the module to refresh. The host knows the
    // module's kind, e.g. that a camera channel first becomes its board's
    // current channel.
    virtual void RefreshOwner(QV_mod &module) = 0;
    virtual void MarkConfigChanged() = 0;
    // The dialog of that element closed. The host may destroy the dialog here:
    // the dialog touches nothing of itself after this call.
    virtual void ForgetDialog(int elementIndex) = 0;
    // Whether the module answers help per row; the others share the general topic.
    virtual bool HasRowHelp(const QV_mod &) const { return false; }
};

// Where a dialog's top-left corner goes on the screen.
struct DialogOrigin {
    int x = 0;
    int y = 0;
};

// What the widgets of a page redraw after a change in a row.
enum class Redraw {
    Nothing,
    Row,      // the changed row only
    AllRows,  // every row of the page
    Page,     // the page, rebuilt from another group and scrolled to the top
};

// The Module Setup dialog without its widgets: one tab per parameter group,
// the second module's groups first, each tab a row pager over its group. The
// saved state that Cancel returns to is taken when the dialog is built.
class ModuleSetup {
public:
    static constexpr int kGeneralHelpTopic = 1;
    static constexpr int kMinInitialRows = 3;

    ModuleSetup(ModuleSetupHost &host, int elementIndex, QV_mod &module,
                QV_mod *secondModule = nullptr, int secondElementIndex = -1);
    ModuleSetup(const ModuleSetup &) = delete;
    ModuleSetup &operator=(const ModuleSetup &) = delete;

    // The right edge goes to the main window's right edge and the top 50 px
    // below its top; each element index step moves 20 px left and 20 px down.
    static DialogOrigin Placement(int mainRight, int mainTop, int dialogWidth, int elementIndex);

    int ElementIndex() const { return elementIndex_; }
    QV_mod &Module() const { return module_; }
    QV_mod *SecondModule() const { return secondModule_; }
    int SecondElementIndex() const { return secondElementIndex_; }

    // The tab accessors expect a tab in 0..TabCount()-1.
    int TabCount() const { return static_cast<int>(tabs_.size()); }
    const std::string &TabTitle(int tab) const;
    QV_mod &TabModule(int tab) const;
    // The group a tab shows now; a page selector may have changed it.
    int TabGroupIndex(int tab) const;
    const RowPager &Pager(int tab) const;
    RowPager &Pager(int tab);

    // Rows to show at first (row 0 counted): those in use on the first page,
    // never fewer than 3. The dialog shrinks by 20 minus that many row pitches.
    int InitialRowCount() const;
    int InitialShrinkRows() const { return RowPager::kRows - InitialRowCount(); }
    // Every page shows as many rows as fit after a resize.
    void SetRowsThatFit(int rows);

    // A drop-down of a row was set to an index.
    Redraw DropDownChanged(int tab, int row, int index);
    // The value entry dialog for a number or text row closed, with OK or Cancel.
    void ValueEntryClosed(int tab, int row);

    // OK keeps the changed values; Cancel restores those of the opening. Both
    // end with the host forgetting the dialog, which may destroy it.
    void Ok();
    void Cancel();

    bool ViewRegistersEnabled() const;
    void ShowRegisters();
    // The help topic for F1 over a row.
    int HelpTopic(int tab, int row) const;

private:
    struct Tab {
        QV_mod *module;
        int ownGroup;
        int shownGroup;
        RowPager pager;
    };

    void AddTabs(QV_mod &module);
    void OpenPage(Tab &tab);
    void ShowGroup(Tab &tab, int group);
    bool IsValidTab(int tab) const { return tab >= 0 && tab < TabCount(); }
    Tab &TabAt(int tab) { return tabs_[static_cast<std::size_t>(tab)]; }
    const Tab &TabAt(int tab) const { return tabs_[static_cast<std::size_t>(tab)]; }
    QV_usr_param *RowParam(int tab, int row) const;
    void NotifyOwnerIfAsked(const Tab &tab, const QV_usr_param &usrParam);
    // The module first, then the second one when there is one.
    std::vector<QV_mod *> Modules() const;

    ModuleSetupHost &host_;
    int elementIndex_;
    QV_mod &module_;
    QV_mod *secondModule_;
    int secondElementIndex_;
    std::vector<Tab> tabs_;
    bool closed_ = false;
};

// The open Module Setup dialogs, at most one per element of the system. Every
// element has a slot, however many elements the system has.
class ModuleSetupRegistry {
public:
    struct OpenResult {
        ModuleSetup *dialog = nullptr;  // null when the element index was refused
        bool activated = false;         // true when the dialog was open already
    };

    // Returns the element's open dialog, or builds one. A negative element
    // index is reported and opens nothing.
    OpenResult Open(ModuleSetupHost &host, int elementIndex, QV_mod &module,
                    QV_mod *secondModule = nullptr, int secondElementIndex = -1);
    ModuleSetup *Find(int elementIndex) const;
    // Destroys the element's dialog, if any.
    void Forget(int elementIndex);
    // Closing the configuration destroys every dialog without OK or Cancel.
    void CloseAll();
    int OpenCount() const;

private:
    std::map<int, std::unique_ptr<ModuleSetup>> dialogs_;
};

}  // namespace qvi
