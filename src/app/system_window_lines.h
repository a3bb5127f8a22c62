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

// The plain element texts (the no-hardware window).
std::vector<std::string> ElementTexts(const SystemTree &tree);

}  // namespace qvi
