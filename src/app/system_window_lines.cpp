// The texts of the system window's lines, in element and board mode.
#include "app/system_window_lines.h"

#include <map>

#include "app/system_tree.h"
#include "library/hardware.h"
#include "library/library_binding.h"
#include "modules/acquisition/acq_plat_mod.h"
#include "system/plat_mod.h"

namespace qvi {

namespace {

constexpr int kLumoCompRevision = 35;

// Only a board the library can ask about has a revision.
bool IsLumoComp(const QV_sys_element &board) {
    return HardwareEnabled() && board.GetPlatMod() != nullptr &&
           board.GetPlatMod()->HardwareRevision() > kLumoCompRevision;
}

std::string NameAt(const QV_system &system, int i) {
    const QV_sys_element *element = system.GetElement(i);
    return element ? element->GetName() : std::string();
}

std::string EmptyText(int slot) {
    return slot < 0 ? std::string(" ") : "    slot " + std::to_string(slot) + " - empty";
}

// "%s: %d"
std::string Named(const std::string &name, int number) {
    return name + ": " + std::to_string(number);
}

SystemItemKind KindOf(const QV_sys_element &element) {
    if (element.GetType() == "VBOARD") return SystemItemKind::SxaChannel;
    if (!element.IsMboard()) return SystemItemKind::None;
    return element.GetName() == "SXP" ? SystemItemKind::Sx400 : SystemItemKind::OtherBoard;
}

// The acquisition board each element stands for.
std::map<int, int> BoardsByElement(const SystemTree &tree) {
    std::map<int, int> boards;
    for (int board = 0; board < tree.BoardCount(); ++board)
        boards[tree.BoardElements()[static_cast<std::size_t>(board)]] = board;
    return boards;
}

// A module's pixel format is the type of its input board: a TX-70 on its RGB
// input board is the "R" board.
bool HasRgbPixelFormat(const QV_sys_element &module) {
    auto *acquisition = dynamic_cast<QV_acq_plat_mod *>(module.GetPlatMod());
    return acquisition != nullptr && acquisition->GetBoardType() == QV_acq_plat_mod::kRgbBoard;
}

// An SX-400 is known by the acquisition module in its slot.
std::string Sx400Name(const QV_system &system, int board) {
    if (IsLumoComp(*system.GetElement(board))) return "Lumo-Comp";
    const QV_sys_element *module = system.GetElement(board + 1);
    if (module == nullptr || !module->IsDboard()) return "SX-400";
    static const std::map<std::string, std::string> kNames = {
        {"TX-10", "Lumo"},  {"TX-20", "SX-20"}, {"TX-30", "SX-30"}, {"TX-31", "SX-30"},
        {"TX-40", "SX-40"}, {"TX-50", "SX-50"}, {"TX-60", "SX-60"},
    };
    if (module->GetName() == "TX-70") return HasRgbPixelFormat(*module) ? "SX-70R" : "SX-70C";
    auto found = kNames.find(module->GetName());
    return found == kNames.end() ? "SX-400" : found->second;
}

// The SXA board above a camera channel.
const QV_sys_element *SxaBoardOf(const QV_system &system, int channel) {
    for (int i = channel - 1; i >= 0; --i)
        if (system.IsMboard(i)) return system.GetElement(i);
    return nullptr;
}

std::string BoardText(const QV_system &system, int i) {
    const QV_sys_element &element = *system.GetElement(i);
    switch (KindOf(element)) {
        case SystemItemKind::Sx400:
            return Named(Sx400Name(system, i), element.GetNumber());
        case SystemItemKind::SxaChannel: {
            const QV_sys_element *board = SxaBoardOf(system, i);
            return "SX-90:" + std::to_string(board ? board->GetNumber() : 0) + " -chan " +
                   std::to_string(element.GetSlot());
        }
        default:
            return Named(element.GetName(), element.GetNumber());
    }
}

}  // namespace

std::vector<std::string> ElementTexts(const SystemTree &tree) {
    std::vector<std::string> lines;
    for (int i = 0; i < tree.System().Size(); ++i) {
        const QV_sys_element *element = tree.System().GetElement(i);
        lines.push_back(element->GetType() == "EMPTY" ? EmptyText(element->GetSlot())
                                                      : element->GetText());
    }
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
            lumoComp = IsLumoComp(*element);
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

std::vector<SystemListItem> ElementModeItems(const SystemTree &tree, int activeBoard) {
    const std::map<int, int> boards = BoardsByElement(tree);
    std::vector<std::string> lines = ElementModeLines(tree, activeBoard);
    std::vector<SystemListItem> items;
    for (int i = 0; i < static_cast<int>(lines.size()); ++i) {
        auto board = boards.find(i);
        items.push_back({i, board == boards.end() ? -1 : board->second,
                         KindOf(*tree.System().GetElement(i)),
                         std::move(lines[static_cast<std::size_t>(i)])});
    }
    return items;
}

std::vector<SystemListItem> BoardModeItems(const SystemTree &tree) {
    std::vector<SystemListItem> items;
    for (int board = 0; board < tree.BoardCount(); ++board) {
        const int element = tree.BoardElements()[static_cast<std::size_t>(board)];
        const QV_sys_element *line = tree.System().GetElement(element);
        if (line == nullptr) continue;
        items.push_back({element, board, KindOf(*line), BoardText(tree.System(), element)});
    }
    return items;
}

int BoardOfLine(const std::vector<SystemListItem> &items, int line) {
    if (line < 0 || line >= static_cast<int>(items.size())) return -1;
    return items[static_cast<std::size_t>(line)].board;
}

int LineOfBoard(const std::vector<SystemListItem> &items, int board) {
    if (board < 0) return -1;
    for (std::size_t line = 0; line < items.size(); ++line)
        if (items[line].board == board) return static_cast<int>(line);
    return -1;
}

}  // namespace qvi
