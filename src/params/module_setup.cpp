// The Module Setup dialog's logic: tabs, pages, port changes, OK and Cancel.
#include "params/module_setup.h"

#include <algorithm>

#include "library/hardware.h"
#include "params/mod.h"
#include "platform/ui.h"

namespace qvi {

namespace {

constexpr int kCascadeStep = 20;
constexpr int kTopOffset = 50;

Redraw RedrawFor(int result) {
    switch (result) {
        case kRedrawRows:
            return Redraw::AllRows;
        case kRedrawPage:
            return Redraw::Page;
        default:
            // A refused index is reported by the row; redrawing it shows the
            // selection that is really in effect.
            return Redraw::Row;
    }
}

}  // namespace

ModuleSetup::ModuleSetup(ModuleSetupHost &host, int elementIndex, QV_mod &module,
                         QV_mod *secondModule, int secondElementIndex)
    : host_(host),
      elementIndex_(elementIndex),
      module_(module),
      secondModule_(secondModule),
      secondElementIndex_(secondModule ? secondElementIndex : -1) {
    if (secondModule_) AddTabs(*secondModule_);
    AddTabs(module_);
    // The saved state is taken once per module, even one without pages, so
    // that Cancel returns exactly to the values of the opening.
    for (QV_mod *opened : Modules()) {
        opened->MarkSaved();
        opened->RefreshUsrParams();
    }
    for (Tab &tab : tabs_) OpenPage(tab);
}

DialogOrigin ModuleSetup::Placement(int mainRight, int mainTop, int dialogWidth, int elementIndex) {
    return {mainRight - dialogWidth - kCascadeStep * elementIndex,
            mainTop + kTopOffset + kCascadeStep * elementIndex};
}

void ModuleSetup::AddTabs(QV_mod &module) {
    const int groups = static_cast<int>(module.GetParamGroups().size());
    for (int group = 0; group < groups; ++group) tabs_.push_back({&module, group, group, {}});
}

void ModuleSetup::OpenPage(Tab &tab) {
    if (QV_page_usr_param *selector = tab.module->GetPageSelector())
        selector->SetIndex(tab.ownGroup);
    ShowGroup(tab, tab.ownGroup);
}

void ModuleSetup::ShowGroup(Tab &tab, int group) {
    tab.shownGroup = group;
    tab.pager.SetEntries(
        tab.module->GetParamGroups()[static_cast<std::size_t>(group)]->GetUsrParams());
}

const std::string &ModuleSetup::TabTitle(int tab) const {
    const Tab &page = TabAt(tab);
    return page.module->GetParamGroups()[static_cast<std::size_t>(page.ownGroup)]->GetName();
}

QV_mod &ModuleSetup::TabModule(int tab) const {
    return *TabAt(tab).module;
}

int ModuleSetup::TabGroupIndex(int tab) const {
    return TabAt(tab).shownGroup;
}

const RowPager &ModuleSetup::Pager(int tab) const {
    return TabAt(tab).pager;
}

RowPager &ModuleSetup::Pager(int tab) {
    return TabAt(tab).pager;
}

int ModuleSetup::InitialRowCount() const {
    const int inUse = tabs_.empty() ? 0 : tabs_.front().pager.RowsInUse();
    return std::max(inUse, kMinInitialRows);
}

void ModuleSetup::SetRowsThatFit(int rows) {
    for (Tab &tab : tabs_) tab.pager.SetCapacity(rows);
}

QV_usr_param *ModuleSetup::RowParam(int tab, int row) const {
    return IsValidTab(tab) ? TabAt(tab).pager.RowParam(row) : nullptr;
}

void ModuleSetup::NotifyOwnerIfAsked(const Tab &tab, const QV_usr_param &usrParam) {
    if (usrParam.NotifiesOwner()) host_.RefreshOwner(*tab.module);
}

Redraw ModuleSetup::DropDownChanged(int tab, int row, int index) {
    QV_usr_param *usrParam = RowParam(tab, row);
    if (usrParam == nullptr || usrParam->GetControlKind() != ControlKind::DropDown)
        return Redraw::Nothing;
    Tab &page = TabAt(tab);
    const int result = usrParam->SetIndex(index);
    NotifyOwnerIfAsked(page, *usrParam);
    const Redraw redraw = RedrawFor(result);
    if (redraw == Redraw::Page) {
        QV_page_usr_param *selector = page.module->GetPageSelector();
        if (selector == nullptr) return Redraw::AllRows;
        ShowGroup(page, selector->GetIndex());
    }
    return redraw;
}

void ModuleSetup::ValueEntryClosed(int tab, int row) {
    QV_usr_param *usrParam = RowParam(tab, row);
    if (usrParam != nullptr) NotifyOwnerIfAsked(TabAt(tab), *usrParam);
}

std::vector<QV_mod *> ModuleSetup::Modules() const {
    std::vector<QV_mod *> modules{&module_};
    if (secondModule_) modules.push_back(secondModule_);
    return modules;
}

void ModuleSetup::Ok() {
    if (closed_) return;
    closed_ = true;
    const std::vector<QV_mod *> modules = Modules();
    if (std::any_of(modules.begin(), modules.end(),
                    [](const QV_mod *module) { return module->IsModified(); }))
        host_.MarkConfigChanged();
    host_.ForgetDialog(elementIndex_);
}

void ModuleSetup::Cancel() {
    if (closed_) return;
    closed_ = true;
    {
        WaitCursor wait;
        for (QV_mod *module : Modules()) {
            module->RevertAll();
            host_.RefreshOwner(*module);
        }
    }
    host_.ForgetDialog(elementIndex_);
}

bool ModuleSetup::ViewRegistersEnabled() const {
    return HardwareEnabled();
}

void ModuleSetup::ShowRegisters() {
    module_.ShowRegisters();
}

int ModuleSetup::HelpTopic(int tab, int row) const {
    QV_usr_param *usrParam = RowParam(tab, row);
    if (usrParam == nullptr) return kGeneralHelpTopic;
    QV_mod &module = *TabAt(tab).module;
    if (!host_.HasRowHelp(module)) return kGeneralHelpTopic;
    return module.GetHelpTopic(usrParam->GetId());
}

ModuleSetupRegistry::OpenResult ModuleSetupRegistry::Open(ModuleSetupHost &host, int elementIndex,
                                                          QV_mod &module, QV_mod *secondModule,
                                                          int secondElementIndex) {
    if (elementIndex < 0) {
        ReportError(
            MessageText("invalid element index: ", elementIndex,
                        " passed to the Module Setup dialog for module: ", module.GetName()));
        return {};
    }
    auto &slot = dialogs_[elementIndex];
    if (slot) return {slot.get(), true};
    slot =
        std::make_unique<ModuleSetup>(host, elementIndex, module, secondModule, secondElementIndex);
    return {slot.get(), false};
}

ModuleSetup *ModuleSetupRegistry::Find(int elementIndex) const {
    auto found = dialogs_.find(elementIndex);
    return found == dialogs_.end() ? nullptr : found->second.get();
}

void ModuleSetupRegistry::Forget(int elementIndex) {
    auto found = dialogs_.find(elementIndex);
    if (found == dialogs_.end()) return;
    // Out of the map first, so a lookup during destruction finds nothing.
    std::unique_ptr<ModuleSetup> dialog = std::move(found->second);
    dialogs_.erase(found);
}

void ModuleSetupRegistry::CloseAll() {
    // Taken out whole first, for the same reason.
    std::map<int, std::unique_ptr<ModuleSetup>> closing = std::move(dialogs_);
    dialogs_.clear();
}

int ModuleSetupRegistry::OpenCount() const {
    return static_cast<int>(dialogs_.size());
}

}  // namespace qvi
