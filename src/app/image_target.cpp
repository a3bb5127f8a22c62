// Which board and channel an image window works on, and its name in the board list.
#include "app/image_target.h"

#include "app/module_description.h"
#include "keys/model_names.h"
#include "modules/acquisition/acq_plat_mod.h"
#include "modules/acquisition/sxa_port.h"
#include "platform/ui.h"
#include "system/board_plat_mod.h"
#include "system/sys_element.h"
#include "system/system.h"

namespace qvi {

namespace {

const QV_sys_element *ElementAt(const QV_system &system, int index) {
    return index >= 0 && index < system.Size() ? system.GetElement(index) : nullptr;
}

// The board element of a module element: the nearest board before it.
int BoardElementOf(const QV_system &system, int index) {
    for (int i = index; i >= 0; --i)
        if (system.GetElement(i)->IsMboard()) return i;
    return -1;
}

void Refuse(const QV_system &system, int index) {
    std::string element = "element " + std::to_string(index);
    const std::string description = ModuleDescription(system, index);
    if (!description.empty()) element += " (" + description + ")";
    ReportError("No image window for " + element +
                ": not a board that acquires, its acquisition module or an SXA camera channel");
}

}  // namespace

std::optional<std::string> BoardListName(const QV_system &system, int index) {
    const QV_sys_element *element = ElementAt(system, index);
    if (element == nullptr || !element->IsModule()) return std::nullopt;
    const std::string &name = element->GetName();
    const QV_plat_mod *platform = element->GetPlatMod();
    const bool acquires =
        name == keys::kSxaChannelModel || (platform && platform->AcquisitionModule());
    if (name == "SXA" || !acquires) return std::nullopt;
    std::string shown = name == keys::kSxaChannelModel ? "SXA Ch" : name;
    if (name == "SXP") {
        const QV_sys_element *next = ElementAt(system, index + 1);
        const std::string module = next ? next->GetName() : "";
        if (module == "TX-10") shown = "Lumo";
        if (module == "TX-70") shown = "Lumo Comp";
    }
    return shown + ":" + std::to_string(element->GetNumber());
}

std::optional<ImageTarget> ImageTargetOf(const QV_system &system, int index) {
    const QV_sys_element *element = ElementAt(system, index);
    int listed = index;
    if (element != nullptr && !element->IsMboard() &&
        element->GetName() != keys::kSxaChannelModel) {
        const int board = BoardElementOf(system, index);
        const QV_plat_mod *boardPlatform =
            board >= 0 ? system.GetElement(board)->GetPlatMod() : nullptr;
        if (boardPlatform && element->GetPlatMod() &&
            boardPlatform->AcquisitionModule() == element->GetPlatMod())
            listed = board;
    }
    std::optional<std::string> title = BoardListName(system, listed);
    if (!title) {
        Refuse(system, index);
        return std::nullopt;
    }
    ImageTarget target;
    target.element = system.GetElement(listed);
    target.title = *title;
    QV_plat_mod *platform = target.element->GetPlatMod();
    if (auto *port = dynamic_cast<TX0_plat_mod *>(platform)) {
        target.channel = port->Channel();
        const int board = BoardElementOf(system, listed);
        platform = port->ParentBoard() ? port->ParentBoard()
                   : board >= 0        ? system.GetElement(board)->GetPlatMod()
                                       : nullptr;
    }
    target.board = dynamic_cast<QV_board_plat_mod *>(platform);
    if (target.board == nullptr) {
        Refuse(system, index);
        return std::nullopt;
    }
    return target;
}

bool IsSxaChannel(const ImageTarget &target) {
    return target.element != nullptr && target.element->GetName() == keys::kSxaChannelModel;
}

TriggeredAcquisition::Setup TriggerSetupOf(const ImageTarget &target, void *window) {
    TriggeredAcquisition::Setup setup;
    QV_plat_mod *platform = target.element ? target.element->GetPlatMod() : nullptr;
    if (platform != nullptr && !IsSxaChannel(target)) platform = platform->AcquisitionModule();
    setup.module = dynamic_cast<QV_acq_plat_mod *>(platform);
    setup.sxaBoard = IsSxaChannel(target);
    setup.tx30 = setup.module != nullptr && setup.module->ClassName() == "TX-30 plat_mod";
    setup.channelElementActive = setup.sxaBoard;
    setup.window = window;
    return setup;
}

}  // namespace qvi
