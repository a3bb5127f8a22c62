// Which module models fit an empty slot element.
#include "app/module_fit.h"

#include <optional>

#include "app/app_settings.h"
#include "keys/key_table.h"
#include "params/mod.h"
#include "platform/ui.h"
#include "system/config_state.h"
#include "system/mod_factory.h"
#include "system/system.h"

namespace qvi {

namespace {

bool IsEmpty(const QV_sys_element *element) {
    return element != nullptr && element->GetType() == "EMPTY";
}

bool IsBoardModel(const std::string &name) {
    const keys::ModelTable *table = keys::FindModel(name);
    return table != nullptr && table->category == keys::ModelCategory::Board;
}

// The motherboard that holds the slot. An empty slot made by the loader names
// it as its owner; a slot emptied by Remove has none, so the nearest board
// above is taken, unless that board was removed too (it keeps its name).
const QV_sys_element *BoardOf(const QV_system &system, int element) {
    const int owner = system.GetElement(element)->GetOwner();
    if (owner > 0 && system.IsMboard(owner)) return system.GetElement(owner);
    for (int i = element - 1; i >= 0; --i) {
        const QV_sys_element *above = system.GetElement(i);
        if (above->IsMboard()) return above;
        if (above->GetType() == "SYSTEM" || IsBoardModel(above->GetName())) return nullptr;
    }
    return nullptr;
}

// What the board's slot takes; nothing for a slot outside the board's table.
std::optional<keys::SlotKind> SlotTakes(const QV_system &system, int element) {
    const QV_sys_element *slot = system.GetElement(element);
    if (!IsEmpty(slot) || slot->GetSlot() < 0) return std::nullopt;
    const QV_sys_element *board = BoardOf(system, element);
    const keys::ModelTable *table = board ? keys::FindModel(board->GetName()) : nullptr;
    if (table == nullptr || slot->GetSlot() >= static_cast<int>(table->slots.size()))
        return std::nullopt;
    return table->slots[static_cast<std::size_t>(slot->GetSlot())];
}

// The settings list the TX-30 and the RX-2x memory modules by the names the
// key tables file under another model.
std::string TableModel(const std::string &model) {
    if (model == "TX-30") return "TX-31";
    if (model == "RX-21" || model == "RX-22") return "RX-20";
    return model;
}

}  // namespace

bool Fits(const QV_system &system, int element, const std::string &model) {
    if (system.GetElement(element) == nullptr) return false;
    const std::optional<keys::SlotKind> takes = SlotTakes(system, element);
    const keys::ModelTable *module = keys::FindModel(TableModel(model));
    return takes && module && module->category != keys::ModelCategory::Board &&
           *takes == module->fits;
}

std::vector<std::string> AvailableModules(const AppSettings &settings, const QV_system &system,
                                          int element) {
    std::vector<std::string> names;
    if (!IsEmpty(system.GetElement(element))) return names;
    for (const auto *list : {&settings.acquisitionModuleNames, &settings.computationalModuleNames})
        for (const std::string &name : *list)
            if (Fits(system, element, name)) names.push_back(name);
    return names;
}

int FirstElementTakingModule(const QV_system &system) {
    for (int i = 0; i < system.Size(); ++i)
        if (SlotTakes(system, i)) return i;
    return -1;
}

int AddModule(QV_system &system, QV_mod_factory &factory, int element, const std::string &model) {
    QV_sys_element *slot = system.GetElement(element);
    if (!IsEmpty(slot) || !Fits(system, element, model)) {
        ReportError("Can't add " + model + " to element " + std::to_string(element));
        return -1;
    }
    std::unique_ptr<QV_mod> module = factory.CreateModByName(model);
    if (!module) return -1;
    slot->Rebind(std::move(module));
    SetConfigModified(true);
    return 0;
}

}  // namespace qvi
