#pragma once

#include <optional>
#include <string>

namespace qvi {

class QV_mod;
class QV_system;

// What a Module Setup dialog edits for one element: the element's module and,
// for an SX-400 board, also the module of the element that follows it (the
// board's acquisition module), whose pages come first.
struct SetupModules {
    QV_mod *module = nullptr;
    QV_mod *second = nullptr;
    int secondIndex = -1;
};

// The modules of element `index`; an element without Module Setup pages is
// reported and gives nothing.
std::optional<SetupModules> SetupModulesOf(const QV_system &system, int index);

// The text after "Module Edit for:  " in the title of element `index`'s
// Module Setup dialog, e.g. "TX-31:0 on DQP:0", "Lumo:0", "Channel:1 on SXA:0".
// Empty for an index without a module.
std::string ModuleDescription(const QV_system &system, int elementIndex);

}  // namespace qvi
