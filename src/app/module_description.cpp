// What a Module Setup dialog edits for an element, and the dialog's title.
#include "app/module_description.h"

#include "library/hardware.h"
#include "library/library_binding.h"
#include "params/mod.h"
#include "platform/ui.h"
#include "system/plat_mod.h"
#include "system/system.h"

namespace qvi {

namespace {

// An SX-400 of this type number or above is the Lumo Comp board, whose TX-70
// is sold as the TX-80.
constexpr int kLumoCompType = 36;

const QV_sys_element *ElementAt(const QV_system &system, int index) {
    return index >= 0 && index < system.Size() ? system.GetElement(index) : nullptr;
}

bool IsSx400Board(const QV_sys_element *element) {
    return element != nullptr && element->IsMboard() && element->GetName() == "SXP";
}

bool IsLumoComp(const QV_sys_element *element) {
    return IsSx400Board(element) && HardwareEnabled() &&
           element->GetPlatMod() != nullptr &&
           element->GetPlatMod()->HardwareRevision() >= kLumoCompType;
}

// The board's slot is the element right after it; an emptied slot keeps its
// old name, so the module kind is checked too.
bool CarriesTx10(const QV_system &system, int boardIndex) {
    const QV_sys_element *slot = ElementAt(system, boardIndex + 1);
    return slot != nullptr && slot->IsModule() && slot->GetName() == "TX-10";
}

// A module in a slot or a camera channel follows its board in the list; -1
// for boards, systems and the bus translator.
int BoardIndexOf(const QV_system &system, int index) {
    const QV_sys_element *element = ElementAt(system, index);
    if (element == nullptr || (!element->IsDboard() && element->GetType() != "VBOARD")) return -1;
    for (int i = index - 1; i >= 0; --i)
        if (system.GetElement(i)->IsMboard()) return i;
    return -1;
}

std::string OwnName(const QV_system &system, int index) {
    const QV_sys_element *element = system.GetElement(index);
    if (IsLumoComp(element)) return "Lumo Comp";
    if (IsSx400Board(element) && CarriesTx10(system, index)) return "Lumo";
    if (element->GetType() == "VBOARD") return "Channel";
    return system.GetModule(index)->GetName();
}

std::string BoardPart(const QV_system &system, int index, const QV_mod &module) {
    const int boardIndex = BoardIndexOf(system, index);
    if (boardIndex < 0) return {};
    const QV_sys_element *board = system.GetElement(boardIndex);
    const std::string number = std::to_string(board->GetNumber());
    if (module.GetName() == "TX-10") return " on Lumo:" + number;
    const QV_mod *boardModule = board->GetModule();
    const std::string name = boardModule ? boardModule->GetName() : board->GetName();
    return " on " + name + ":" + number;
}

}  // namespace

std::optional<SetupModules> SetupModulesOf(const QV_system &system, int index) {
    if (!system.HasSetup(index)) {
        ReportError("element " + std::to_string(index) + " has no Module Setup pages");
        return std::nullopt;
    }
    SetupModules modules{system.GetModule(index)};
    if (IsSx400Board(system.GetElement(index)) && system.HasSetup(index + 1)) {
        modules.second = system.GetModule(index + 1);
        modules.secondIndex = index + 1;
    }
    return modules;
}

std::string ModuleDescription(const QV_system &system, int elementIndex) {
    const QV_mod *module =
        ElementAt(system, elementIndex) ? system.GetModule(elementIndex) : nullptr;
    if (module == nullptr) return {};
    const QV_sys_element *previous = ElementAt(system, elementIndex - 1);
    if (module->GetName() == "TX-70" && IsLumoComp(previous))
        return "TX-80:0 on Lumo Comp:" + std::to_string(previous->GetNumber());
    return OwnName(system, elementIndex) + ":" + std::to_string(module->GetInstance()) +
           BoardPart(system, elementIndex, *module);
}

}  // namespace qvi
