#include "app/system_window_lines.h"

#include "app/library_binding.h"
#include "app/system_tree.h"
#include "system/hardware.h"
#include "system/plat_mod.h"

namespace qvi {

namespace {

constexpr int kLumoCompRevision = 35;

int RevisionOf(const QV_plat_mod *board) {
    if (board == nullptr || board->Binding() == nullptr) return 0;
    auto revision = board->Binding()->Entry<&::qrx_get_hw_revision>();
    return revision ? revision(board->Handle()) : 0;
}

std::string NameAt(const QV_system &system, int i) {
    const QV_sys_element *element = system.GetElement(i);
    return element ? element->GetName() : std::string();
}

}  // namespace

std::vector<std::string> ElementTexts(const SystemTree &tree) {
    std::vector<std::string> lines;
    for (int i = 0; i < tree.System().Size(); ++i) lines.push_back(tree.System().GetElementText(i));
    return lines;
}

std::vector<std::string> ElementModeLines(const SystemTree &tree, int activeBoard) {
    const QV_system &system = tree.System();
    std::vector<std::string> lines = ElementTexts(tree);
    const int activeElement = activeBoard >= 0 && activeBoard < tree.BoardCount()
                                  ? tree.BoardElements()[static_cast<std::size_t>(activeBoard)]
                                  : -1;
    bool lumoComp = false;
    for (int i = 0; i < system.Size(); ++i) {
        std::string &line = lines[static_cast<std::size_t>(i)];
        const QV_sys_element *element = system.GetElement(i);
        if (element->IsMboard() && element->GetName() == "SXP") {
            const std::string number = std::to_string(element->GetNumber());
            lumoComp = HardwareEnabled() && RevisionOf(element->GetPlatMod()) > kLumoCompRevision;
            if (lumoComp)
                line = "  Lumo-Comp:" + number;
            else if (NameAt(system, i + 1) == "TX-10")
                line = "  Lumo:" + number;
        } else if (lumoComp && element->GetName() == "TX-70") {
            line = "    slot 0 - TX-80:0";
            lumoComp = false;
        } else {
            lumoComp = false;
        }
        if (HardwareEnabled() && i == activeElement) line += " *";
    }
    return lines;
}

}  // namespace qvi
