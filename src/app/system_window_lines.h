#pragma once

#include <string>
#include <vector>

namespace qvi {

class SystemTree;

// The lines of the hardware system window in element mode: the element
// texts, a Lumo board named "Lumo", a board of hardware revision above 35
// named "Lumo-Comp" with its TX-70 shown as "TX-80", and the active board's
// line marked " *" while hardware is enabled.
std::vector<std::string> ElementModeLines(const SystemTree &tree, int activeBoard);

// The element texts as the system window shows them. A removed module's
// element keeps its old text in the model until the next rebuild, so an
// empty element is shown by its slot here.
std::vector<std::string> ElementTexts(const SystemTree &tree);

// What a line of the hardware system window stands for.
enum class SystemItemKind {
    None = 0,        // a system, a module in a slot, the bus translator, an empty slot
    Sx400 = 1,       // an SX-400 board (also shown as Lumo or Lumo-Comp)
    OtherBoard = 2,  // any other motherboard
    SxaChannel = 3,  // a camera channel of an SXA board
};

// One line of the hardware system window.
struct SystemListItem {
    int element = -1;
    // The acquisition board the line selects (its position among the tree's
    // boards, BoardElements), or -1 when selecting the line changes nothing.
    int board = -1;
    SystemItemKind kind = SystemItemKind::None;
    std::string text;
};

// Element mode: one item per element, with the texts of ElementModeLines.
std::vector<SystemListItem> ElementModeItems(const SystemTree &tree, int activeBoard);

// Board mode: one item per acquisition board, "%s: %d" with the board's name
// and bus number. An SX-400 is named by the acquisition module in its slot
// ("SX-400" with none, "Lumo-Comp" on a board of hardware revision above
// 35); a camera channel of an SXA board reads "SX-90:%d -chan %d".
std::vector<SystemListItem> BoardModeItems(const SystemTree &tree);

// The acquisition board that selecting the line makes active, or -1.
int BoardOfLine(const std::vector<SystemListItem> &items, int line);
// The first line that stands for the board, or -1.
int LineOfBoard(const std::vector<SystemListItem> &items, int board);

}  // namespace qvi
